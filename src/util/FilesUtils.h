#pragma once

#include <QByteArray>
#include <QString>

class QSaveFile;

namespace Lanvo {

// Paths are held with "/" and without a trailing separator (except the root "/").

// A configured path may come from a file written on another system: "\" is read as "/".
QString toPlatformSeparators(const QString &path);

// Makes Path absolute against Base, resolving "." and "..", without a trailing separator; a relative
// Path is read with "\" as a separator, an absolute one and Base are taken as they are.
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
// Copies Source onto Destination itself, as CopyFileTo does. A folder of that name is in the way,
// not a place to copy into: the copy fails with the create error and nothing is written.
void CopyFileOnto(const QString &source, const QString &destination);

// Replaces the file's content atomically; throws "Impossible de créer le fichier <path>" on failure.
void writeFileAtomically(const QString &path, const QByteArray &content);

// A cap no real games file reaches, which still keeps a runaway file from taking all memory.
inline constexpr qint64 LargeFileCap = qint64(256) * 1024 * 1024;

// Reads a whole regular file; throws "Impossible d'ouvrir le fichier <path>" when it can't be opened
// or read or is no regular file, and a message naming the cap when it is larger.
QByteArray readWholeFile(const QString &path, qint64 maxSize = LargeFileCap);

// Opens a save file so that a write error (a full disk) shows at the write, never only at commit.
bool openSaveFile(QSaveFile &file);
// Commits a save file; false (and nothing replaced, no temporary left) when a write failed.
bool commitSaveFile(QSaveFile &file);
// Replaces Path with Content atomically; false when it failed and the old file is whole.
bool saveAtomically(const QString &path, const QByteArray &content);
// Deletes and renames that the program makes; a rename never replaces an existing file.
bool removeFile(const QString &path);
bool renameFile(const QString &from, const QString &to);

// Test seam: while an object of this class lives, the Nth file operation of its kind fails (counted
// from 1). Unused, it costs one pointer test per operation; nothing in the program creates one.
enum class FileOperation { Write, Rename, Delete };
class FileFaultInjection
{
public:
    FileFaultInjection(FileOperation operation, int failingCall);
    ~FileFaultInjection();
    FileFaultInjection(const FileFaultInjection &) = delete;
    FileFaultInjection &operator=(const FileFaultInjection &) = delete;

    int calls() const { return m_calls; } // operations of the kind seen so far
    static bool failsNow(FileOperation operation);

private:
    FileOperation m_operation;
    int m_failingCall;
    int m_calls = 0;
};

QString openErrorText(const QString &path);
QString createErrorText(const QString &path);

} // namespace Lanvo
