#include "PathTrust.h"

#include "FilesUtils.h"
#include "LanvoError.h"
#include "RegularFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <deque>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace Lanvo {

namespace {

constexpr int MaxLinks = 40; // the kernel's own limit for one path

class Descriptor
{
public:
    explicit Descriptor(int fd = -1)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(Descriptor &&other) noexcept
        : m_fd(std::exchange(other.m_fd, -1))
    {
    }
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }

private:
    int m_fd;
};

QString shown(const QByteArray &path)
{
    return QFile::decodeName(path);
}

QString systemReason(int error)
{
    if (error == ENOENT)
        return QStringLiteral("does not exist");
    if (error == ENOTDIR)
        return QStringLiteral("is not a folder");
    return QStringLiteral("can't be examined (%1)").arg(QString::fromLocal8Bit(std::strerror(error)));
}

// A folder such as /tmp: sticky and open to everyone's files, but root's or the user's own, so that
// nobody else can rename or remove what the user keeps in it.
bool isSharedStickyFolder(const struct stat &info)
{
    return S_ISDIR(info.st_mode) && (info.st_uid == 0 || info.st_uid == ::geteuid()) && (info.st_mode & S_ISVTX)
           && (info.st_mode & (S_IWGRP | S_IWOTH));
}

enum class AccessList { NoneForOthers, OthersMayWrite, Unreadable };

// The extended attribute's layout: a version word, then entries of tag, permissions and id.
AccessList judgeAccessList(const QByteArray &acl, uid_t owner)
{
    constexpr quint16 NamedUser = 0x02, NamedGroup = 0x08, Mask = 0x10, Write = 0x02;
    constexpr qsizetype HeaderSize = 4, EntrySize = 8;
    if (acl.size() < HeaderSize || (acl.size() - HeaderSize) % EntrySize != 0
        || qFromLittleEndian<quint32>(acl.constData()) != 2)
        return AccessList::Unreadable;
    bool namedWrite = false;
    bool maskAllowsWrite = true; // no mask entry: the named entries are not limited
    for (qsizetype at = HeaderSize; at < acl.size(); at += EntrySize) {
        const quint16 tag = qFromLittleEndian<quint16>(acl.constData() + at);
        const bool write = qFromLittleEndian<quint16>(acl.constData() + at + 2) & Write;
        const quint32 id = qFromLittleEndian<quint32>(acl.constData() + at + 4);
        if (tag == Mask)
            maskAllowsWrite = write;
        else if ((tag == NamedUser && id != owner) || tag == NamedGroup)
            namedWrite = namedWrite || write;
    }
    return namedWrite && maskAllowsWrite ? AccessList::OthersMayWrite : AccessList::NoneForOthers;
}

// Read through the opened file; by its path only where /proc is missing.
AccessList accessListOf(int fd, const QByteArray &path, uid_t owner)
{
    static constexpr char Name[] = "system.posix_acl_access";
    QByteArray acl(4 + 8 * 64, Qt::Uninitialized);
    const QByteArray opened = "/proc/self/fd/" + QByteArray::number(fd);
    ssize_t size = ::getxattr(opened.constData(), Name, acl.data(), size_t(acl.size()));
    if (size < 0 && errno == ENOENT)
        size = ::lgetxattr(path.constData(), Name, acl.data(), size_t(acl.size()));
    if (size < 0)
        return errno == ENODATA || errno == ENOTSUP ? AccessList::NoneForOthers : AccessList::Unreadable;
    acl.truncate(size);
    return judgeAccessList(acl, owner);
}

// Empty when the component may be trusted; Parent is the folder it was found in (none for "/").
QString judge(const struct stat &info, const struct stat *parent, int fd, const QByteArray &path)
{
    const uid_t user = ::geteuid();
    if (parent && isSharedStickyFolder(*parent) && info.st_uid != user)
        return QStringLiteral("is not your own, in a folder every user may write");
    if (info.st_uid != user && info.st_uid != 0)
        return S_ISLNK(info.st_mode) ? QStringLiteral("is a link that belongs to another user")
                                     : QStringLiteral("belongs to another user");
    if (S_ISLNK(info.st_mode) || isSharedStickyFolder(info))
        return {};
    switch (accessListOf(fd, path, info.st_uid)) {
    case AccessList::OthersMayWrite:
        return QStringLiteral("has an access list that lets other users write it");
    case AccessList::Unreadable:
        return QStringLiteral("has an access list that can't be read");
    case AccessList::NoneForOthers:
        break;
    }
    if (info.st_mode & S_IWOTH)
        return QStringLiteral("can be written by every user");
    if (info.st_mode & S_IWGRP)
        return QStringLiteral("can be written by its group");
    return {};
}

