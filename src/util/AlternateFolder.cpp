#include "AlternateFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace Lanvo {

namespace {

// Owned by this user or by root, writable by no other user. Group write is tolerated only for the
// user's own group (a private group, as the usual umask 002 gives).
bool isTrusted(const struct stat &info)
{
    if (info.st_uid != geteuid() && info.st_uid != 0)
        return false;
    if (info.st_mode & S_IWOTH)
        return false;
    return !(info.st_mode & S_IWGRP) || info.st_gid == getegid();
}

// A link is judged as itself (who could have planted it) and as what it leads to (what would run).
bool isTrustedPath(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info{};
    if (::lstat(name.constData(), &info) != 0)
        return true; // gone: nothing to run or copy from it
    if (!isTrusted(info))
        return false;
    if (!S_ISLNK(info.st_mode))
        return true;
    return ::stat(name.constData(), &info) != 0 || isTrusted(info);
}

QString refusalText(const QString &path)
{
    return QStringLiteral("Alternate path is not safe!(%1 belongs to another user or can be written by "
                          "other users)")
        .arg(QDir::toNativeSeparators(path));
}

} // namespace

QString defaultAlternateDirectory()
{
    const QString cache = QString::fromLocal8Bit(qgetenv("XDG_CACHE_HOME"));
    const QString base = QDir::isAbsolutePath(cache) ? cache : QDir::homePath() + QStringLiteral("/.cache");
    return QDir::cleanPath(base + QStringLiteral("/lanvo"));
}

bool createPrivateDirectory(const QString &path)
{
    const QString parent = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(parent))
        return false;
    return QDir().mkdir(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QString alternateFolderRefusal(const QString &folder)
{
    if (!isTrustedPath(folder))
        return refusalText(folder);
    const QDir dir(folder);
    for (const QString &entry : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString path = dir.filePath(entry);
        if (!isTrustedPath(path))
            return refusalText(path);
    }
    return {};
}

} // namespace Lanvo
