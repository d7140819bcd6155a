#include "JpegDecoder.h"

#include <QSysInfo>

#include <algorithm>
#include <csetjmp>
#include <cstdio> // jpeglib.h uses FILE and size_t without including their headers

#include <jerror.h>
#include <jpeglib.h>

namespace Lanvo {

namespace {

// No encoder writes more scans than this; a hostile file with thousands of tiny scans would keep
// the decoder busy for minutes.
constexpr int MaxScans = 100;
constexpr int RowBatch = 16;

struct ErrorManager
{
    jpeg_error_mgr pub; // first member: libjpeg only sees this part
    std::jmp_buf jump;
};

// libjpeg's default error handler ends the process; ours returns to runDecompression's setjmp.
[[noreturn]] void jumpBack(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

// A premature end of data is only a warning to libjpeg, which then shows grey where the file is
// missing; a truncated picture is a failed load here. Other warnings (stray bytes, damaged data
// that still decodes) are tolerated, as other viewers do.
void onMessage(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        jumpBack(info);
}

void silentOutput(j_common_ptr)
{
}

void limitScans(j_common_ptr info)
{
    if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > MaxScans)
        jumpBack(info);
}

// One libjpeg decompressor and its error and progress managers, destroyed however decoding ends.
struct Decompressor
{
    Decompressor()
    {
        info.err = jpeg_std_error(&errors.pub);
        errors.pub.error_exit = jumpBack;
        errors.pub.emit_message = onMessage;
        errors.pub.output_message = silentOutput;
        progress.progress_monitor = limitScans;
    }
    ~Decompressor() { jpeg_destroy_decompress(&info); }
    Decompressor(const Decompressor &) = delete;
    Decompressor &operator=(const Decompressor &) = delete;

