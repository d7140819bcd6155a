#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace Lanvo {

// Files are kept byte for byte; for display, valid UTF-8 is UTF-8 and anything else is Windows-1252,
// the code page files carried over from the older system were written in.
QString displayText(QByteArrayView bytes);
bool isAscii(QByteArrayView bytes);

// Text that keeps the bytes it was read from, for values the program writes back or hands on as
// they were (the additional parameters, the BIOS name): valid UTF-8 decodes as such, and every byte
// that is not part of valid UTF-8 is held as one of the code points U+DC80 to U+DCFF, which
// toFileBytes turns back into that byte.
QString fromFileBytes(const QByteArray &bytes);
QByteArray toFileBytes(const QString &text);
// What the user is shown of such a text: displayText of its bytes.
QString displayFileText(const QString &text);
// The text the user typed in place of Shown, which displayed Original: Original when nothing was
// changed, so that its bytes survive an edit dialog that was only confirmed.
QString editedFileText(const QString &original, const QString &shown);

// True when the bytes of a file or folder name come back unchanged through Qt's file-name encoding
// (UTF-8): only such a name can be held in a QString and still reach the same file.
bool holdsFileName(const QByteArray &name);

} // namespace Lanvo
