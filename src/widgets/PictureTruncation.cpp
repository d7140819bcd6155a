#include "PictureTruncation.h"

#include "JpegDecoder.h"

#include <QtEndian>

namespace Lanvo {

namespace {

constexpr qsizetype FileHeaderSize = 14;
constexpr quint32 CoreHeaderSize = 12;     // the old header without compression
constexpr qsizetype CoreHeaderEnd = FileHeaderSize + 12;
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

constexpr quint32 Rle8 = 1, Rle4 = 2;

quint32 bmpCompression(const QByteArray &header)
{
    if (header.size() < BmpHeaderBytes || readLittle<quint32>(header, 14) == CoreHeaderSize)
        return 0;
    return readLittle<quint32>(header, 30);
}

// The bytes an absolute run of Count pixels takes, padded to a 16-bit word.
qsizetype absoluteRunBytes(int count, quint32 compression)
{
    const qsizetype bytes = compression == Rle8 ? count : (count + 1) / 2;
    return (bytes + 1) / 2 * 2;
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
    // A header or pixels that would start past the end, whatever the compression and however short
    // the file: seeking there in a file, the reader finds nothing to read and may still make a blank
    // picture; in memory it cannot seek and reads on from where it is.
    if (bytes.size() < FileHeaderSize)
        return false; // no file header: the reader refuses it itself
    if (readLittle<quint32>(bytes, 10) >= fileSize)
        return true;
    if (bytes.size() < FileHeaderSize + 4)
        return false;
    const quint32 headerSize = readLittle<quint32>(bytes, 14);
    if (FileHeaderSize + qint64(headerSize) > fileSize)
        return true;
    const bool core = headerSize == CoreHeaderSize;
    if (bytes.size() < (core ? CoreHeaderEnd : BmpHeaderBytes))
        return false; // the reader refuses a header it cannot read whole
    const qint64 pixelsStart = readLittle<quint32>(bytes, 10);
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

bool bmpIsRunLengthCoded(const QByteArray &header)
{
    const quint32 compression = bmpCompression(header);
    return compression == Rle8 || compression == Rle4;
}

bool bmpRunsAreTruncated(const QByteArray &bytes)
{
    if (!bmpIsRunLengthCoded(bytes.left(BmpHeaderBytes)))
        return false;
    const qint64 rows = qAbs(qint64(readLittle<qint32>(bytes, 22)));
    const quint32 compression = bmpCompression(bytes);
    qint64 pos = readLittle<quint32>(bytes, 10), row = 0;
    constexpr uchar EndOfLine = 0, EndOfBitmap = 1, Delta = 2;
    while (row < rows) {
        if (pos + 2 > bytes.size())
            return true;
        const uchar count = uchar(bytes.at(pos)), code = uchar(bytes.at(pos + 1));
        pos += 2;
        if (count > 0) // a coded run
            continue;
        if (code == EndOfBitmap)
            return false;
        if (code == EndOfLine) {
            ++row;
        } else if (code == Delta) {
            if (pos + 2 > bytes.size())
                return true;
            row += uchar(bytes.at(pos + 1));
            pos += 2;
        } else {
            pos += absoluteRunBytes(code, compression);
        }
    }
    return pos > bytes.size();
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
