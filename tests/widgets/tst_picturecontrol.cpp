// The picture control: stretching, the default picture, options applied to the JPEG held, failed
// loads keeping what is shown, and what it tells assistive technology.

#include "PictureControl.h"
#include "PictureSamples.h"

#include <QAccessible>
#include <QTemporaryDir>
#include <QtTest>

using namespace Lanvo;
using namespace PictureSamples;

class TestPictureControl : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultPictureIsBuiltIn();
    void pictureIsStretchedToFillTheControl_data();
    void pictureIsStretchedToFillTheControl();
    void enlargedStaysSharpShrunkIsFiltered_data();
    void enlargedStaysSharpShrunkIsFiltered();
    void enlargedPixelsAreRepeatedEvenly();
    void failedLoadKeepsThePreviousPicture_data();
    void failedLoadKeepsThePreviousPicture();
    void optionChangesApplyToTheJpegHeld();
    void progressiveDisplayDrawsEachPass();
    void tellsAssistiveTechnologyWhatItShows();
};

namespace {

// Counts the paints of a widget.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

QImage quadrants()
{
    QImage image(10, 10, QImage::Format_RGB32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            image.setPixel(x, y, x < 5 ? (y < 5 ? qRgb(255, 0, 0) : qRgb(0, 0, 255))
                                       : (y < 5 ? qRgb(0, 255, 0) : qRgb(255, 255, 255)));
    return image;
}

// Picture, as a bitmap file, loaded into a control of LoadedAt and shown at ShownAt; null when it does not load.
QImage shownInControl(const QImage &picture, QSize loadedAt = {320, 226}, QSize shownAt = {320, 226})
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("picture.bmp"));
    TFEJpeg control;
    control.resize(loadedAt);
    if (!writeFile(path, bmpBytes(picture)) || !control.loadFile(path))
        return {};
    control.resize(shownAt);
    return control.grab().toImage();
}

// Black and white rows, one pixel each.
QImage stripes(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, y % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    return image;
}

// Whether every pixel of Image is black or white.
bool onlyBlackAndWhite(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QRgb pixel = image.pixel(x, y) & 0xffffff; pixel != 0 && pixel != 0xffffff)
                return false;
    return true;
}

} // namespace

void TestPictureControl::defaultPictureIsBuiltIn()
{
    TFEJpeg control;
    QVERIFY(control.setDefaultPicture());
    const QImage &picture = control.picture();
    QCOMPARE(picture.size(), QSize(320, 224));
    QVERIFY(picture.colorCount() > 0 && picture.colorCount() <= 16);
    QCOMPARE(picture.pixel(0, 0), qRgb(0, 0, 0)); // on black
    QCOMPARE(control.accessibleDescription(), QStringLiteral("Default picture"));
}

void TestPictureControl::pictureIsStretchedToFillTheControl_data()
{
    QTest::addColumn<QSize>("loadedAt");
    QTest::addColumn<QSize>("shownAt");

    QTest::newRow("as loaded") << QSize(320, 226) << QSize(320, 226);
    QTest::newRow("resized before shown") << QSize(320, 226) << QSize(160, 120);
    QTest::newRow("loaded with no size yet") << QSize(0, 0) << QSize(320, 226);
}

void TestPictureControl::pictureIsStretchedToFillTheControl()
{
    QFETCH(QSize, loadedAt);
    QFETCH(QSize, shownAt);

    const QImage shown = shownInControl(quadrants(), loadedAt, shownAt);
    const int right = shownAt.width() - 1;
    const int bottom = shownAt.height() - 1;
    QCOMPARE(shown.size(), shownAt);
    QCOMPARE(shown.pixel(0, 0), qRgb(255, 0, 0));
    QCOMPARE(shown.pixel(right, 0), qRgb(0, 255, 0));
    QCOMPARE(shown.pixel(0, bottom), qRgb(0, 0, 255));
    QCOMPARE(shown.pixel(right, bottom), qRgb(255, 255, 255));
    // Well inside a quarter: no border, no margin.
    QCOMPARE(shown.pixel(right * 5 / 16, bottom * 4 / 15), qRgb(255, 0, 0));
    QCOMPARE(shown.pixel(right * 11 / 16, bottom * 3 / 4), qRgb(255, 255, 255));
}