QByteArray joined(const QByteArray &folder, const QByteArray &name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QByteArray linkTarget(int linkFd)
{
    QByteArray target(PATH_MAX, Qt::Uninitialized);
    const ssize_t size = ::readlinkat(linkFd, "", target.data(), size_t(target.size()));
    if (size <= 0 || size >= target.size())
        return {};
    target.truncate(size);
    return target;
}

// The opened components from "/" down to the last one reached.
class Walk
{
public:
    TrustRefusal start()
    {
        Descriptor root(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
        struct stat info{};
        if (!root.valid() || ::fstat(root.get(), &info) != 0)
            return {QStringLiteral("/"), systemReason(errno)};
        if (const QString reason = judge(info, nullptr, root.get(), "/"); !reason.isEmpty())
            return {QStringLiteral("/"), reason};
        m_steps.push_back({std::move(root), info, "/"});
        return {};
    }

    TrustRefusal descend(const QByteArray &relative)
    {
        std::deque<QByteArray> pending;
        prepend(pending, relative);
        while (!pending.empty()) {
            const QByteArray name = pending.front();
            pending.pop_front();
            if (name == "..") {
                if (m_steps.size() > 1)
                    m_steps.pop_back();
                continue;
            }
            if (TrustRefusal refusal = step(name, pending); refusal.refused())
                return refusal;
        }
        return {};
    }

    int folder() const { return m_steps.back().Fd.get(); }
    const QByteArray &path() const { return m_steps.back().Path; }

private:
    struct Step
    {
        Descriptor Fd;
        struct stat Info;
        QByteArray Path;
    };

    static void prepend(std::deque<QByteArray> &pending, const QByteArray &path)
    {
        const QList<QByteArray> names = path.split('/');
        for (auto name = names.crbegin(); name != names.crend(); ++name) {
            if (!name->isEmpty() && *name != ".")
                pending.push_front(*name);
        }
    }

    TrustRefusal step(const QByteArray &name, std::deque<QByteArray> &pending)
    {
        const Step &parent = m_steps.back();
        const QByteArray path = joined(parent.Path, name);
        Descriptor fd(::openat(parent.Fd.get(), name.constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
        struct stat info{};
        if (!fd.valid() || ::fstat(fd.get(), &info) != 0)
            return {shown(path), systemReason(errno)};
        if (const QString reason = judge(info, &parent.Info, fd.get(), path); !reason.isEmpty())
            return {shown(path), reason};
        if (!S_ISLNK(info.st_mode)) {
            m_steps.push_back({std::move(fd), info, path});
            return {};
        }
        const QByteArray target = linkTarget(fd.get());
        if (++m_links > MaxLinks || target.isEmpty())
            return {shown(path), QStringLiteral("is a link that can't be followed")};
        if (target.startsWith('/'))
            m_steps.resize(1);
        prepend(pending, target);
        return {};
    }

    std::vector<Step> m_steps;
    int m_links = 0;
};

TrustRefusal walkTo(Walk &walk, const QString &path)
{
    if (TrustRefusal refusal = walk.start(); refusal.refused())
        return refusal;
    return walk.descend(QFile::encodeName(QFileInfo(path).absoluteFilePath()));
}

QByteArray temporaryName(const QByteArray &name)
{
    return '.' + name + ".lanvo-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
}

bool writeAll(int fd, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

enum class CopyResult { Copied, ReadFailed, WriteFailed };

CopyResult copyBlocks(QFile &in, int out)
{
    QByteArray block(8192, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(block.data(), block.size());
        if (got < 0)
            return CopyResult::ReadFailed;
        if (got == 0)
            return ::fdatasync(out) == 0 ? CopyResult::Copied : CopyResult::WriteFailed;
        if (FileFaultInjection::failsNow(FileOperation::Write) || !writeAll(out, block.constData(), got))
            return CopyResult::WriteFailed;
    }
}

} // namespace

TrustRefusal checkPathTrust(const QString &path)
{
    Walk walk;
    return walkTo(walk, path);
}

TrustRefusal checkPathTrust(const QString &folder, const QString &name)
{
    Walk walk;
    if (TrustRefusal refusal = walkTo(walk, folder); refusal.refused())
        return refusal;
    return walk.descend(QFile::encodeName(name));
}

TrustRefusal enterTrustedFolder(const QString &folder)
{
    Walk walk;
    if (TrustRefusal refusal = walkTo(walk, folder); refusal.refused())
        return refusal;
    if (::fchdir(walk.folder()) != 0)
        return {shown(walk.path()), systemReason(errno)};
    return {};
}

TrustRefusal copyIntoTrustedFolder(const QString &source, const QString &folder, const QString &name)
{
    Walk walk;
    if (TrustRefusal refusal = walkTo(walk, folder); refusal.refused())
        return refusal;
    QFile in(source);
    if (!openRegularFile(in, QIODevice::ReadOnly))
        throw LanvoError(openErrorText(source));
    const QByteArray target = QFile::encodeName(name);
    const QString shownTarget = shown(joined(walk.path(), target));
    const QByteArray temporary = temporaryName(target);
    const mode_t mode = (in.permissions() & QFileDevice::ExeOwner) ? 0700 : 0600;
    const Descriptor out(::openat(walk.folder(), temporary.constData(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
    if (!out.valid())
        throw LanvoError(createErrorText(shownTarget));
    // The mode is set whatever the umask or an inherited access list would make of it.
    CopyResult result = ::fchmod(out.get(), mode) == 0 ? copyBlocks(in, out.get()) : CopyResult::WriteFailed;
    if (result == CopyResult::Copied
        && ::renameat(walk.folder(), temporary.constData(), walk.folder(), target.constData()) != 0)
        result = CopyResult::WriteFailed;
    if (result == CopyResult::Copied)
        return {};
    ::unlinkat(walk.folder(), temporary.constData(), 0);
    throw LanvoError(result == CopyResult::ReadFailed ? openErrorText(source) : createErrorText(shownTarget));
}

} // namespace Lanvo
