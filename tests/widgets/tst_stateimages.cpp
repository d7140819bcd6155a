#include "StateImages.h"

#include <QPainter>
#include <QTest>

using namespace Lanvo;

class TestStateImages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void colourAndShape_data();
    void colourAndShape();
    void unknownIndexHasNoImage();
    void favouriteAddsAStarSharpAtAnyScale();
};

namespace {

bool reddish(const QColor &c)
{
    return c.alpha() > 200 && c.red() > 150 && c.green() < 80;
}

bool greenish(const QColor &c)
{
    return c.alpha() > 200 && c.green() > 120 && c.red() < 80;
}

// Opaque pixels per column: a triangle pointing right narrows from its left edge to its tip.
QList<int> columnHeights(const QImage &image, int fromX, int toX)
{
    QList<int> heights;
    for (int x = fromX; x <= toX; ++x) {
        int height = 0;
        for (int y = 0; y < image.height(); ++y)
            height += image.pixelColor(x, y).alpha() > 128;
        heights << height;
    }
    return heights;
}

int count(const QImage &image, bool (*test)(const QColor &), int fromX = 0, int toX = 15)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = fromX; x <= toX; ++x)
            n += test(image.pixelColor(x, y));
    }
    return n;
}

bool golden(const QColor &c)
{
    return c.alpha() > 200 && c.red() > 180 && c.green() > 120 && c.blue() < 80;
}

// The favourite icon of State painted as a list paints it, on a screen of Scale device pixels per pixel.
QImage paintedFavourite(int state, int scale)
{
    QImage image(FavouriteIconSize * scale, QImage::Format_ARGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    favouriteStateIcon(state).paint(&painter, QRect(QPoint(), FavouriteIconSize));
    painter.end();
    return image;
}

// Among the star's pixels, how many are edge pixels (partly covered) for one fully covered.
double starEdgeShare(const QImage &image)
{
    int edge = 0;
    int full = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = image.width() * 16 / 28; x < image.width(); ++x) {
            const int alpha = image.pixelColor(x, y).alpha();
            edge += alpha > 0 && alpha < 255;
            full += alpha == 255;
        }
    }
    return full > 0 ? double(edge) / full : 1e9;
}

} // namespace

void TestStateImages::colourAndShape_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("red");
    QTest::addColumn<bool>("zipped");
    QTest::addColumn<QString>("text");
    QTest::newRow("missing") << 0 << true << false << "missing";
    QTest::newRow("directory") << 1 << false << false << "available";
    QTest::newRow("zip") << 2 << false << true << "available, zipped";
}

void TestStateImages::colourAndShape()
{
    QFETCH(int, index);
    QFETCH(bool, red);
    QFETCH(bool, zipped);
    QFETCH(QString, text);
    const QImage image = stateImage(index).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), QSize(16, 16));
    QCOMPARE(count(image, reddish) > 20, red);
    QCOMPARE(count(image, greenish) > 20, !red);
    QCOMPARE(count(image, red ? greenish : reddish), 0);
    // The triangle takes the right part; with a zip the Z stands left of it in the same green.
    const int triangleLeft = zipped ? 8 : 5;
    const QList<int> heights = columnHeights(image, triangleLeft, triangleLeft + 7);
    QVERIFY2(heights.first() >= 9 && heights.last() <= 3, qPrintable(QString::number(heights.first())));
    QVERIFY(std::is_sorted(heights.rbegin(), heights.rend()));
    QCOMPARE(count(image, greenish, 0, 3) > 6, zipped);
    QCOMPARE(stateImageText(index), text);
}

void TestStateImages::unknownIndexHasNoImage()
{
    QVERIFY(stateImage(-1).isNull());
    QVERIFY(stateImage(3).isNull());
    QCOMPARE(stateImageText(3), QString());
}

// The state picture keeps its colour and a gold star follows it; drawn as shapes, the star's edge takes
// a smaller share of it as the scale grows, where a stretched bitmap would blur in proportion.
void TestStateImages::favouriteAddsAStarSharpAtAnyScale()
{
    double previousEdge = 0;
    for (const int scale : {1, 2, 3}) {
        const QImage image = paintedFavourite(0, scale);
        const int side = 16 * scale;
        QVERIFY2(count(image, reddish, 0, side - 1) > 20 * scale * scale, qPrintable(QString::number(scale)));
        QCOMPARE(count(image, golden, 0, side - 1), 0);
        QVERIFY(count(image, golden, side, image.width() - 1) > 20 * scale * scale);
        QCOMPARE(count(image, reddish, side, image.width() - 1), 0);
        const double edge = starEdgeShare(image);
        if (scale > 1)
            QVERIFY2(edge < previousEdge * 0.8, qPrintable(QStringLiteral("%1 then %2").arg(previousEdge).arg(edge)));
        previousEdge = edge;
    }
    QVERIFY(count(paintedFavourite(2, 1), greenish) > 20);
    QVERIFY(favouriteStateIcon(StateImageCount).isNull());
}

QTEST_MAIN(TestStateImages)
#include "tst_stateimages.moc"
