#include "PictureTruncation.h"

#include "JpegDecoder.h"

#include <QtEndian>

namespace Lanvo {

namespace {

constexpr quint32 CoreHeaderSize = 12;     // the old header without compression
constexpr qsizetype GifScreenEnd = 13;     // signature and logical screen descriptor
constexpr qsizetype GifImageHeaderSize = 10;

template <typename T>
T readLittle(const QByteArray &bytes, qsizetype offset)
{
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

bool uncompressed(quint32 compression)
{
    constexpr quint32 Rgb = 0, BitFields = 3, AlphaBitFields = 6;
    return compression == Rgb || compression == BitFields || compression == AlphaBitFields;
}

qsizetype colourTableSize(uchar flags)
{
    return (flags & 0x80) ? qsizetype(3) << ((flags & 7) + 1) : 0;
}

// The position just after a chain of data sub-blocks, or past the end when the chain is cut short.
qsizetype skipSubBlocks(const QByteArray &bytes, qsizetype pos)
{
    while (pos < bytes.size()) {
        const int length = uchar(bytes.at(pos));
        pos += 1 + length;
        if (length == 0)
            return pos;
    }
    return bytes.size() + 1;
}

} // namespace

bool bmpIsTruncated(const QByteArray &bytes, qint64 fileSize)
{
    if (bytes.size() < BmpHeaderBytes)
        return false; // no whole header: the reader refuses it itself
    // A header or pixels that would start past the end, whatever the compression: seeking there in a
    // file, the reader finds nothing to read and may still make a blank picture; in memory it cannot
    // seek and reads on from where it is.
    const qint64 pixelsStart = readLittle<quint32>(bytes, 10);
    const qint64 headerEnd = 14 + qint64(readLittle<quint32>(bytes, 14));
    if (pixelsStart >= fileSize || headerEnd > fileSize)
        return true;
    const bool core = readLittle<quint32>(bytes, 14) == CoreHeaderSize;
    const qint64 width = core ? readLittle<quint16>(bytes, 18) : readLittle<qint32>(bytes, 18);
    const qint64 height = core ? readLittle<quint16>(bytes, 20) : readLittle<qint32>(bytes, 22);
    const int bits = core ? readLittle<quint16>(bytes, 24) : readLittle<quint16>(bytes, 28);
    const quint32 compression = core ? 0 : readLittle<quint32>(bytes, 30);
    // Oversized pictures are refused elsewhere; this keeps the arithmetic below from overflowing.
    if (!uncompressed(compression) || qAbs(width) * qAbs(height) > MaxPicturePixels || bits > 64)
        return false;
    const qint64 stride = (qAbs(width) * bits + 31) / 32 * 4;
    return fileSize < pixelsStart + stride * qAbs(height);
}

bool gifIsTruncated(const QByteArray &bytes)
{
    if (bytes.size() < GifScreenEnd)
        return false; // no whole header: the reader refuses it itself
    qsizetype pos = GifScreenEnd + colourTableSize(uchar(bytes.at(10)));
    constexpr uchar Extension = 0x21, ImageSeparator = 0x2C;
    while (pos < bytes.size()) {
        const uchar block = uchar(bytes.at(pos));
        if (block == Extension) {
            pos = skipSubBlocks(bytes, pos + 2); // after the introducer and the label
        } else if (block == ImageSeparator) {
            if (pos + GifImageHeaderSize > bytes.size())
                return true;
            pos += GifImageHeaderSize + colourTableSize(uchar(bytes.at(pos + 9)));
            return skipSubBlocks(bytes, pos + 1) > bytes.size(); // after the LZW code size
        } else {
            return false; // a trailer or a stray byte: the reader decides
        }
    }
    return true;
}

} // namespace Lanvo
