#include "RegularFile.h"

#include <QFile>

#include <algorithm>
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
    // Read straight into the result, one byte past the size to see at once a file that grew meanwhile;
    // up to one byte past the cap, so that such a file is still bounded.
    qint64 length = 0;
    result.Bytes.resize(file.size() + 1);
    for (;;) {
        if (length == result.Bytes.size())
            result.Bytes.resize(std::min(length * 2, maxSize + 1));
        const qint64 got = file.read(result.Bytes.data() + length, result.Bytes.size() - length);
        if (got < 0)
            return {RegularFileStatus::Failed, {}};
        if (got == 0)
            break;
        length += got;
        if (length > maxSize)
            return {RegularFileStatus::TooLarge, {}};
    }
    result.Bytes.truncate(length);
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
