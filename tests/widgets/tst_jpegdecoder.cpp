// The decoding path of the picture controls: the JPEG options, the choice of decoder by extension,
// and damaged or hostile files of each format, which must fail to load and never crash.

#include "BitmapSamples.h"
#include "JpegDecoder.h"
#include "JpegSamples.h"
#include "PictureDecoding.h"
#include "PictureSamples.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Lanvo;
using namespace PictureSamples;

class TestJpegDecoder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void optionsShapeTheDecodedPicture_data();
    void optionsShapeTheDecodedPicture();
    void speedAndQualityDecodeDifferently();
    void progressiveDisplayDeliversPasses();
    void smoothingSoftensEarlyPasses();
    void decodesOnlyWholeFilesMatchingTheirExtension_data();
    void decodesOnlyWholeFilesMatchingTheirExtension();
    void everyTruncationFails_data();
    void everyTruncationFails();
    void pixelCapRefusesLargerPictures();
    void coloursMissingFromTheTableAreBlack();

private:
    QImage m_source = colourPicture(64, 48);
    QByteArray m_jpeg;
    QByteArray m_progressive;
    QByteArray m_inks; // Adobe's inverted CMYK, progressive
};

namespace {

// Mean absolute difference per channel between two pictures of the same size.
double difference(const QImage &a, const QImage &b)
{
    const QImage left = a.convertToFormat(QImage::Format_RGB32), right = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int y = 0; y < left.height(); ++y)
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y), q = right.pixel(x, y);
            sum += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * left.width() * left.height());
}

bool allGrey(const QImage &image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = rgb.pixel(x, y);
            if (qRed(p) != qGreen(p) || qGreen(p) != qBlue(p))
                return false;
        }
    return true;
}

QList<QImage> passesOf(const QByteArray &jpeg, const JpegOptions &options, QImage *final)
{
    QList<QImage> passes;
    JpegDecoder decoder(options);
    decoder.setPassHandler([&passes](const QImage &pass) { passes.append(pass.copy()); });
    *final = decoder.decode(jpeg);
    return passes;
}

} // namespace

void TestJpegDecoder::initTestCase()
{
    m_jpeg = jpegBytes(m_source);
    m_progressive = progressiveJpegBytes(m_source);
    m_inks = JpegSamples::jpegFile(m_source, JpegSamples::Colours::AdobeCmyk, {true, false});
    QVERIFY(isProgressiveJpeg(m_inks));
    QVERIFY(!m_jpeg.isEmpty());
    QVERIFY(isProgressiveJpeg(m_progressive));
    QVERIFY(!isProgressiveJpeg(m_jpeg));
}

void TestJpegDecoder::optionsShapeTheDecodedPicture_data()
{
    QTest::addColumn<JpegOptions>("options");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QImage::Format>("format");
    QTest::addColumn<bool>("grey");
    QTest::addColumn<double>("tolerance"); // against the source, scaled alike

    JpegOptions grey, palette, greyPalette, half, quarter, eighth;
    grey.GrayScale = true;
    palette.PixelFormat = jf8Bit;
    greyPalette.GrayScale = true;
    greyPalette.PixelFormat = jf8Bit;
    half.Scale = jsHalf;
    quarter.Scale = jsQuarter;
    eighth.Scale = jsEighth;
    QTest::newRow("defaults") << JpegOptions() << QSize(64, 48) << QImage::Format_RGB32 << false << 4.0;
    QTest::newRow("grey") << grey << QSize(64, 48) << QImage::Format_Grayscale8 << true << 0.0;
    QTest::newRow("8 bit") << palette << QSize(64, 48) << QImage::Format_Indexed8 << false << 8.0;
    QTest::newRow("grey 8 bit") << greyPalette << QSize(64, 48) << QImage::Format_Indexed8 << true << 0.0;
    QTest::newRow("half") << half << QSize(32, 24) << QImage::Format_RGB32 << false << 6.0;
    QTest::newRow("quarter") << quarter << QSize(16, 12) << QImage::Format_RGB32 << false << 10.0;
    QTest::newRow("eighth") << eighth << QSize(8, 6) << QImage::Format_RGB32 << false << 16.0;
}

