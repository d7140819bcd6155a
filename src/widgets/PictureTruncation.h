#pragma once

#include <QByteArray>

namespace Lanvo {

// Qt's readers show a cut-short GIF or bitmap with its missing part blank and report success; a
// truncated picture must fail to load like any damaged one. Both checks look at the file's own
// structure only and leave everything else (a bad header, bad data) to the reader.

// The start of a bitmap file that tells whether its pixel rows are all there.
inline constexpr qsizetype BmpHeaderBytes = 34;

// A bitmap of FileSize bytes whose header or pixels would start past its end, or, uncompressed, whose
// pixel rows end before its header says they do. Header holds the file's first bytes, up to BmpHeaderBytes.
bool bmpIsTruncated(const QByteArray &header, qint64 fileSize);

// A bitmap whose pixels are RLE8 or RLE4 coded. Header holds the file's first bytes.
bool bmpIsRunLengthCoded(const QByteArray &header);

// A run-length coded bitmap whose runs end before its end mark or its last row; Bytes holds the
// whole file. False for any other bitmap.
bool bmpRunsAreTruncated(const QByteArray &bytes);

// A GIF whose first picture (the one shown) ends before its data blocks do.
bool gifIsTruncated(const QByteArray &bytes);

} // namespace Lanvo
