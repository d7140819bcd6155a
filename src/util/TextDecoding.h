#pragma once

#include <QByteArrayView>
#include <QString>

namespace Lanvo {

// Files are kept byte for byte; for display, valid UTF-8 is UTF-8 and anything else is Windows-1252,
// the code page files carried over from the older system were written in.
QString displayText(QByteArrayView bytes);

} // namespace Lanvo
