#pragma once

#include <QString>

namespace Lanvo {

// The emulator's own files are named by a DOS program, or copied from a DOS or Windows medium, so
// their letter case is anyone's guess ("CORVANE.EXE", "Shots/SHOT1.BMP"). These look-ups find an
// entry of a directory whatever its case; the exact spelling wins when several differ only in case.

// The path on disk of Name in Dir, of any type; empty when there is none.
QString existingAnyCase(const QString &dir, const QString &name);

struct DirectoryListing;

// The same answer from a listing of Dir read before, which must be Complete.
QString existingAnyCase(const QString &dir, const DirectoryListing &listing, const QString &name);

// The path on disk of Name in Dir when one exists in any case, else Dir joined with Name as given
// (the name a new file gets).
QString pathAnyCase(const QString &dir, const QString &name);

} // namespace Lanvo
