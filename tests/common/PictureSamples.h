#pragma once
// Pictures made on the spot for the picture tests and the picture benchmark: no sample files.

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QtEndian>

namespace PictureSamples {

// Smooth colour gradients with a sharp red block: enough detail for the JPEG options to show.
inline QImage colourPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 255 - x * 255 / width));
    for (int y = height / 4; y < height / 2; ++y)
        for (int x = width / 4; x < width / 2; ++x)
            image.setPixel(x, y, qRgb(230, 20, 20));
    return image;
}

inline QByteArray encoded(const QImage &image, const char *format, int quality = -1, bool progressive = false)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(image) ? buffer.data() : QByteArray();
}

inline QByteArray jpegBytes(const QImage &image, int quality = 90)
{
    return encoded(image, "jpg", quality);
}

inline QByteArray bmpBytes(const QImage &image)
{
    return encoded(image, "bmp");
}

// A 4x4 bitmap of one colour, as a picture file a window can load.
inline QByteArray solidBitmap(QRgb colour)
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(colour);
    return bmpBytes(image);
}

// A progressive JPEG from the library's own encoder when it is installed, else from Qt's writer.
inline QByteArray progressiveJpegBytes(const QImage &image)
{
    const QString cjpeg = QStandardPaths::findExecutable(QStringLiteral("cjpeg"));
    if (!cjpeg.isEmpty()) {
        QProcess process;
        process.start(cjpeg, {QStringLiteral("-progressive"), QStringLiteral("-quality"), QStringLiteral("90")});
        process.write(encoded(image, "ppm"));
        process.closeWriteChannel();
        if (process.waitForFinished(30000) && process.exitCode() == 0)
            return process.readAllStandardOutput();
    }
    return encoded(image, "jpg", 90, true);
}

// Qt reads GIF but cannot write it. This writes each pixel as its own LZW code and starts the code
// table afresh before it would grow past 9 bits: large files, but valid ones.
inline QByteArray gifBytes(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    QByteArray out("GIF89a");
    const auto put16 = [&out](int value) {
        out.append(char(value & 0xff));
        out.append(char(value >> 8));
    };
    put16(image.width());
    put16(image.height());
    out.append(char(0xF7)); // a global table of 256 colours
    out.append(2, '\0');
    for (int i = 0; i < 256; ++i) {
        const QRgb colour = i < image.colorCount() ? image.color(i) : 0;
        out.append(char(qRed(colour)));
        out.append(char(qGreen(colour)));
        out.append(char(qBlue(colour)));
    }
    out.append(char(0x2C));
    put16(0);
    put16(0);
    put16(image.width());
    put16(image.height());
    out.append('\0');
    out.append(char(8)); // LZW minimum code size
    QByteArray codes;
    quint32 pending = 0;
    int pendingBits = 0;
    const auto putCode = [&](int code) {
        pending |= quint32(code) << pendingBits;
        for (pendingBits += 9; pendingBits >= 8; pendingBits -= 8, pending >>= 8)
            codes.append(char(pending & 0xff));
    };
    constexpr int Clear = 256, End = 257, CodesPerTable = 250;
    int run = 0;
    putCode(Clear);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x, ++run) {
            if (run == CodesPerTable) {
                putCode(Clear);
                run = 0;
            }
            putCode(image.constScanLine(y)[x]);
        }
    putCode(End);
    if (pendingBits > 0)
        codes.append(char(pending & 0xff));
    for (qsizetype i = 0; i < codes.size(); i += 255) {
        const QByteArray block = codes.mid(i, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append('\0');
    out.append(char(0x3B));
    return out;
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The same file claiming other dimensions: a JPEG's frame header, a GIF's screen and picture, a
// bitmap's header.
inline QByteArray withJpegSize(QByteArray jpeg, quint16 width, quint16 height)
{
    for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
        if (uchar(jpeg.at(i)) == 0xFF && (uchar(jpeg.at(i + 1)) == 0xC0 || uchar(jpeg.at(i + 1)) == 0xC2)) {
            qToBigEndian<quint16>(height, jpeg.data() + i + 5);
            qToBigEndian<quint16>(width, jpeg.data() + i + 7);
            break;
        }
    }
    return jpeg;
}

inline QByteArray withGifSize(QByteArray gif, quint16 width, quint16 height)
{
    const qsizetype image = 13 + 3 * 256;
    for (const qsizetype at : {qsizetype(6), image + 5}) {
        qToLittleEndian<quint16>(width, gif.data() + at);
        qToLittleEndian<quint16>(height, gif.data() + at + 2);
    }
    return gif;
}

inline QByteArray withBmpSize(QByteArray bmp, qint32 width, qint32 height)
{
    qToLittleEndian<qint32>(width, bmp.data() + 18);
    qToLittleEndian<qint32>(height, bmp.data() + 22);
    return bmp;
}

inline bool isProgressiveJpeg(const QByteArray &jpeg)
{
    return jpeg.contains(QByteArray::fromHex("FFC2"));
}

} // namespace PictureSamples
