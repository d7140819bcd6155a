#pragma once
// Bitmap files written byte by byte in the layouts programs write and Windows reads: the old OS/2
// header and the Windows 3 to 5 headers, 1 to 32 bits a pixel, bit fields and run-length coding,
// rows bottom-up or top-down. Qt's writer knows one of them only.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QtEndian>

#include <algorithm>
#include <bit>

namespace BitmapSamples {

enum class Header { Os2, Info, V4, V5 };
enum class Coding { Rgb, Rle, BitFields };

struct Layout
{
    Header header = Header::Info;
    int bits = 24;
    Coding coding = Coding::Rgb;
    bool green6 = false;  // 16 bits with bit fields: 5-6-5 rather than 5-5-5
    bool topDown = false; // a negative height
};

// The colours of the sample: every channel 0 or 255, so 5 and 6 bits hold them exactly.
inline QList<QRgb> samplePalette(int bits)
{
    const QList<QRgb> colours = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0),
                                 qRgb(0, 255, 255), qRgb(255, 255, 255)};
    return colours.mid(0, bits == 1 ? 2 : colours.size());
}

// Runs of one colour for run-length coding, single pixels for absolute runs, and a top row unlike
// the bottom one, so a picture shown upside down differs.
inline QImage samplePicture(int bits)
{
    const QList<QRgb> palette = samplePalette(bits);
    const int count = int(palette.size());
    QImage image(11, 5, QImage::Format_Indexed8);
    image.setColorTable(palette);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, uint(x < 5 ? (y == 0 ? 1 : 0) : (x + 2 * y) % count));
    return image;
}

namespace Detail {

inline void put16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

inline void put32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

struct Masks
{
    quint32 red = 0, green = 0, blue = 0, alpha = 0;
};

inline Masks masksOf(const Layout &layout)
{
    if (layout.bits == 16)
        return layout.green6 ? Masks{0xF800, 0x07E0, 0x001F} : Masks{0x7C00, 0x03E0, 0x001F};
    if (layout.bits == 32)
        return {0x00FF0000, 0x0000FF00, 0x000000FF, layout.header >= Header::V4 ? 0xFF000000u : 0u};
    return {};
}

inline quint32 compressionOf(const Layout &layout)
{
    if (layout.coding == Coding::BitFields)
        return 3;
    if (layout.coding == Coding::Rle)
        return layout.bits == 8 ? 1 : 2;
    return 0;
}

inline quint32 headerSize(Header header)
{
    switch (header) {
    case Header::Os2:
        return 12;
    case Header::Info:
        return 40;
    case Header::V4:
        return 108;
    case Header::V5:
        break;
    }
    return 124;
}

// A channel scaled into a mask's bits.
inline quint32 packChannel(int value, quint32 mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const quint32 maximum = mask >> shift;
    return (quint32(value) * maximum / 255) << shift;
}

inline quint32 packPixel(QRgb colour, const Masks &masks)
{
    return packChannel(qRed(colour), masks.red) | packChannel(qGreen(colour), masks.green)
           | packChannel(qBlue(colour), masks.blue) | packChannel(255, masks.alpha);
}

inline QByteArray uncompressedRow(const QImage &image, int y, const Layout &layout)
{
    const int stride = (image.width() * layout.bits + 31) / 32 * 4;
    QByteArray row(stride, '\0');
    const Masks masks = layout.bits == 16 && layout.coding == Coding::Rgb ? Masks{0x7C00, 0x03E0, 0x001F}
                                                                         : masksOf(layout);
    for (int x = 0; x < image.width(); ++x) {
        const uint index = image.pixelIndex(x, y);
        const QRgb colour = image.color(int(index));
        uchar *out = reinterpret_cast<uchar *>(row.data());
        switch (layout.bits) {
        case 1:
        case 4:
        case 8: {
            const int bit = x * layout.bits;
            out[bit / 8] |= uchar(index << (8 - layout.bits - bit % 8));
            break;
        }
        case 16:
            qToLittleEndian(quint16(packPixel(colour, masks)), out + 2 * x);
            break;
        case 24:
            out[3 * x] = uchar(qBlue(colour));
            out[3 * x + 1] = uchar(qGreen(colour));
            out[3 * x + 2] = uchar(qRed(colour));
            break;
        default:
            qToLittleEndian(packPixel(colour, masks), out + 4 * x);
        }
    }
    return row;
}

// One row of RLE8 or RLE4: runs of two or more as coded runs, the rest as absolute runs of at least
// three pixels (shorter ones as runs of one), each absolute run padded to a 16-bit word.
inline QByteArray rleRow(const QImage &image, int y, int bits)
{
    QByteArray out;
    const auto index = [&](int x) { return uchar(image.pixelIndex(x, y)); };
    const auto pair = [bits](uchar value) { return bits == 8 ? value : uchar(value << 4 | value); };
    int x = 0;
    while (x < image.width()) {
        int run = 1;
        while (x + run < image.width() && index(x + run) == index(x))
            ++run;
        if (run >= 2) {
            out.append(char(run)).append(char(pair(index(x))));
            x += run;
            continue;
        }
        int single = 1; // pixels up to the next run of two
        while (x + single < image.width()
               && !(x + single + 1 < image.width() && index(x + single) == index(x + single + 1)))
            ++single;
        if (single < 3) {
            for (int i = 0; i < single; ++i)
                out.append(char(1)).append(char(pair(index(x + i))));
        } else {
            QByteArray absolute;
            for (int i = 0; i < single; ++i) {
                if (bits == 8)
                    absolute.append(char(index(x + i)));
                else if (i % 2 == 0)
                    absolute.append(char(index(x + i) << 4));
                else
                    absolute.back() = char(uchar(absolute.back()) | index(x + i));
            }
            if (absolute.size() % 2)
                absolute.append('\0');
            out.append('\0').append(char(single)).append(absolute);
        }
        x += single;
    }
    return out.append('\0').append('\0'); // end of line
}

inline QByteArray infoHeader(const QImage &image, const Layout &layout, quint32 imageSize, int colours)
{
    QByteArray out;
    put32(out, headerSize(layout.header));
    if (layout.header == Header::Os2) {
        put16(out, quint16(image.width()));
        put16(out, quint16(image.height()));
        put16(out, 1);
        put16(out, quint16(layout.bits));
        return out;
    }
    put32(out, quint32(image.width()));
    put32(out, quint32(layout.topDown ? -image.height() : image.height()));
    put16(out, 1);
    put16(out, quint16(layout.bits));
    put32(out, compressionOf(layout));
    put32(out, imageSize);
    put32(out, 2835); // 72 dots per inch
    put32(out, 2835);
    put32(out, layout.header == Header::Info ? quint32(colours) : 0); // else the whole table
    put32(out, 0);
    if (layout.header == Header::Info)
        return out;
    const Masks masks = masksOf(layout);
    for (const quint32 mask : {masks.red, masks.green, masks.blue, masks.alpha})
        put32(out, mask);
    put32(out, 0x73524742); // sRGB
    out.append(48, '\0');   // end points and gamma, unused for sRGB
    if (layout.header == Header::V5)
        out.append(16, '\0'); // intent, profile and a reserved word
    return out;
}

} // namespace Detail

