#include "FilesUtils.h"

#include "LanvoError.h"
#include "RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringBuilder>

namespace Lanvo {

namespace {

constexpr qint64 CopyBlockSize = 8192;

FileFaultInjection *activeFaultInjection = nullptr;

bool isRefusedName(const QString &name)
{
    if (name.size() <= 2 && (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")))
        return true;
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return true;
    // A drive ("c:") means something on the system the file may come from.
    return name.size() >= 2 && name.at(1) == QLatin1Char(':') && name.at(0).isLetter();
}

QString withoutTrailingSeparator(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

void copyBlocks(QFile &in, const QString &source, QSaveFile &out, const QString &destination)
{
    QByteArray block(CopyBlockSize, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(block.data(), CopyBlockSize);
        if (got < 0)
            throw LanvoError(openErrorText(source));
        if (got > 0 && out.write(block.constData(), got) != got)
            throw LanvoError(createErrorText(destination));
        if (got < CopyBlockSize)
            return;
    }
}

// Attributes are not copied, but here a program without its execute permission is no program.
void keepExecutable(const QString &source, const QString &target)
{
    if (!QFileInfo(source).isExecutable())
        return;
    QFile copy(target);
    copy.setPermissions(copy.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeGroup
                        | QFileDevice::ExeOther);
}

} // namespace

QString openErrorText(const QString &path)
{
    return QStringLiteral("Impossible d'ouvrir le fichier %1").arg(QDir::toNativeSeparators(path));
}

QString createErrorText(const QString &path)
{
    return QStringLiteral("Impossible de créer le fichier %1").arg(QDir::toNativeSeparators(path));
}

QString toPlatformSeparators(const QString &path)
{
    QString result = path;
    result.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return result;
}

QString ExpandPath(const QString &path, const QString &base)
{
    const QString anchor = directoryExists(base) ? base : QDir::currentPath();
    // Only a relative value can come from another system; in an absolute one "\" is part of a name.
    const QString native = QDir::isAbsolutePath(path) ? path : toPlatformSeparators(path);
    const QString absolute = QDir(anchor).absoluteFilePath(native);
    return withoutTrailingSeparator(QDir::cleanPath(absolute));
}

QString joinPath(const QString &dir, const QString &name)
{
    if (dir.endsWith(QLatin1Char('/')))
        return dir + name;
    return dir % QLatin1Char('/') % name; // one allocation: the scan joins a path for every game found
}

bool isPlainFileName(const QString &name)
{
    return !isRefusedName(name);
}

QString containedPath(const QString &dir, const QString &nameFromFile)
{
    if (isRefusedName(nameFromFile))
        throw LanvoError(QStringLiteral("The name \"%1\" can't be used inside %2: it must be a plain "
                                        "file name without separators or \"..\".")
                             .arg(nameFromFile, QDir::toNativeSeparators(dir)));
    return joinPath(dir, nameFromFile);
}

bool fileExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool directoryExists(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

void CopyFileTo(const QString &source, const QString &destination)
{
    QString target = ExpandPath(destination, QDir::currentPath());
    if (directoryExists(target))
        target = joinPath(target, QFileInfo(source).fileName());
    CopyFileOnto(source, target);
}

void CopyFileOnto(const QString &source, const QString &destination)
{
    const QString target = ExpandPath(destination, QDir::currentPath());
    QFile in(source);
    if (!openRegularFile(in, QIODevice::ReadOnly))
        throw LanvoError(openErrorText(source));
    if (directoryExists(target))
        throw LanvoError(createErrorText(target));
    QSaveFile out(target);
    if (!openSaveFile(out))
        throw LanvoError(createErrorText(target));
    copyBlocks(in, source, out, target);
    if (!commitSaveFile(out))
        throw LanvoError(createErrorText(target));
    keepExecutable(source, target);
}

void writeFileAtomically(const QString &path, const QByteArray &content)
{
    if (!saveAtomically(path, content))
        throw LanvoError(createErrorText(path));
}

bool openSaveFile(QSaveFile &file)
{
    // Unbuffered: every write reaches the file at once, so a full disk fails the write itself. A
    // buffered save file only meets the error when it flushes inside commit(), and then renames
    // the short file over the old one all the same.
    return file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool commitSaveFile(QSaveFile &file)
{
    // Checked again here in case a write error went unnoticed by its caller.
    if (FileFaultInjection::failsNow(FileOperation::Write) || file.error() != QFileDevice::NoError
        || !file.flush()) {
        file.cancelWriting(); // the temporary goes with the save file; the old file stays as it was
        return false;
    }
    return file.commit();
}

bool saveAtomically(const QString &path, const QByteArray &content)
{
    QSaveFile out(path);
    if (!openSaveFile(out))
        return false;
    // A file replaced keeps its permissions. A new one takes what the umask leaves, but never write
    // access for others: under a umask such as 002 Lanvo would refuse its own settings at the next
    // start as a file its group may change.
    if (!QFileInfo::exists(path)
        && !out.setPermissions(out.permissions() & ~(QFileDevice::WriteGroup | QFileDevice::WriteOther))) {
        out.cancelWriting();
        return false;
    }
    if (out.write(content) != content.size()) {
        out.cancelWriting();
        return false;
    }
    return commitSaveFile(out);
}

bool removeFile(const QString &path)
{
    if (FileFaultInjection::failsNow(FileOperation::Delete))
        return false;
    return QFile::remove(path);
}

bool renameFile(const QString &from, const QString &to)
{
    if (FileFaultInjection::failsNow(FileOperation::Rename))
        return false;
    return QFile::rename(from, to);
}

FileFaultInjection::FileFaultInjection(FileOperation operation, int failingCall)
    : m_operation(operation)
    , m_failingCall(failingCall)
{
    activeFaultInjection = this;
}

FileFaultInjection::~FileFaultInjection()
{
    activeFaultInjection = nullptr;
}

bool FileFaultInjection::failsNow(FileOperation operation)
{
    FileFaultInjection *const injection = activeFaultInjection;
    if (!injection || injection->m_operation != operation)
        return false;
    return ++injection->m_calls == injection->m_failingCall;
}

QByteArray readWholeFile(const QString &path, qint64 maxSize)
{
    RegularFileRead read = readRegularFile(path, maxSize);
    if (read.Status == RegularFileStatus::TooLarge)
        throw LanvoError(QStringLiteral("The file %1 is larger than %2 MB and can't be read.")
                             .arg(QDir::toNativeSeparators(path))
                             .arg(maxSize / (1024 * 1024)));
    if (!read.ok())
        throw LanvoError(openErrorText(path));
    return std::move(read.Bytes);
}

} // namespace Lanvo
