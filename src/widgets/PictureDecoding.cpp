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

// GIF and bitmap go through Qt's readers, whose allocation limit stays on.
QImage readWithQt(QIODevice &device, const char *format)
{
    QImageReader reader(&device, format);
    reader.setAutoDetectImageFormat(false); // the extension alone chooses the decoder
    const QSize size = reader.size();
    if (!size.isValid() || qint64(size.width()) * size.height() > MaxPicturePixels)
        return {};
    QImage image;
    if (!reader.read(&image))
        return {};
    completeColourTable(image);
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

// Bitmaps are read straight from the file: they are large and need no copy in memory.
QImage loadBmp(const QString &path)
{
    QFile file(path);
    if (!openPictureFile(file) || bmpIsTruncated(file.peek(BmpHeaderBytes), file.size()))
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
        return bmpIsTruncated(bytes.left(BmpHeaderBytes), bytes.size()) ? QImage() : readWithQt(bytes, "bmp");
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
