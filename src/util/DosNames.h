#pragma once

#include <QString>

namespace Lanvo {

// True when the file starts with the two bytes "MZ" of a DOS executable.
bool isDosProgram(const QString &path);

// True when Name is a valid DOS 8.3 name: one to eight characters, an optional dot and up to three
// more, none of them a blank, a second dot, a character DOS refuses in names or a "%".
bool isDosName(const QString &name);

// The short name the platform would give a long one: up to six valid characters of the base name in
// upper case, "~1", and up to three of the extension ("KING OF FIGHTERS.zip" gives "KINGOF~1.ZIP").
QString shortDosName(const QString &name);

} // namespace Lanvo