    jpeg_decompress_struct info{};
    ErrorManager errors{};
    jpeg_progress_mgr progress{};
};

// Everything the libjpeg steps read or fill. It lives in the caller of runDecompression, so it is
// intact after a long jump; the steps themselves keep no object that needs destroying.
struct Job
{
    Decompressor &decompressor;
    const QByteArray &bytes;
    const JpegOptions &options;
    const qint64 maxPixels;
    const JpegDecoder::PassHandler &passHandler;
    QImage picture;
    bool inks = false; // a CMYK or YCCK file, decoded to ink amounts and turned into RGB here
};

// libjpeg turns YCCK into CMYK but neither into RGB.
bool holdsInks(const jpeg_decompress_struct &info)
{
    return info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
}

bool readHeader(Job &job)
{
    jpeg_decompress_struct &info = job.decompressor.info;
    jpeg_create_decompress(&info);
    info.progress = &job.decompressor.progress; // creation clears it
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(job.bytes.constData()),
                 static_cast<unsigned long>(job.bytes.size()));
    jpeg_read_header(&info, TRUE);
    const qint64 pixels = qint64(info.image_width) * qint64(info.image_height);
    return pixels > 0 && pixels <= job.maxPixels;
}

unsigned int scaleDenominator(TJPEGScale scale)
{
    switch (scale) {
    case jsHalf:
        return 2;
    case jsQuarter:
        return 4;
    case jsEighth:
        return 8;
    case jsFullSize:
        break;
    }
    return 1;
}

J_COLOR_SPACE colourOutput(const JpegOptions &options)
{
    if (options.GrayScale)
        return JCS_GRAYSCALE;
    if (options.PixelFormat == jf8Bit)
        return JCS_RGB; // the quantiser's colour map is plain RGB
    // Straight into the byte order of QImage::Format_RGB32, alpha set to opaque by libjpeg.
    return QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRA : JCS_EXT_ARGB;
}

void applyOptions(jpeg_decompress_struct &info, const JpegOptions &options, bool inks)
{
    info.out_color_space = inks ? JCS_CMYK : colourOutput(options);
    // The quantiser needs three colour components; ink pictures are reduced once they are RGB.
    info.quantize_colors = options.PixelFormat == jf8Bit && !inks ? TRUE : FALSE;
    info.desired_number_of_colors = 256;
    const bool fast = options.Performance == jpBestSpeed;
    info.dct_method = fast ? JDCT_IFAST : JDCT_ISLOW;
    info.do_fancy_upsampling = fast ? FALSE : TRUE;
    info.scale_num = 1;
    info.scale_denom = scaleDenominator(options.Scale);
    info.do_block_smoothing = options.Smoothing ? TRUE : FALSE;
    info.buffered_image = options.ProgressiveDisplay && jpeg_has_multiple_scans(&info) ? TRUE : FALSE;
}

QImage::Format imageFormat(const JpegOptions &options, bool inks)
{
    if (inks)
        return QImage::Format_RGB32; // four bytes a pixel, as the ink amounts come

    if (options.PixelFormat == jf8Bit)
        return QImage::Format_Indexed8;
    return options.GrayScale ? QImage::Format_Grayscale8 : QImage::Format_RGB32;
}

bool allocatePicture(Job &job)
{
    const jpeg_decompress_struct &info = job.decompressor.info;
    job.picture = QImage(int(info.output_width), int(info.output_height), imageFormat(job.options, job.inks));
    return !job.picture.isNull();
}

// The quantiser chooses its colour map per output pass.
void takeColourMap(Job &job)
{
    const jpeg_decompress_struct &info = job.decompressor.info;
    if (!info.quantize_colors)
        return;
    QList<QRgb> table(info.actual_number_of_colors);
    for (int i = 0; i < info.actual_number_of_colors; ++i) {
        const int red = info.colormap[0][i];
        table[i] = info.out_color_components == 1 ? qRgb(red, red, red)
                                                  : qRgb(red, info.colormap[1][i], info.colormap[2][i]);
    }
    job.picture.setColorTable(table);
}

// Each ink takes away its share of the light. Adobe's files store the amounts inverted, 255 for
// no ink, and libjpeg hands them over as stored.
void inksToRgb(QImage &picture, bool inverted)
{
    const auto light = [inverted](uchar ink) { return inverted ? int(ink) : 255 - ink; };
    for (int y = 0; y < picture.height(); ++y) {
        uchar *pixel = picture.scanLine(y);
        for (int x = 0; x < picture.width(); ++x, pixel += 4) {
            const int cyan = light(pixel[0]), magenta = light(pixel[1]), yellow = light(pixel[2]);
            const int black = light(pixel[3]);
            *reinterpret_cast<QRgb *>(pixel) = qRgb((cyan * black + 127) / 255, (magenta * black + 127) / 255,
                                                    (yellow * black + 127) / 255);
        }
    }
}

// An ink picture, once RGB, in the form the options ask for.
QImage inOptionsFormat(const QImage &rgb, const JpegOptions &options)
{
    const QImage shaded = options.GrayScale ? rgb.convertToFormat(QImage::Format_Grayscale8) : rgb;
    return options.PixelFormat == jf8Bit ? shaded.convertToFormat(QImage::Format_Indexed8) : shaded;
}

// The picture as decoded so far, in the form the options ask for.
QImage shownPicture(const Job &job)
{
    return job.inks ? inOptionsFormat(job.picture, job.options) : job.picture;
}

void readRows(Job &job)
{
    jpeg_decompress_struct &info = job.decompressor.info;
    JSAMPROW rows[RowBatch];
    while (info.output_scanline < info.output_height) {
        const int count = int(std::min<JDIMENSION>(RowBatch, info.output_height - info.output_scanline));
        for (int i = 0; i < count; ++i)
            rows[i] = job.picture.scanLine(int(info.output_scanline) + i);
        jpeg_read_scanlines(&info, rows, JDIMENSION(count));
    }
    if (job.inks)
        inksToRgb(job.picture, info.saw_Adobe_marker);
}

// Buffered-image mode: one output pass per scan received, each shown as it completes.
void readProgressively(Job &job)
{
    jpeg_decompress_struct &info = job.decompressor.info;
    for (;;) {
        jpeg_start_output(&info, info.input_scan_number);
        takeColourMap(job);
        readRows(job);
        jpeg_finish_output(&info);
        if (jpeg_input_complete(&info))
            return;
        if (job.passHandler)
            job.passHandler(shownPicture(job));
    }
}

// Every libjpeg call that may jump back. No local variable lives here: after the jump only the
// caller's objects are used, and the caller only destroys the decompressor.
bool runDecompression(Job &job)
{
    if (setjmp(job.decompressor.errors.jump))
        return false;
    if (!readHeader(job))
        return false;
    job.inks = holdsInks(job.decompressor.info);
    applyOptions(job.decompressor.info, job.options, job.inks);
    jpeg_start_decompress(&job.decompressor.info);
    if (!allocatePicture(job))
        return false;
    if (job.decompressor.info.buffered_image) {
        readProgressively(job);
    } else {
        takeColourMap(job);
        readRows(job);
    }
    jpeg_finish_decompress(&job.decompressor.info);
    return true;
}

} // namespace

JpegDecoder::JpegDecoder(const JpegOptions &options)
    : m_options(options)
{
}

QImage JpegDecoder::decode(const QByteArray &bytes) const
{
    if (bytes.isEmpty())
        return {};
    Decompressor decompressor;
    Job job{decompressor, bytes, m_options, m_maxPixels, m_passHandler, QImage()};
    if (!runDecompression(job))
        return {};
    return shownPicture(job);
}

} // namespace Lanvo
