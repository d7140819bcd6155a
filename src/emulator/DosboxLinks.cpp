#include "DosboxLinks.h"

#include "LanvoError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace Lanvo {

namespace {

constexpr auto NamePrefix = "lanvo-dosbox-";

// What a folder's path may hold to reach a mount command as it is: no quote, no "%", no control
// character, nothing DOSBox's shell treats specially, and room left below it for DOS paths.
constexpr qsizetype MaxParentLength = 100;

bool isPlainPath(const QString &path)
{
    static const QRegularExpression plain(QStringLiteral("^/[A-Za-z0-9/._+-]*$"));
    return path.size() <= MaxParentLength && plain.match(path).hasMatch();
}

// True unless the process is known to be gone: one of another user's answers EPERM and still runs.
bool processRuns(qint64 pid)
{
    if (pid <= 0 || pid != qint64(pid_t(pid)))
        return true;
    return ::kill(pid_t(pid), 0) == 0 || errno != ESRCH;
}

bool isOwnFolder(const QString &path)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid();
}

} // namespace

DosboxLinks::DosboxLinks()
    : m_dir(parentFolder() + QLatin1Char('/') + QLatin1String(NamePrefix) + QString::number(::getpid())
            + QStringLiteral("-XXXXXX"))
    , m_path(m_dir.path())
{
    if (!m_dir.isValid())
        throw LanvoError(QStringLiteral("Unable to create the directory %1").arg(parentFolder()));
}

QString DosboxLinks::link(const QString &target, const QString &name) const
{
    const QString link = m_path + QLatin1Char('/') + name;
    if (!QDir().mkpath(QFileInfo(link).path()) || !QFile::link(target, link))
        throw LanvoError(QStringLiteral("Unable to create the directory %1").arg(link));
    return link;
}

QString DosboxLinks::parentFolder()
{
    const QString temp = QDir::tempPath();
    return isPlainPath(temp) ? temp : QStringLiteral("/tmp");
}

int DosboxLinks::removeStale(const QString &parent)
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QLatin1String(NamePrefix) + QStringLiteral("([0-9]{1,10})-[A-Za-z0-9]{6}")));
    int removed = 0;
    const QStringList names = QDir(parent).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (!match.hasMatch() || processRuns(match.captured(1).toLongLong()))
            continue;
        const QString path = parent + QLatin1Char('/') + name;
        // Links inside are removed, never followed.
        if (isOwnFolder(path) && QDir(path).removeRecursively())
            ++removed;
    }
    return removed;
}

} // namespace Lanvo