void TestPictureControl::enlargedStaysSharpShrunkIsFiltered_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<bool>("sharp");

    QTest::newRow("default picture's size, two rows more") << QSize(320, 224) << true;
    QTest::newRow("enlarged both ways") << QSize(160, 100) << true;
    QTest::newRow("same size") << QSize(320, 226) << true;
    QTest::newRow("shrunk both ways") << QSize(640, 452) << false;
    QTest::newRow("taller, narrower") << QSize(200, 452) << false;
}

void TestPictureControl::enlargedStaysSharpShrunkIsFiltered()
{
    QFETCH(QSize, picture);
    QFETCH(bool, sharp);

    const QImage shown = shownInControl(stripes(picture));
    QCOMPARE(shown.size(), QSize(320, 226));
    QCOMPARE(onlyBlackAndWhite(shown), sharp);
}

// Three columns stretched to 320 pixels: 107, 106 and 107 wide, each pixel taking the column its centre falls in.
void TestPictureControl::enlargedPixelsAreRepeatedEvenly()
{
    QImage columns(3, 1, QImage::Format_RGB32);
    columns.setPixel(0, 0, qRgb(255, 0, 0));
    columns.setPixel(1, 0, qRgb(0, 255, 0));
    columns.setPixel(2, 0, qRgb(0, 0, 255));
    const QImage shown = shownInControl(columns);
    QCOMPARE(shown.size(), QSize(320, 226));
    const QList<QPair<int, QRgb>> expected = {{0, qRgb(255, 0, 0)},   {106, qRgb(255, 0, 0)},
                                              {107, qRgb(0, 255, 0)}, {212, qRgb(0, 255, 0)},
                                              {213, qRgb(0, 0, 255)}, {319, qRgb(0, 0, 255)}};
    for (const auto &[x, colour] : expected) {
        QCOMPARE(shown.pixel(x, 0), colour);
        QCOMPARE(shown.pixel(x, 225), colour);
    }
}

void TestPictureControl::failedLoadKeepsThePreviousPicture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes"); // no file at all when null

    const QByteArray bmp = bmpBytes(colourPicture(40, 30));
    QTest::newRow("missing") << "none.jpg" << QByteArray();
    QTest::newRow("zero-byte jpg") << "a.jpg" << QByteArray("");
    QTest::newRow("pcx") << "a.pcx" << bmp;
    QTest::newRow("gif named jpg") << "a.jpg" << gifBytes(colourPicture(40, 30));
    QTest::newRow("truncated bmp") << "a.bmp" << bmp.left(bmp.size() - 100);
    QTest::newRow("huge jpg") << "a.jpg" << withJpegSize(jpegBytes(colourPicture(40, 30)), 65000, 65000);
}

void TestPictureControl::failedLoadKeepsThePreviousPicture()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);

    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.jpg"));
    QVERIFY(writeFile(good, jpegBytes(quadrants())));
    TFEJpeg control;
    control.resize(320, 226);
    QVERIFY(control.loadFile(good));
    const QImage before = control.grab().toImage();
    const qint64 pictureKey = control.picture().cacheKey();

    const QString path = dir.filePath(name);
    if (!bytes.isNull())
        QVERIFY(writeFile(path, bytes));
    QVERIFY(!control.loadFile(path));
    QCOMPARE(control.picture().cacheKey(), pictureKey);
    QCOMPARE(control.grab().toImage(), before);
    QCOMPARE(control.accessibleDescription(), QStringLiteral("good.jpg"));

    // Options still apply to the JPEG held, not to the file that failed.
    JpegOptions grey;
    grey.GrayScale = true;
    control.setJPEGProperties(grey);
    QCOMPARE(control.picture().size(), QSize(10, 10));
    QCOMPARE(control.picture().format(), QImage::Format_Grayscale8);
}

