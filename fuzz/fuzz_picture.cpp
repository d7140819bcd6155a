// Picture loading: the bytes become a ".jpg", a ".gif" and a ".bmp" file and go through the loading
// path of the picture controls, the JPEG with each option that changes how libjpeg decodes. Whatever
// the bytes, nothing may crash; a picture that loads has the format its options ask for, fits the
// pixel cap, and is the same whether it comes from the file or from memory.
#include "FuzzCheck.h"
#include "PictureDecoding.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <vector>

namespace {

using namespace Lanvo;

const QString &scratchDirectory()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        FUZZ_CHECK(dir.isValid());
        return dir.path();
    }();
    return path;
}

QString writeInput(const QByteArray &bytes, const char *extension)
{
    const QString path = scratchDirectory() + QStringLiteral("/input.") + QLatin1String(extension);
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
    return path;
}

std::vector<JpegOptions> jpegVariants()
{
    std::vector<JpegOptions> variants(9);
    variants[1].GrayScale = true;
    variants[2].PixelFormat = jf8Bit;
    variants[3].GrayScale = true;
    variants[3].PixelFormat = jf8Bit;
    variants[4].Scale = jsHalf;
    variants[5].Scale = jsQuarter;
    variants[6].Scale = jsEighth;
    variants[7].Performance = jpBestSpeed;
    variants[7].Smoothing = false;
    variants[8].ProgressiveDisplay = true; // buffered-image mode for progressive files
    variants[8].PixelFormat = jf8Bit;
    return variants;
}

void checkJpegPicture(const QImage &picture, const JpegOptions &options)
{
    if (options.PixelFormat == jf8Bit) {
        FUZZ_CHECK(picture.format() == QImage::Format_Indexed8);
        FUZZ_CHECK(picture.colorCount() > 0 && picture.colorCount() <= 256);
    } else {
        FUZZ_CHECK(picture.format() == (options.GrayScale ? QImage::Format_Grayscale8 : QImage::Format_RGB32));
    }
}

void loadAs(const QByteArray &bytes, const char *extension, const JpegOptions &options)
{
    const QString path = writeInput(bytes, extension);
    const QImage fromFile = decodePictureFile(path, options);
    const QImage fromMemory = decodePicture(bytes, pictureFormatOf(path), options);
    FUZZ_CHECK(fromFile.isNull() == fromMemory.isNull());
    if (fromFile.isNull())
        return;
    FUZZ_CHECK(!fromFile.size().isEmpty());
    FUZZ_CHECK(qint64(fromFile.width()) * fromFile.height() <= MaxPicturePixels);
    FUZZ_CHECK(fromFile == fromMemory);
    if (pictureFormatOf(path) == PictureFormat::Jpeg)
        checkJpegPicture(fromFile, options);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const std::vector<JpegOptions> variants = jpegVariants();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const JpegOptions &options : variants)
        loadAs(bytes, "jpg", options);
    loadAs(bytes, "gif", JpegOptions());
    loadAs(bytes, "bmp", JpegOptions());
    return 0;
}
