// Pictures in every layout other programs write: each is written as a file, loaded the way the
// picture controls load it, and must show its colours; half of it must show nothing.

#include "BitmapSamples.h"
#include "JpegSamples.h"
#include "PictureDecoding.h"
#include "PictureSamples.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Lanvo;

class TestPictureDecoding : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyLayoutShowsItsColours_data();
    void everyLayoutShowsItsColours();
    void shortBitmapFailsFromFileAndMemory_data();
    void shortBitmapFailsFromFileAndMemory();
};

namespace {

using BitmapSamples::Coding;
using BitmapSamples::Header;
using BitmapSamples::Layout;
using JpegSamples::Colours;

// Solid blocks, two rows of four, large enough that JPEG's colour subsampling keeps their centres.
QImage blockPicture()
{
    const QList<QRgb> colours = {qRgb(230, 20, 20), qRgb(20, 200, 40), qRgb(30, 40, 220), qRgb(240, 220, 30),
                                 qRgb(40, 40, 40),  qRgb(20, 210, 220), qRgb(200, 30, 190), qRgb(250, 140, 20)};
    QImage image(64, 32, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, colours[y / 16 * 4 + x / 16]);
    return image;
}

QImage greyOf(const QImage &picture)
{
    QImage grey = picture;
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x) {
            const int value = qGray(grey.pixel(x, y));
            grey.setPixel(x, y, qRgb(value, value, value));
        }
    return grey;
}

QList<QPoint> everyPixel(const QImage &picture)
{
    QList<QPoint> points;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            points.append(QPoint(x, y));
    return points;
}

QList<QPoint> blockCentres()
{
    QList<QPoint> points;
    for (int y = 8; y < 32; y += 16)
        for (int x = 8; x < 64; x += 16)
            points.append(QPoint(x, y));
    return points;
}

int channelDistance(QRgb a, QRgb b)
{
    return std::max({qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))});
}

void addBitmap(const QByteArray &name, const Layout &layout)
{
    const QImage picture = BitmapSamples::samplePicture(layout.bits);
    const QImage expected = picture.convertToFormat(QImage::Format_RGB32);
    // Qt widens 5 and 6 bits by shifting: full intensity shows as 248 or 252.
    const int tolerance = layout.bits == 16 ? 7 : 0;
    QTest::newRow(name.constData()) << QStringLiteral("a.bmp") << BitmapSamples::bitmapBytes(picture, layout) << expected
                        << everyPixel(expected) << tolerance;
}

void addJpeg(const char *name, Colours colours, JpegSamples::Coding coding = {})
{
    const QImage picture = blockPicture();
    const QByteArray bytes = JpegSamples::jpegFile(picture, colours, coding);
    QVERIFY2(!bytes.isEmpty(), name); // libjpeg writes every coding it reads
    QTest::newRow(name) << QStringLiteral("a.jpg") << bytes << (colours == Colours::Grey ? greyOf(picture) : picture)
                        << blockCentres() << 10;
}

} // namespace