void TestPictureControl::optionChangesApplyToTheJpegHeld()
{
    QTemporaryDir dir;
    const QString jpeg = dir.filePath(QStringLiteral("a.jpg")), bmp = dir.filePath(QStringLiteral("a.bmp"));
    QVERIFY(writeFile(jpeg, jpegBytes(colourPicture(64, 48))));
    QVERIFY(writeFile(bmp, bmpBytes(colourPicture(64, 48))));
    TFEJpeg control;
    control.resize(320, 226);
    QVERIFY(control.loadFile(jpeg));
    QCOMPARE(control.picture().format(), QImage::Format_RGB32);

    JpegOptions options = control.JPEGProperties();
    QCOMPARE(options, JpegOptions()); // colour, 24 bits, full size, best quality, smoothing
    options.Scale = jsHalf;
    control.setJPEGProperties(options);
    QCOMPARE(control.picture().size(), QSize(32, 24));
    QCOMPARE(control.grab().toImage().size(), QSize(320, 226)); // half size, still stretched to fill
    options.GrayScale = true;
    control.setJPEGProperties(options);
    QCOMPARE(control.picture().format(), QImage::Format_Grayscale8);
    const QImage shown = control.grab().toImage();
    QCOMPARE(qRed(shown.pixel(100, 40)), qGreen(shown.pixel(100, 40))); // drawn grey

    const qint64 key = control.picture().cacheKey();
    options.ProgressiveDisplay = true; // only changes how the next load is drawn
    control.setJPEGProperties(options);
    QCOMPARE(control.picture().cacheKey(), key);
    options.PixelFormat = jf8Bit;
    control.setJPEGProperties(options);
    QCOMPARE(control.picture().format(), QImage::Format_Indexed8);

    QVERIFY(control.loadFile(jpeg)); // a new JPEG gets the options in force
    QCOMPARE(control.picture().size(), QSize(32, 24));
    QVERIFY(control.loadFile(bmp)); // other formats are shown as decoded
    options.Scale = jsEighth;
    control.setJPEGProperties(options);
    QCOMPARE(control.picture().size(), QSize(64, 48));
    QCOMPARE(control.picture().format(), QImage::Format_RGB32);
}

void TestPictureControl::progressiveDisplayDrawsEachPass()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.jpg"));
    const QByteArray progressive = progressiveJpegBytes(colourPicture(64, 48));
    QVERIFY(isProgressiveJpeg(progressive));
    QVERIFY(writeFile(path, progressive));
    TFEJpeg control;
    control.resize(320, 226);
    control.show();
    QVERIFY(QTest::qWaitForWindowExposed(&control));
    PaintCounter counter;
    control.installEventFilter(&counter);

    QVERIFY(control.loadFile(path)); // off: no paint until the event loop runs
    QCOMPARE(counter.paints, 0);
    JpegOptions options;
    options.ProgressiveDisplay = true;
    control.setJPEGProperties(options);
    QVERIFY(control.loadFile(path));
    QVERIFY(counter.paints >= 2);
    QCOMPARE(control.picture(), JpegDecoder(JpegOptions()).decode(progressive)); // ends complete

    // Passes drawn from a file that then turns out cut short leave the picture as it was.
    const QString cut = dir.filePath(QStringLiteral("cut.jpg"));
    QVERIFY(writeFile(cut, progressive.left(progressive.size() * 3 / 4)));
    const int paintsBefore = counter.paints;
    QVERIFY(!control.loadFile(cut));
    QVERIFY(counter.paints > paintsBefore);
    QCOMPARE(control.picture(), JpegDecoder(JpegOptions()).decode(progressive));
    QCOMPARE(control.accessibleDescription(), QStringLiteral("p.jpg"));
}

void TestPictureControl::tellsAssistiveTechnologyWhatItShows()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("aof3.gif"));
    QVERIFY(writeFile(path, gifBytes(quadrants())));
    TFEJpeg control;
    control.resize(320, 226);
    QVERIFY(control.loadFile(path));
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&control);
    QVERIFY(accessible);
    QCOMPARE(accessible->role(), QAccessible::Graphic);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Picture"));
    QCOMPARE(accessible->text(QAccessible::Description), QStringLiteral("aof3.gif"));
    QAccessibleImageInterface *image = accessible->imageInterface();
    QVERIFY(image);
    QCOMPARE(image->imageDescription(), QStringLiteral("aof3.gif"));
    QCOMPARE(image->imageSize(), QSize(320, 226));
}

QTEST_MAIN(TestPictureControl)
#include "tst_picturecontrol.moc"
