#pragma once

#include <QByteArray>
#include <QString>

namespace Lanvo {

// Paths are held with "/" and without a trailing separator (except the root "/").

// A configured path may come from a file written on another system: "\" is read as "/".
QString toPlatformSeparators(const QString &path);

// Makes Path absolute against Base, resolving "." and "..", without a trailing separator.
// When Base is not an existing directory the process's current directory stands in for it.
QString ExpandPath(const QString &path, const QString &base);

// Joins a directory and a fixed name of the program's own (never a name read from a file).
QString joinPath(const QString &dir, const QString &name);

// Joins a directory and a name that comes from a file (ROM set, zip entry, BIOS file name).
// Refuses, with a LanvoError, a name that is empty, ".", "..", or holds a separator or a drive.
QString containedPath(const QString &dir, const QString &nameFromFile);
// True when containedPath would accept the name.
bool isPlainFileName(const QString &name);

bool fileExists(const QString &path);      // an existing file, not a directory
bool directoryExists(const QString &path); // an existing directory

// Copies Source to Destination (into it, under the source's name, when Destination is a directory).
// The copy is written beside the destination and renamed over it, so a failure leaves an existing
// destination whole. Errors: "Impossible d'ouvrir le fichier <source>" and
// "Impossible de créer le fichier <destination>".
void CopyFileTo(const QString &source, const QString &destination);

// Replaces the file's content atomically; throws "Impossible de créer le fichier <path>" on failure.
void writeFileAtomically(const QString &path, const QByteArray &content);

// Reads a whole file; throws "Impossible d'ouvrir le fichier <path>" when it can't be opened or read.
QByteArray readWholeFile(const QString &path);

QString openErrorText(const QString &path);
QString createErrorText(const QString &path);

} // namespace Lanvo