void TestPictureDecoding::everyLayoutShowsItsColours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QImage>("expected");
    QTest::addColumn<QList<QPoint>>("points");
    QTest::addColumn<int>("tolerance");

    addBitmap("OS/2 1 bit", {Header::Os2, 1});
    addBitmap("OS/2 4 bits", {Header::Os2, 4});
    addBitmap("OS/2 8 bits", {Header::Os2, 8});
    addBitmap("OS/2 24 bits", {Header::Os2, 24});
    for (const bool topDown : {false, true}) {
        const auto row = [topDown](const char *name) { return name + QByteArray(topDown ? " top-down" : " bottom-up"); };
        addBitmap(row("1 bit"), {Header::Info, 1, Coding::Rgb, false, topDown});
        addBitmap(row("4 bits"), {Header::Info, 4, Coding::Rgb, false, topDown});
        addBitmap(row("8 bits"), {Header::Info, 8, Coding::Rgb, false, topDown});
        addBitmap(row("16 bits"), {Header::Info, 16, Coding::Rgb, false, topDown});
        addBitmap(row("16 bits 5-5-5 fields"), {Header::Info, 16, Coding::BitFields, false, topDown});
        addBitmap(row("16 bits 5-6-5 fields"), {Header::Info, 16, Coding::BitFields, true, topDown});
        addBitmap(row("24 bits"), {Header::Info, 24, Coding::Rgb, false, topDown});
        addBitmap(row("32 bits"), {Header::Info, 32, Coding::Rgb, false, topDown});
        addBitmap(row("32 bits fields"), {Header::Info, 32, Coding::BitFields, false, topDown});
        addBitmap(row("V4 8 bits"), {Header::V4, 8, Coding::Rgb, false, topDown});
        addBitmap(row("V4 16 bits 5-6-5"), {Header::V4, 16, Coding::BitFields, true, topDown});
        addBitmap(row("V5 24 bits"), {Header::V5, 24, Coding::Rgb, false, topDown});
        addBitmap(row("V5 32 bits with alpha"), {Header::V5, 32, Coding::BitFields, false, topDown});
    }
    addBitmap("RLE8", {Header::Info, 8, Coding::Rle});
    addBitmap("RLE4", {Header::Info, 4, Coding::Rle});
    addBitmap("V5 RLE8", {Header::V5, 8, Coding::Rle});
    addBitmap("V4 RLE4", {Header::V4, 4, Coding::Rle});
    // The alpha mask is there but no pixel uses it: Windows shows the colours.
    QByteArray unusedAlpha = BitmapSamples::bitmapBytes(BitmapSamples::samplePicture(32), {Header::V5, 32, Coding::BitFields});
    for (qsizetype at = qFromLittleEndian<quint32>(unusedAlpha.constData() + 10) + 3; at < unusedAlpha.size(); at += 4)
        unusedAlpha[at] = 0;
    const QImage sample = BitmapSamples::samplePicture(32).convertToFormat(QImage::Format_RGB32);
    QTest::newRow("V5 32 bits, alpha all zero") << QStringLiteral("a.bmp") << unusedAlpha << sample << everyPixel(sample) << 0;

    addJpeg("JPEG baseline", Colours::YCbCr);
    addJpeg("JPEG progressive", Colours::YCbCr, {true, false});
    addJpeg("JPEG arithmetic", Colours::YCbCr, {false, true});
    addJpeg("JPEG arithmetic progressive", Colours::YCbCr, {true, true});
    addJpeg("JPEG grey", Colours::Grey);
    addJpeg("JPEG grey progressive", Colours::Grey, {true, false});
    addJpeg("JPEG RGB", Colours::Rgb);
    addJpeg("JPEG CMYK", Colours::Cmyk);
    addJpeg("JPEG Adobe CMYK", Colours::AdobeCmyk);
    addJpeg("JPEG Adobe CMYK progressive", Colours::AdobeCmyk, {true, false});
    addJpeg("JPEG YCCK", Colours::Ycck);
    addJpeg("JPEG YCCK arithmetic", Colours::Ycck, {false, true});
}

void TestPictureDecoding::everyLayoutShowsItsColours()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QImage, expected);
    QFETCH(QList<QPoint>, points);
    QFETCH(int, tolerance);

    QTemporaryDir dir;
    const QString path = dir.filePath(name), half = dir.filePath(QStringLiteral("half-") + name);
    QVERIFY(PictureSamples::writeFile(path, bytes));
    QVERIFY(PictureSamples::writeFile(half, bytes.left(bytes.size() / 2)));

    const QImage shown = decodePictureFile(path, JpegOptions());
    QCOMPARE(shown.size(), expected.size());
    for (const QPoint &point : points) {
        const QRgb got = shown.pixel(point), want = expected.pixel(point);
        QVERIFY2(channelDistance(got, want) <= tolerance && qAlpha(got) == 255,
                 qPrintable(QStringLiteral("at %1,%2: %3 for %4").arg(point.x()).arg(point.y())
                                .arg(got, 6, 16).arg(want, 6, 16)));
    }
    QVERIFY(decodePictureFile(half, JpegOptions()).isNull());
}

// A bitmap whose header or pixels would start past its end: a file can seek there and a buffer
// cannot, so the reader would make different pictures of the same bytes. Both must refuse it.
void TestPictureDecoding::shortBitmapFailsFromFileAndMemory_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray os2 = BitmapSamples::bitmapBytes(BitmapSamples::samplePicture(1), {Header::Os2, 1});
    const auto withOffset = [](QByteArray bytes, int offset, quint32 value) {
        qToLittleEndian(value, bytes.data() + offset);
        return bytes;
    };
    QTest::newRow("OS/2, pixels start past the end") << withOffset(os2, 10, quint32(os2.size()));
    QTest::newRow("29 bytes, no whole header, pixels start past the end")
        << QByteArray::fromBase64("Qk00AAAAAAAAACAA7AAAAAAACwAFAQEAAQBAAAA=");
}

void TestPictureDecoding::shortBitmapFailsFromFileAndMemory()
{
    QFETCH(QByteArray, bytes);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.bmp"));
    QVERIFY(PictureSamples::writeFile(path, bytes));
    QVERIFY(decodePictureFile(path, JpegOptions()).isNull());
    QVERIFY(decodePicture(bytes, PictureFormat::Bmp, JpegOptions()).isNull());
}

QTEST_APPLESS_MAIN(TestPictureDecoding)
#include "tst_picturedecoding.moc"
