#include "StateImages.h"

#include <QTest>

using namespace Lanvo;

class TestStateImages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void colourAndShape_data();
    void colourAndShape();
    void unknownIndexHasNoImage();
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

QTEST_MAIN(TestStateImages)
#include "tst_stateimages.moc"
