#pragma once

#include <QByteArray>
#include <QImage>

#include <functional>

namespace Lanvo {

enum TJPEGPixelFormat { jf24Bit, jf8Bit };
enum TJPEGPerformance { jpBestQuality, jpBestSpeed };
enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };

// The JPEG decoding options a picture control applies to every JPEG picture put into it.
struct JpegOptions
{
    bool GrayScale = false;
    TJPEGPixelFormat PixelFormat = jf24Bit;
    bool ProgressiveDisplay = false;
    TJPEGPerformance Performance = jpBestQuality;
    TJPEGScale Scale = jsFullSize;
    bool Smoothing = true;

    bool operator==(const JpegOptions &) const = default;
};

// Pictures with more pixels than this are refused once their header is read, before any decoding,
// so a hostile header cannot make us allocate gigabytes.
inline constexpr qint64 MaxPicturePixels = 40'000'000;

// Decodes JPEG file contents with libjpeg. A damaged, truncated or oversized picture gives a null
// image; libjpeg's errors never end the process.
class JpegDecoder
{
public:
    // Receives each intermediate picture of a progressive file while ProgressiveDisplay is on.
    using PassHandler = std::function<void(const QImage &)>;

    explicit JpegDecoder(const JpegOptions &options);

    void setMaxPixels(qint64 maxPixels) { m_maxPixels = maxPixels; }
    void setPassHandler(PassHandler handler) { m_passHandler = std::move(handler); }

    // 24-bit: Format_RGB32; GrayScale: Format_Grayscale8; jf8Bit: Format_Indexed8 (any grey or colour).
    QImage decode(const QByteArray &bytes) const;

private:
    JpegOptions m_options;
    qint64 m_maxPixels = MaxPicturePixels;
    PassHandler m_passHandler;
};

} // namespace Lanvo
