#include "ArrowBitmaps.h"

#include <QTest>

using namespace Lanvo;

class TestArrowBitmaps : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sizeFollowsTextHeight_data();
    void sizeFollowsTextHeight();
    void picturesPixelByPixel_data();
    void picturesPixelByPixel();
    void reverseSwapsPictures();
    void linesExcludeTheirEndAndClip();
};

namespace {

const ArrowColours Colours{QColor(0xC0, 0xC0, 0xC0), QColor(0x80, 0x80, 0x80), QColor(0xFF, 0xFF, 0xFF)};

// One character per pixel: "." face, "S" shadow, "H" highlight.
QStringList grid(const QImage &image)
{
    QStringList rows;
    for (int y = 0; y < image.height(); ++y) {
        QString line;
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            line += colour == Colours.Shadow ? QLatin1Char('S') : colour == Colours.Highlight ? QLatin1Char('H') : colour == Colours.Face ? QLatin1Char('.') : QLatin1Char('?');
        }
        rows << line;
    }
    return rows;
}

// Derived by hand for s = 10, half = 5, lines rounding their minor axis half away from the start.
const QStringList Down10 = {
    "HHHHHHHHHS",
    ".H.......S",
    ".H......S.",
    "..H.....S.",
    "..H....S..",
    "...H...S..",
    "...H..S...",
    "....H.S...",
    "....HS....",
    "..........",
};

const QStringList Up10 = {
    "..........",
    "....HS....",
    "...H..S...",
    "...H..S...",
    "..H....S..",
    "..H....S..",
    ".H......S.",
    ".H......S.",
    "H........S",
    "SSSSSSSSSS",
};

// s = 2, half = 1: the lines are empty and only the single pixels are set.
const QStringList Down2 = {"HS", ".."};
const QStringList Up2 = {"..", "SS"};

} // namespace

void TestArrowBitmaps::sizeFollowsTextHeight_data()
{
    QTest::addColumn<int>("textHeight");
    QTest::addColumn<int>("size");
    QTest::newRow("even") << 16 << 10;
    QTest::newRow("odd rounds up") << 15 << 10;
    QTest::newRow("smallest arrow") << 7 << 2;
    QTest::newRow("six pixels: none") << 6 << 0;
    QTest::newRow("tiny font: none") << 3 << 0;
}

void TestArrowBitmaps::sizeFollowsTextHeight()
{
    QFETCH(int, textHeight);
    QFETCH(int, size);
    QCOMPARE(arrowSize(textHeight), size);
    const ArrowBitmaps arrows = MakeArrowBitmaps(textHeight, Colours, false);
    QCOMPARE(arrows.Ascending.size(), size ? QSize(size, size) : QSize(0, 0));
    QCOMPARE(arrows.Descending.isNull(), size == 0);
}

void TestArrowBitmaps::picturesPixelByPixel_data()
{
    QTest::addColumn<int>("textHeight");
    QTest::addColumn<QStringList>("up");
    QTest::addColumn<QStringList>("down");
    QTest::newRow("s = 10") << 16 << Up10 << Down10;
    QTest::newRow("s = 9 drawn as 10") << 15 << Up10 << Down10;
    QTest::newRow("s = 2") << 8 << Up2 << Down2;
}

void TestArrowBitmaps::picturesPixelByPixel()
{
    QFETCH(int, textHeight);
    QFETCH(QStringList, up);
    QFETCH(QStringList, down);
    const ArrowBitmaps arrows = MakeArrowBitmaps(textHeight, Colours, false);
    QCOMPARE(grid(arrows.Ascending), up);
    QCOMPARE(grid(arrows.Descending), down);
}

void TestArrowBitmaps::reverseSwapsPictures()
{
    const ArrowBitmaps arrows = MakeArrowBitmaps(16, Colours, true);
    QCOMPARE(grid(arrows.Ascending), Down10);
    QCOMPARE(grid(arrows.Descending), Up10);
}

void TestArrowBitmaps::linesExcludeTheirEndAndClip()
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Colours.Face);
    drawLineExcludingEnd(image, {3, 2}, {-3, 2}, Colours.Shadow); // runs off the left edge
    drawLineExcludingEnd(image, {0, 0}, {3, 1}, Colours.Highlight);
    drawLineExcludingEnd(image, {2, 1}, {2, 1}, Colours.Shadow); // empty: start is the end
    QCOMPARE(grid(image), QStringList({"HH..", "..H.", "SSSS"}));
}

QTEST_MAIN(TestArrowBitmaps)
#include "tst_arrowbitmaps.moc"
