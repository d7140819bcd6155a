#include "Platform.h"

#include "AnyCaseFiles.h"
#include "RunGroup.h"
#include "TextDecoding.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#include <csignal>
#include <unistd.h>

#include <vector>

namespace Lanvo {

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Appends the backslashes that precede a quote (or anything else) and tells whether the quote that
// follows is literal.
bool takeBackslashes(int count, bool beforeQuote, QString &word)
{
    if (!beforeQuote) {
        word.append(QString(count, QLatin1Char('\\')));
        return false;
    }
    word.append(QString(count / 2, QLatin1Char('\\')));
    return count % 2 == 1;
}

// The program runAndWait is waiting for and its group, so that a request to end Lanvo can end them first.
QProcess *runningProcess = nullptr;
const RunGroup *runningGroup = nullptr;

struct RunningProcessScope
{
    RunningProcessScope(QProcess &process, const RunGroup &group)
    {
        runningProcess = &process;
        runningGroup = &group;
    }
    ~RunningProcessScope()
    {
        runningProcess = nullptr;
        runningGroup = nullptr;
    }
    RunningProcessScope(const RunningProcessScope &) = delete;
    RunningProcessScope &operator=(const RunningProcessScope &) = delete;
};

// QProcess hands every argument on as UTF-8, which loses the bytes that fromFileBytes keeps as
// escapes. When an argument holds such bytes, the child starts the program itself with the exact
// bytes; the argument vector is built before the fork, so the child only calls exec.
class ExactArguments
{
public:
    ExactArguments(const QString &program, const QStringList &arguments)
    {
        for (const QString &argument : arguments)
            m_needed = m_needed || toFileBytes(argument) != argument.toUtf8();
        if (!m_needed)
            return;
        m_storage.push_back(QFile::encodeName(program));
        for (const QString &argument : arguments)
            m_storage.push_back(toFileBytes(argument));
        for (QByteArray &word : m_storage)
            m_pointers.push_back(word.data());
        m_pointers.push_back(nullptr);
    }

    // In the child, after the fork. When this exec fails, QProcess's own one runs next and reports
    // the failure as usual.
    void execIfNeeded() const noexcept
    {
        if (m_needed)
            ::execv(m_pointers.front(), m_pointers.data());
    }

private:
    bool m_needed = false;
    std::vector<QByteArray> m_storage;
    std::vector<char *> m_pointers;
};

} // namespace

bool isExecutableFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

QStringList splitWindowsCommandLine(const QString &commandLine)
{
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    const qsizetype length = commandLine.size();
    for (qsizetype i = 0; i < length; ++i) {
        const QChar c = commandLine.at(i);
        if (c == QLatin1Char('\\')) {
            qsizetype end = i;
            while (end < length && commandLine.at(end) == QLatin1Char('\\'))
                ++end;
            const bool beforeQuote = end < length && commandLine.at(end) == QLatin1Char('"');
            const bool literalQuote = takeBackslashes(int(end - i), beforeQuote, word);
            inWord = true;
            i = end - 1;
            if (literalQuote) {
                word.append(QLatin1Char('"'));
                i = end;
            }
        } else if (c == QLatin1Char('"')) {
            inWord = true;
            if (quoted && i + 1 < length && commandLine.at(i + 1) == QLatin1Char('"')) {
                word.append(QLatin1Char('"'));
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if (isBlank(c) && !quoted) {
            if (inWord)
                words.append(word);
            word.clear();
            inWord = false;
        } else {
            word.append(c);
            inWord = true;
        }
    }
    if (inWord)
        words.append(word);
    return words;
}

QString quoteWindowsArgument(const QString &word)
{
    const bool needsQuotes = word.isEmpty() || word.contains(QLatin1Char(' ')) || word.contains(QLatin1Char('\t'))
                             || word.contains(QLatin1Char('"'));
    if (!needsQuotes)
        return word;
    QString quoted(QLatin1Char('"'));
    int backslashes = 0;
    for (const QChar c : word) {
        if (c == QLatin1Char('\\')) {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote itself escaped.
        const int repeat = c == QLatin1Char('"') ? backslashes * 2 + 1 : backslashes;
        quoted.append(QString(repeat, QLatin1Char('\\')));
        quoted.append(c);
        backslashes = 0;
    }
    quoted.append(QString(backslashes * 2, QLatin1Char('\\')));
    quoted.append(QLatin1Char('"'));
    return quoted;
}

QString findProgram(const QString &name, const QString &ownDirectory, const ProgramTest &test)
{
    if (name.isEmpty())
        return {};
    if (name.contains(QLatin1Char('/')))
        return test(name) ? QFileInfo(name).absoluteFilePath() : QString();
    QStringList places{ownDirectory, QDir::currentPath()};
    places += QString::fromLocal8Bit(qgetenv("PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &place : places) {
        if (place.isEmpty())
            continue;
        const QString candidate = existingAnyCase(QDir(place).absolutePath(), name);
        if (!candidate.isEmpty() && test(candidate))
            return candidate;
    }
    return {};
}

QString findHelperProgram(const QString &name)
{
    if (name.isEmpty())
        return {};
    if (name.contains(QLatin1Char('/')))
        return QDir::isAbsolutePath(name) && isExecutableFile(name) ? QDir::cleanPath(name) : QString();
    const QString current = QDir::current().canonicalPath();
    const QStringList places = QString::fromLocal8Bit(qgetenv("PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &place : places) {
        if (!QDir::isAbsolutePath(place) || QDir(place).canonicalPath() == current)
            continue;
        const QString candidate = QDir(place).filePath(name);
        if (isExecutableFile(candidate))
            return QDir::cleanPath(candidate);
    }
    return {};
}

void dropRelativeSearchFolders()
{
    if (!qEnvironmentVariableIsSet("PATH"))
        return;
    const QByteArray path = qgetenv("PATH");
    QByteArrayList kept;
    for (const QByteArray &folder : path.split(':')) {
        if (folder.startsWith('/'))
            kept << folder;
    }
    const QByteArray absolute = kept.join(':');
    if (absolute != path)
        qputenv("PATH", absolute);
}

bool makeWritableByOwner(const QString &path)
{
    QFile file(path);
    return file.setPermissions(file.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
}

bool runAndWait(const QString &program, const QStringList &arguments, const RunHooks &hooks)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(QDir::currentPath());
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    const ExactArguments exact(QFileInfo(program).absoluteFilePath(), arguments);
    RunGroup group;
    process.setChildProcessModifier([&group, &exact] {
        group.enterInChild();
        exact.execIfNeeded();
    });
    const RunningProcessScope scope(process, group);
    process.start();
    if (!process.waitForStarted(-1))
        return false;
    group.watch(process.processId());
    if (hooks.Started)
        hooks.Started();
    if (process.state() != QProcess::NotRunning) {
        // Events keep the window painted; user input waits until the program has ended.
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
        if (process.state() != QProcess::NotRunning)
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (hooks.Finished)
        hooks.Finished();
    return true;
}

bool endRunningProgram(int graceMilliseconds)
{
    if (!isProgramRunning())
        return false;
    QProcess *const process = runningProcess;
    // The whole group: what the program started ends with it.
    if (!runningGroup->signal(SIGTERM))
        process->terminate();
    // Bound to the process: the timer goes with it when the program ends in time.
    QTimer::singleShot(graceMilliseconds, process, [process] {
        if (!runningGroup || !runningGroup->signal(SIGKILL))
            process->kill();
    });
    return true;
}

bool isProgramRunning()
{
    return runningProcess && runningProcess->state() != QProcess::NotRunning;
}

} // namespace Lanvo
