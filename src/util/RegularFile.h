#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

class QFile;

namespace Lanvo {

// Files the program reads are opened only when they are regular files (a link to one is fine): a FIFO,
// a device, a socket or a directory is refused without ever waiting on it, and a read stops at a cap.

enum class RegularFileStatus {
    Read,       // Bytes holds the whole file
    Missing,    // no such file, a dangling link, or no permission
    NotRegular, // a FIFO, device, socket or directory
    TooLarge,   // more than the cap
    Failed,     // a read error
};

struct RegularFileRead
{
    RegularFileStatus Status = RegularFileStatus::Missing;
    QByteArray Bytes;

    bool ok() const { return Status == RegularFileStatus::Read; }
};

// Reads the whole file when it is a regular file of at most MaxSize bytes.
RegularFileRead readRegularFile(const QString &path, qint64 maxSize);

// Opens File (by its file name) with Mode when it is an existing regular file; never creates one.
// False, with File closed, otherwise.
bool openRegularFile(QFile &file, QIODevice::OpenMode mode);

} // namespace Lanvo
