#pragma once
// JPEG files written with libjpeg's own encoder in the colour spaces and codings other programs
// use: grey, YCbCr, RGB, CMYK as plain or as Adobe's inverted ink amounts, YCCK; Huffman or
// arithmetic coding, baseline or progressive.

#include <QByteArray>
#include <QImage>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio> // jpeglib.h uses FILE and size_t without including their headers
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace JpegSamples {

enum class Colours { Grey, YCbCr, Rgb, Cmyk, AdobeCmyk, Ycck };

struct Coding
{
    bool progressive = false;
    bool arithmetic = false;
};

// The ink amounts (0 none, 255 full) that print a colour, with as much black as the colour allows.
inline std::array<int, 4> inksOf(QRgb colour)
{
    const int black = 255 - std::max({qRed(colour), qGreen(colour), qBlue(colour)});
    const auto ink = [black](int light) { return black == 255 ? 0 : (255 - light - black) * 255 / (255 - black); };
    return {ink(qRed(colour)), ink(qGreen(colour)), ink(qBlue(colour)), black};
}

namespace Detail {

struct Errors
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] inline void jumpBack(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<Errors *>(info->err)->jump, 1);
}

// The picture's rows as the encoder takes them.
inline std::vector<JSAMPLE> samplesOf(const QImage &picture, Colours colours)
{
    std::vector<JSAMPLE> samples;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb colour = picture.pixel(x, y);
            if (colours == Colours::Grey) {
                samples.push_back(JSAMPLE(qGray(colour)));
            } else if (colours == Colours::YCbCr || colours == Colours::Rgb) {
                samples.insert(samples.end(), {JSAMPLE(qRed(colour)), JSAMPLE(qGreen(colour)), JSAMPLE(qBlue(colour))});
            } else {
                const bool inverted = colours != Colours::Cmyk;
                for (const int ink : inksOf(colour))
                    samples.push_back(JSAMPLE(inverted ? 255 - ink : ink));
            }
        }
    return samples;
}

inline void describe(jpeg_compress_struct &info, const QImage &picture, Colours colours, Coding coding)
{
    info.image_width = JDIMENSION(picture.width());
    info.image_height = JDIMENSION(picture.height());
    info.input_components = colours == Colours::Grey ? 1 : colours == Colours::YCbCr || colours == Colours::Rgb ? 3 : 4;
    info.in_color_space = colours == Colours::Grey ? JCS_GRAYSCALE : info.input_components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (colours == Colours::Rgb)
        jpeg_set_colorspace(&info, JCS_RGB);
    if (colours == Colours::Ycck)
        jpeg_set_colorspace(&info, JCS_YCCK);
    if (colours == Colours::Cmyk)
        info.write_Adobe_marker = FALSE; // libjpeg marks CMYK as Adobe's unless told not to
    info.arith_code = coding.arithmetic ? TRUE : FALSE;
    if (coding.progressive)
        jpeg_simple_progression(&info);
}

struct Compressor
{
    jpeg_compress_struct info{};
    Errors errors{};
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    ~Compressor()
    {
        jpeg_destroy_compress(&info);
        std::free(buffer);
    }
};

inline bool compress(Compressor &c, const QImage &picture, Colours colours, Coding coding,
                     std::vector<JSAMPLE> &samples)
{
    if (setjmp(c.errors.jump))
        return false;
    jpeg_create_compress(&c.info);
    jpeg_mem_dest(&c.info, &c.buffer, &c.size);
    describe(c.info, picture, colours, coding);
    jpeg_start_compress(&c.info, TRUE);
    const size_t stride = size_t(picture.width()) * size_t(c.info.input_components);
    while (c.info.next_scanline < c.info.image_height) {
        JSAMPROW row = samples.data() + c.info.next_scanline * stride;
        jpeg_write_scanlines(&c.info, &row, 1);
    }
    jpeg_finish_compress(&c.info);
    return true;
}

} // namespace Detail

// The picture as a JPEG file, or nothing when libjpeg refuses (a coding it was built without).
inline QByteArray jpegFile(const QImage &picture, Colours colours, Coding coding = {})
{
    Detail::Compressor compressor;
    compressor.info.err = jpeg_std_error(&compressor.errors.pub);
    compressor.errors.pub.error_exit = Detail::jumpBack;
    std::vector<JSAMPLE> samples = Detail::samplesOf(picture, colours);
    if (!Detail::compress(compressor, picture, colours, coding, samples))
        return {};
    return QByteArray(reinterpret_cast<const char *>(compressor.buffer), qsizetype(compressor.size));
}

} // namespace JpegSamples