void TestJpegDecoder::optionsShapeTheDecodedPicture()
{
    QFETCH(JpegOptions, options);
    QFETCH(QSize, size);
    QFETCH(QImage::Format, format);
    QFETCH(bool, grey);
    QFETCH(double, tolerance);

    for (const QByteArray &jpeg : {m_jpeg, m_progressive, m_inks}) {
        const QImage picture = JpegDecoder(options).decode(jpeg);
        QCOMPARE(picture.size(), size);
        QCOMPARE(picture.format(), format);
        QCOMPARE(allGrey(picture), grey);
        if (format == QImage::Format_Indexed8)
            QVERIFY(picture.colorCount() > 16 && picture.colorCount() <= 256);
        if (grey)
            continue;
        // The colours survive: red block, gradients.
        const double off = difference(picture, m_source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        // Ink pictures get 256 colours from a fixed colour cube, dithered, not from a chosen palette.
        const double allowed = jpeg == m_inks && format == QImage::Format_Indexed8 ? 20.0 : tolerance;
        QVERIFY2(off <= allowed, qPrintable(QString::number(off)));
    }
}

void TestJpegDecoder::speedAndQualityDecodeDifferently()
{
    JpegOptions speed;
    speed.Performance = jpBestSpeed;
    const QImage fast = JpegDecoder(speed).decode(m_jpeg);
    const QImage best = JpegDecoder(JpegOptions()).decode(m_jpeg);
    QCOMPARE(fast.size(), best.size());
    QVERIFY(fast != best); // plain upsampling and the fast transform leave their marks
    QVERIFY(difference(fast, m_source) < 6.0);
}

void TestJpegDecoder::progressiveDisplayDeliversPasses()
{
    JpegOptions progressive;
    progressive.ProgressiveDisplay = true;
    QImage final;
    for (const QByteArray &jpeg : {m_progressive, m_inks}) {
        const QList<QImage> passes = passesOf(jpeg, progressive, &final);
        QVERIFY(passes.size() >= 2);
        QCOMPARE(final, JpegDecoder(JpegOptions()).decode(jpeg));
        QVERIFY(difference(passes.first(), final) > difference(passes.last(), final)); // each pass refines
        QVERIFY(difference(passes.last(), m_source) < 8.0); // in colour as shown, not in ink amounts
    }

    QVERIFY(passesOf(m_progressive, JpegOptions(), &final).isEmpty()); // off: shown once complete
    QVERIFY(!final.isNull());
    QVERIFY(passesOf(m_jpeg, progressive, &final).isEmpty()); // a baseline file has one pass
    QVERIFY(!final.isNull());

    progressive.PixelFormat = jf8Bit; // the quantiser chooses a colour map for every pass
    QVERIFY(!passesOf(m_progressive, progressive, &final).first().colorTable().isEmpty());
    QCOMPARE(final.format(), QImage::Format_Indexed8);
}

void TestJpegDecoder::smoothingSoftensEarlyPasses()
{
    JpegOptions smooth, blocky;
    smooth.ProgressiveDisplay = blocky.ProgressiveDisplay = true;
    blocky.Smoothing = false;
    QImage final;
    const QImage softFirst = passesOf(m_progressive, smooth, &final).first();
    const QImage blockyFirst = passesOf(m_progressive, blocky, &final).first();
    QVERIFY(softFirst != blockyFirst);
    QVERIFY(difference(softFirst, m_source) < difference(blockyFirst, m_source));
}

void TestJpegDecoder::decodesOnlyWholeFilesMatchingTheirExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("decodes");

    const QByteArray gif = gifBytes(m_source), bmp = bmpBytes(m_source);
    QTest::newRow("jpg") << "a.jpg" << m_jpeg << true;
    QTest::newRow("JPEG, capitals") << "a.JPEG" << m_jpeg << true;
    QTest::newRow("progressive jpg") << "a.jpg" << m_progressive << true;
    QTest::newRow("gif") << "a.gif" << gif << true;
    QTest::newRow("Gif, capitals") << "a.Gif" << gif << true;
    QTest::newRow("bmp") << "a.bmp" << bmp << true;

    QTest::newRow("gif named jpg") << "a.jpg" << gif << false;
    QTest::newRow("jpg named gif") << "a.gif" << m_jpeg << false;
    QTest::newRow("gif named bmp") << "a.bmp" << gif << false;
    QTest::newRow("bmp named pcx") << "a.pcx" << bmp << false;
    QTest::newRow("jpg named PCX") << "a.PCX" << m_jpeg << false;
    QTest::newRow("jpg named png") << "a.png" << m_jpeg << false;
    QTest::newRow("jpg without extension") << "a" << m_jpeg << false;

    for (const auto &[extension, whole] : {std::pair{"jpg", m_jpeg}, {"gif", gif}, {"bmp", bmp}}) {
        const QString name = QStringLiteral("a.") + QLatin1String(extension);
        QTest::addRow("%s zero bytes", extension) << name << QByteArray() << false;
        QTest::addRow("%s header only", extension) << name << whole.left(20) << false;
        QTest::addRow("%s half", extension) << name << whole.left(whole.size() / 2) << false;
        QTest::addRow("%s garbage", extension) << name << QByteArray(500, '\x5a') << false;
    }
    QByteArray jpegDamaged = m_jpeg, gifDamaged = gif, bmpDamaged = bmp;
    jpegDamaged[jpegDamaged.indexOf(QByteArray::fromHex("FFC0")) + 4] = 12; // unsupported precision
    gifDamaged[13 + 3 * 256 + 10] = 15;                                      // LZW code size
    bmpDamaged[28] = 7;                                                      // bits per pixel
    QTest::newRow("jpg damaged frame header") << "a.jpg" << jpegDamaged << false;
    QTest::newRow("gif damaged code size") << "a.gif" << gifDamaged << false;
    QTest::newRow("bmp damaged depth") << "a.bmp" << bmpDamaged << false;
    // Where a reader seeking on a file finds nothing, one reading from memory must not read on.
    const QByteArray palette = bmpBytes(m_source.convertToFormat(QImage::Format_Indexed8));
    QByteArray bmpLongHeader = palette, bmpPixelsPastEnd = palette;
    qToLittleEndian<quint32>(0x00464946, bmpLongHeader.data() + 14);    // header size
    qToLittleEndian<quint32>(0x4a1000e0, bmpPixelsPastEnd.data() + 10); // where the pixels start
    qToLittleEndian<quint32>(1, bmpPixelsPastEnd.data() + 30);          // run-length encoded
    QTest::newRow("bmp header longer than the file") << "a.bmp" << bmpLongHeader << false;
    QTest::newRow("bmp compressed pixels past its end") << "a.bmp" << bmpPixelsPastEnd << false;

    // Huge declared dimensions are refused from the header, before anything is allocated.
    QTest::newRow("jpg 60000 square") << "a.jpg" << withJpegSize(m_jpeg, 60000, 60000) << false;
    QTest::newRow("progressive jpg 65500 by 700") << "a.jpg" << withJpegSize(m_progressive, 65500, 700) << false;
    QTest::newRow("gif 65535 square") << "a.gif" << withGifSize(gif, 65535, 65535) << false;
    QTest::newRow("gif 6400 square") << "a.gif" << withGifSize(gif, 6400, 6400) << false; // 41 Mpx
    QTest::newRow("bmp 30000 square") << "a.bmp" << withBmpSize(bmp, 30000, 30000) << false;
    QTest::newRow("bmp 2^31 wide") << "a.bmp" << withBmpSize(bmp, 0x7fffffff, 2) << false;
}

