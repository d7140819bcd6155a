#include "RegularFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Lanvo {

namespace {

// O_NONBLOCK keeps the open of a FIFO without a writer from waiting; fstat on the open descriptor
// then decides, so the file can't be swapped between the test and the open.
int openNonBlocking(const QString &path, QIODevice::OpenMode mode, RegularFileStatus &status)
{
    const int access = (mode & QIODevice::WriteOnly) ? O_RDWR : O_RDONLY;
    const int fd = ::open(QFile::encodeName(path).constData(), access | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        status = errno == EISDIR ? RegularFileStatus::NotRegular : RegularFileStatus::Missing;
        return -1;
    }
    struct stat info{};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        status = RegularFileStatus::NotRegular;
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    status = RegularFileStatus::Read;
    return fd;
}

bool adopt(QFile &file, int fd, QIODevice::OpenMode mode)
{
    if (file.open(fd, mode, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

} // namespace

RegularFileRead readRegularFile(const QString &path, qint64 maxSize)
{
    RegularFileRead result;
    const int fd = openNonBlocking(path, QIODevice::ReadOnly, result.Status);
    if (fd < 0)
        return result;
    QFile file;
    if (!adopt(file, fd, QIODevice::ReadOnly)) {
        result.Status = RegularFileStatus::Failed;
        return result;
    }
    if (file.size() > maxSize) {
        result.Status = RegularFileStatus::TooLarge;
        return result;
    }
    result.Bytes.reserve(file.size());
    // Read in blocks up to one byte past the cap, so a file that grows meanwhile is still bounded.
    QByteArray block(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(block.data(), block.size());
        if (got < 0)
            return {RegularFileStatus::Failed, {}};
        if (got == 0)
            break;
        result.Bytes.append(block.constData(), got);
        if (result.Bytes.size() > maxSize)
            return {RegularFileStatus::TooLarge, {}};
    }
    return result;
}

bool openRegularFile(QFile &file, QIODevice::OpenMode mode)
{
    RegularFileStatus status;
    const int fd = openNonBlocking(file.fileName(), mode, status);
    if (fd < 0)
        return false;
    return adopt(file, fd, mode);
}

} // namespace Lanvo
