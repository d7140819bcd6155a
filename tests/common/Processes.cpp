#include "Processes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <sys/prctl.h>
#include <sys/wait.h>

namespace Lanvo::Test {

namespace {

// The parent and the state letter of /proc/<pid>/stat; the name in parentheses may hold blanks.
bool readStat(qint64 pid, qint64 &parent, char &state)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray stat = file.readAll();
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return false;
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    if (fields.size() < 2)
        return false;
    state = fields[0].isEmpty() ? '?' : fields[0].at(0);
    parent = fields[1].toLongLong();
    return true;
}

} // namespace

void adoptOrphans()
{
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
}

QList<qint64> descendantsOf(qint64 pid)
{
    QList<qint64> found;
    QList<qint64> parents{pid};
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    while (!parents.isEmpty()) {
        const qint64 parent = parents.takeFirst();
        for (const QString &entry : entries) {
            bool number = false;
            const qint64 candidate = entry.toLongLong(&number);
            qint64 candidateParent = 0;
            char state = 0;
            if (number && readStat(candidate, candidateParent, state) && candidateParent == parent) {
                found << candidate;
                parents << candidate;
            }
        }
    }
    return found;
}

bool processGone(qint64 pid)
{
    if (::waitpid(pid_t(pid), nullptr, WNOHANG) == pid)
        return true;
    qint64 parent = 0;
    char state = 0;
    return !readStat(pid, parent, state) || state == 'Z' || state == 'X';
}

bool allGone(const QList<qint64> &pids)
{
    bool gone = true;
    for (const qint64 pid : pids)
        gone = processGone(pid) && gone; // every one is looked at, so each is reaped
    return gone;
}

qint64 pidInFile(const QString &file)
{
    QFile pidFile(file);
    if (!pidFile.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = pidFile.readAll();
    return text.endsWith('\n') ? text.trimmed().toLongLong() : 0;
}

bool startSelf(QProcess &process, const QStringList &arguments)
{
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(QCoreApplication::applicationFilePath(), arguments);
    return process.waitForStarted();
}

} // namespace Lanvo::Test
