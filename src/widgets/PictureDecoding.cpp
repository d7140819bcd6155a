#include "PictureDecoding.h"

#include "PictureTruncation.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

namespace Lanvo {

namespace {

// A damaged file can use colour indexes its colour table lacks, which leaves those pixels with no
// defined colour: they become black.
void completeColourTable(QImage &image)
{
    if (image.format() != QImage::Format_Indexed8)
        return;
    int highest = 0;
    for (int y = 0; y < image.height(); ++y) {
        const uchar *row = image.constScanLine(y);
        highest = std::max<int>(highest, *std::max_element(row, row + image.width()));
    }
    QList<QRgb> table = image.colorTable();
    if (highest < table.size())
        return;
    table.resize(highest + 1, qRgb(0, 0, 0));
    image.setColorTable(table);
}

// A bitmap whose alpha mask no pixel uses (every alpha zero) is opaque, as Windows shows it; Qt's
// reader makes it wholly transparent.
void ignoreUnusedAlpha(QImage &image)
{
    if (image.format() != QImage::Format_ARGB32)
        return;
    for (int y = 0; y < image.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        if (std::any_of(row, row + image.width(), [](QRgb pixel) { return qAlpha(pixel) != 0; }))
            return;
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
}

// GIF and bitmap go through Qt's readers, whose allocation limit stays on.
QImage readWithQt(QIODevice &device, const char *format)
{
    QImageReader reader(&device, format);
    reader.setAutoDetectImageFormat(false); // the extension alone chooses the decoder
    // The bitmap reader gives a top-down picture's height as stored: negative.
    const QSize size = reader.size();
    const qint64 height = qAbs(qint64(size.height()));
    if (size.width() <= 0 || height == 0 || size.width() * height > MaxPicturePixels)
        return {};
    QImage image;
    // A run-length coded bitmap may skip pixels, which Qt's reader leaves as the memory held them;
    // Windows shows them in colour 0. The reader fills a picture of the right size and format in place.
    const QImage::Format fill = reader.imageFormat();
    if (qstrcmp(format, "bmp") == 0 && fill != QImage::Format_Invalid) {
        image = QImage(size.width(), int(height), fill);
        image.fill(0);
    }
    if (!reader.read(&image))
        return {};
    completeColourTable(image);
    if (qstrcmp(format, "bmp") == 0)
        ignoreUnusedAlpha(image);
    return image;
}

QImage readWithQt(const QByteArray &bytes, const char *format)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readWithQt(buffer, format);
}

// A file that is a plain file of acceptable size, opened for reading.
bool openPictureFile(QFile &file)
{
    return QFileInfo(file.fileName()).isFile() // a directory or a device is no picture
           && file.open(QIODevice::ReadOnly) && file.size() <= MaxPictureFileBytes;
}

QImage decodeBmp(const QByteArray &bytes)
{
    if (bmpIsTruncated(bytes.left(BmpHeaderBytes), bytes.size()) || bmpRunsAreTruncated(bytes))
        return {};
    return readWithQt(bytes, "bmp");
}

// Uncompressed bitmaps are read straight from the file: they are large and need no copy in memory.
// Run-length coded ones are small, and their runs are checked in memory.
QImage loadBmp(const QString &path)
{
    QFile file(path);
    if (!openPictureFile(file))
        return {};
    const QByteArray header = file.peek(BmpHeaderBytes);
    if (bmpIsRunLengthCoded(header))
        return decodeBmp(file.readAll());
    if (bmpIsTruncated(header, file.size()))
        return {};
    return readWithQt(file, "bmp");
}

QByteArray readWholeFile(const QString &path)
{
    QFile file(path);
    if (!openPictureFile(file))
        return {};
    return file.readAll();
}

} // namespace

PictureFormat pictureFormatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return PictureFormat::Jpeg;
    if (suffix == QLatin1String("gif"))
        return PictureFormat::Gif;
    if (suffix == QLatin1String("bmp"))
        return PictureFormat::Bmp;
    return PictureFormat::Unknown;
}

QImage decodePicture(const QByteArray &bytes, PictureFormat format, const JpegOptions &options,
                     const JpegDecoder::PassHandler &passHandler)
{
    if (bytes.isEmpty())
        return {};
    switch (format) {
    case PictureFormat::Jpeg: {
        JpegDecoder decoder(options);
        decoder.setPassHandler(passHandler);
        return decoder.decode(bytes);
    }
    case PictureFormat::Gif:
        return gifIsTruncated(bytes) ? QImage() : readWithQt(bytes, "gif");
    case PictureFormat::Bmp:
        return decodeBmp(bytes);
    case PictureFormat::Unknown:
        break;
    }
    return {};
}

LoadedPicture loadPictureFile(const QString &path, const JpegOptions &options,
                              const JpegDecoder::PassHandler &passHandler)
{
    const PictureFormat format = pictureFormatOf(path);
    if (format == PictureFormat::Unknown)
        return {};
    if (format == PictureFormat::Bmp)
        return {loadBmp(path), {}};
    QByteArray bytes = readWholeFile(path);
    QImage image = decodePicture(bytes, format, options, passHandler);
    if (image.isNull() || format != PictureFormat::Jpeg)
        bytes.clear();
    return {std::move(image), std::move(bytes)};
}

QImage decodePictureFile(const QString &path, const JpegOptions &options)
{
    return loadPictureFile(path, options).image;
}

} // namespace Lanvo