// The bitmap file of an indexed picture (samplePicture) in the given layout.
inline QByteArray bitmapBytes(const QImage &image, const Layout &layout)
{
    using namespace Detail;
    QByteArray pixels;
    for (int row = 0; row < image.height(); ++row) {
        const int y = layout.topDown ? row : image.height() - 1 - row;
        pixels.append(layout.coding == Coding::Rle ? rleRow(image, y, layout.bits)
                                                   : uncompressedRow(image, y, layout));
    }
    if (layout.coding == Coding::Rle)
        pixels.append('\0').append('\1'); // end of bitmap
    QByteArray table;
    const int colours = layout.bits <= 8 ? (layout.header == Header::Info ? image.colorCount() : 1 << layout.bits) : 0;
    for (int i = 0; i < colours; ++i) {
        const QRgb colour = i < image.colorCount() ? image.color(i) : qRgb(0, 0, 0);
        table.append(char(qBlue(colour))).append(char(qGreen(colour))).append(char(qRed(colour)));
        if (layout.header != Header::Os2)
            table.append('\0');
    }
    QByteArray header = infoHeader(image, layout, quint32(pixels.size()), colours);
    if (layout.header == Header::Info && layout.coding == Coding::BitFields) {
        const Masks masks = masksOf(layout);
        for (const quint32 mask : {masks.red, masks.green, masks.blue})
            put32(header, mask);
    }
    const quint32 offset = quint32(14 + header.size() + table.size());
    QByteArray out("BM");
    put32(out, offset + quint32(pixels.size()));
    put32(out, 0);
    put32(out, offset);
    return out.append(header).append(table).append(pixels);
}

} // namespace BitmapSamples