void TestJpegDecoder::decodesOnlyWholeFilesMatchingTheirExtension()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, decodes);

    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QVERIFY(writeFile(path, bytes));
    for (const JpegOptions &options : {JpegOptions(), JpegOptions{true, jf8Bit, true, jpBestSpeed, jsEighth, false}}) {
        const QImage picture = decodePictureFile(path, options);
        QCOMPARE(!picture.isNull(), decodes);
        QCOMPARE(!decodePicture(bytes, pictureFormatOf(path), options).isNull(), decodes); // from memory
        if (decodes && pictureFormatOf(path) != PictureFormat::Jpeg) // only JPEG follows the options
            QCOMPARE(picture.size(), m_source.size());
    }
}

void TestJpegDecoder::everyTruncationFails_data()
{
    QTest::addColumn<PictureFormat>("format");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("whole"); // the shortest length that holds the whole picture
    QTest::addColumn<QSize>("size");

    using namespace BitmapSamples;
    const QByteArray gif = gifBytes(m_source), bmp = bmpBytes(m_source);
    const QSize size = m_source.size(), sample = samplePicture(8).size();
    const QByteArray topDown = bitmapBytes(samplePicture(24), {Header::Info, 24, Coding::Rgb, false, true});
    const QByteArray rle8 = bitmapBytes(samplePicture(8), {Header::Info, 8, Coding::Rle});
    const QByteArray rle4 = bitmapBytes(samplePicture(4), {Header::V5, 4, Coding::Rle});
    const QByteArray inks = JpegSamples::jpegFile(m_source, JpegSamples::Colours::Ycck, {true, true});
    QTest::newRow("jpg") << PictureFormat::Jpeg << m_jpeg << int(m_jpeg.size()) << size;
    QTest::newRow("progressive jpg") << PictureFormat::Jpeg << m_progressive << int(m_progressive.size()) << size;
    QTest::newRow("YCCK arithmetic progressive jpg") << PictureFormat::Jpeg << inks << int(inks.size()) << size;
    QTest::newRow("gif") << PictureFormat::Gif << gif << int(gif.size() - 1) << size; // trailer
    QTest::newRow("bmp") << PictureFormat::Bmp << bmp << int(bmp.size()) << size;
    QTest::newRow("top-down bmp") << PictureFormat::Bmp << topDown << int(topDown.size()) << sample;
    // Whole once the last row has ended, with or without the end mark.
    QTest::newRow("RLE8 bmp") << PictureFormat::Bmp << rle8 << int(rle8.size() - 2) << sample;
    QTest::newRow("RLE4 bmp") << PictureFormat::Bmp << rle4 << int(rle4.size() - 2) << sample;
}

