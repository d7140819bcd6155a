#pragma once

#include "JpegDecoder.h"

#include <QString>

namespace Lanvo {

enum class PictureFormat { Unknown, Jpeg, Gif, Bmp };

// Larger files are not even read.
inline constexpr qint64 MaxPictureFileBytes = 256 * 1024 * 1024;

// The decoder is chosen by the file's extension, letter case ignored: "jpg" and "jpeg", "gif", "bmp".
// Anything else, ".pcx" included, has none.
PictureFormat pictureFormatOf(const QString &path);

// The picture, or a null image when the bytes are not a whole picture of that format or it has
// more than MaxPicturePixels pixels. JPEG pictures follow the options; PassHandler receives the
// intermediate passes of a progressive JPEG while ProgressiveDisplay is on.
QImage decodePicture(const QByteArray &bytes, PictureFormat format, const JpegOptions &options,
                     const JpegDecoder::PassHandler &passHandler = {});

struct LoadedPicture
{
    QImage image;         // null when the file could not be loaded
    QByteArray jpegBytes; // the file's contents when it is a JPEG, to decode it again later
};

// Loads a picture file as decodePicture decodes its contents. Missing, unreadable or too large
// files fail like damaged ones.
LoadedPicture loadPictureFile(const QString &path, const JpegOptions &options,
                              const JpegDecoder::PassHandler &passHandler = {});

// The whole loading path of a picture control, without the control.
QImage decodePictureFile(const QString &path, const JpegOptions &options);

} // namespace Lanvo