void TestJpegDecoder::everyTruncationFails()
{
    QFETCH(PictureFormat, format);
    QFETCH(QByteArray, bytes);
    QFETCH(int, whole);
    QFETCH(QSize, size);

    for (int length = 0; length < whole; ++length)
        QVERIFY2(decodePicture(bytes.left(length), format, JpegOptions()).isNull(),
                 qPrintable(QStringLiteral("cut at %1 of %2").arg(length).arg(bytes.size())));
    for (const int length : {whole, int(bytes.size())}) // a GIF may lack its closing trailer
        QCOMPARE(decodePicture(bytes.left(length), format, JpegOptions()).size(), size);
}

void TestJpegDecoder::pixelCapRefusesLargerPictures()
{
    const qint64 pixels = qint64(m_source.width()) * m_source.height();
    for (const QByteArray &jpeg : {m_jpeg, m_progressive}) {
        JpegDecoder decoder{JpegOptions()};
        decoder.setMaxPixels(pixels);
        QVERIFY(!decoder.decode(jpeg).isNull());
        decoder.setMaxPixels(pixels - 1);
        QVERIFY(decoder.decode(jpeg).isNull());
    }
}

void TestJpegDecoder::coloursMissingFromTheTableAreBlack()
{
    QImage indexed(4, 2, QImage::Format_Indexed8);
    QList<QRgb> table(20, qRgb(255, 0, 0)); // over 16 colours: written with a byte per pixel
    table[1] = qRgb(0, 255, 0);
    indexed.setColorTable(table);
    indexed.fill(1);
    QByteArray bmp = bmpBytes(indexed);
    bmp[bmp.size() - 1] = char(200); // the top row comes last, 4 bytes wide with no padding
    const QImage picture = decodePicture(bmp, PictureFormat::Bmp, JpegOptions());
    QCOMPARE(picture.pixel(0, 0), qRgb(0, 255, 0));
    QCOMPARE(picture.pixel(3, 0), qRgb(0, 0, 0));
}

QTEST_APPLESS_MAIN(TestJpegDecoder)
#include "tst_jpegdecoder.moc"
