// The command line, read in-process for every answer it can give, and the real program started with
// it: a named folder is where Lanvo works, a wrong one ends it before anything is written.
#include "CommandLine.h"
#include "SettingsFile.h"
#include "StandIn.h"
#include "TestFakes.h"

#include <QDir>
#include <QFileSystemWatcher>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <unistd.h>

using namespace Lanvo;
using namespace Lanvo::Test;

namespace {

struct Reading
{
    TCommandLine CommandLine;
    QString Out;
    QString Err;
};

Reading read(const QStringList &arguments)
{
    Reading reading;
    QTextStream out(&reading.Out), err(&reading.Err);
    reading.CommandLine = ReadCommandLine(QStringList{QStringLiteral("lanvo")} + arguments, out, err);
    return reading;
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The environment of a start from a terminal, with the user's settings kept in the test's folder.
QProcessEnvironment environmentWithConfigIn(const QString &configFolder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

// Waits, by watching the folders on its way, until a program running beside the test writes the file.
bool waitForFile(const QString &file, const QString &top, QProcess &process)
{
    QFileSystemWatcher watcher;
    QSignalSpy changed(&watcher, &QFileSystemWatcher::directoryChanged);
    QSignalSpy finished(&process, &QProcess::finished);
    for (;;) {
        for (QString folder = QFileInfo(file).absolutePath(); folder.startsWith(top); folder = QFileInfo(folder).absolutePath()) {
            if (QFileInfo(folder).isDir() && !watcher.directories().contains(folder))
                watcher.addPath(folder);
        }
        if (QFile::exists(file))
            return true;
        if (!finished.isEmpty() || !changed.wait(60000))
            return QFile::exists(file);
    }
}

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void endsBeforeAnyWindow_data();
    void endsBeforeAnyWindow();
    void namedFolderBecomesCurrent_data();
    void namedFolderBecomesCurrent();
    void wrongFolderIsRefused_data();
    void wrongFolderIsRefused();
    void folderThatCannotBeEntered();
    void menuStartChoices_data();
    void menuStartChoices();

    void versionNeedsNoDisplay();
    void programWorksInNamedFolder();
    void programRefusesMissingFolder();

private:
    QString m_savedCurrent;
};

void TestCommandLine::endsBeforeAnyWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    const QString version = QStringLiteral("lanvo %1\n").arg(QLatin1String(ProgramVersion));
    QTest::newRow("version") << QStringList{"--version"} << 0 << version << "";
    QTest::newRow("version, short") << QStringList{"-v"} << 0 << version << "";
    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: lanvo [options] [folder]\n" << "";
    QTest::newRow("help, short") << QStringList{"-h"} << 0 << "Usage: lanvo [options] [folder]\n" << "";
    QTest::newRow("help wins over a folder") << QStringList{"--help", "/no/such/folder"} << 0
                                             << "Usage: lanvo [options] [folder]\n" << "";
    QTest::newRow("unknown option") << QStringList{"--fullscreen"} << 2 << ""
                                    << "lanvo: Unknown option 'fullscreen'.\nTry 'lanvo --help' for more information.\n";
    QTest::newRow("toolkit option") << QStringList{"--help-all"} << 2 << "" << "lanvo: Unknown option 'help-all'.\n";
    QTest::newRow("two folders") << QStringList{".", ".."} << 2 << ""
                                 << "lanvo: only one start folder may be named\n";
}

// Only the start of a long text is compared; the rest is the toolkit's layout.
void TestCommandLine::endsBeforeAnyWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);

    const Reading reading = read(arguments);
    QCOMPARE(reading.CommandLine.ExitCode, std::optional<int>(exitCode));
    for (const auto &[text, expected] : {std::pair(reading.Out, out), std::pair(reading.Err, err)}) {
        if (expected.isEmpty())
            QVERIFY2(text.isEmpty(), qPrintable(text));
        else
            QVERIFY2(text.startsWith(expected), qPrintable(text));
    }
    QCOMPARE(QDir::currentPath(), m_savedCurrent);
}

void TestCommandLine::namedFolderBecomesCurrent_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("relativeFolder");

    QTest::newRow("absolute") << QStringList{"@/corvane"} << "corvane";
    QTest::newRow("relative to the current folder") << QStringList{"corvane/sub"} << "corvane/sub";
    QTest::newRow("named folder wins over the menu's start") << QStringList{"--last-folder", "@/corvane"} << "corvane";
    QTest::newRow("named folder wins over asking") << QStringList{"@/corvane", "--choose-folder"} << "corvane";
    QTest::newRow("name with spaces") << QStringList{"@/my games"} << "my games";
}

void TestCommandLine::namedFolderBecomesCurrent()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, relativeFolder);
    const QTemporaryDir dir;
    makeDirectory(dir.filePath("corvane/sub"));
    makeDirectory(dir.filePath("my games"));
    QDir::setCurrent(dir.path());
    arguments.replaceInStrings(QStringLiteral("@"), dir.path());

    const Reading reading = read(arguments);
    QVERIFY(!reading.CommandLine.ExitCode);
    QCOMPARE(reading.CommandLine.FolderChoice, TCommandLine::TFolderChoice::Current);
    QCOMPARE(QDir::currentPath(), QDir(dir.filePath(relativeFolder)).canonicalPath());
    QVERIFY(reading.Out.isEmpty() && reading.Err.isEmpty());
}

void TestCommandLine::wrongFolderIsRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("problem");

    QTest::newRow("missing") << "games/corvane" << "no such folder";
    QTest::newRow("a file") << "notes.txt" << "not a folder";
}

void TestCommandLine::wrongFolderIsRefused()
{
    QFETCH(QString, name);
    QFETCH(QString, problem);
    const QTemporaryDir dir;
    writeFile(dir.filePath("notes.txt"), "not a folder");
    const QString named = dir.filePath(name);

    const Reading reading = read({named});
    QCOMPARE(reading.CommandLine.ExitCode, std::optional<int>(2));
    QCOMPARE(reading.Err, QStringLiteral("lanvo: cannot start in \"%1\": %2\n").arg(named, problem));
    QCOMPARE(QDir::currentPath(), m_savedCurrent);
    QCOMPARE(entriesOf(dir.path()), QStringList{"notes.txt"});
}

void TestCommandLine::folderThatCannotBeEntered()
{
    if (geteuid() == 0)
        QSKIP("root enters every folder, whatever its permissions");
    const QTemporaryDir dir;
    const QString locked = dir.filePath("locked");
    makeDirectory(locked);
    QFile::setPermissions(locked, QFile::ReadOwner);

    const Reading reading = read({locked});
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(reading.CommandLine.ExitCode, std::optional<int>(2));
    QCOMPARE(reading.Err, QStringLiteral("lanvo: cannot start in \"%1\": the folder can't be entered\n").arg(locked));
    QCOMPARE(QDir::currentPath(), m_savedCurrent);
}

void TestCommandLine::menuStartChoices_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<TCommandLine::TFolderChoice>("choice");

    QTest::newRow("nothing") << QStringList{} << TCommandLine::TFolderChoice::Current;
    QTest::newRow("desktop menu") << QStringList{"--last-folder"} << TCommandLine::TFolderChoice::LastChosen;
    QTest::newRow("choose another") << QStringList{"--choose-folder"} << TCommandLine::TFolderChoice::AskAgain;
    QTest::newRow("asking wins") << QStringList{"--last-folder", "--choose-folder"} << TCommandLine::TFolderChoice::AskAgain;
}

void TestCommandLine::menuStartChoices()
{
    QFETCH(QStringList, arguments);
    QFETCH(TCommandLine::TFolderChoice, choice);

    const Reading reading = read(arguments);
    QVERIFY(!reading.CommandLine.ExitCode);
    QCOMPARE(reading.CommandLine.FolderChoice, choice);
    QCOMPARE(QDir::currentPath(), m_savedCurrent);
}

// --version in a terminal without any display: the toolkit's windowing is never started for it.
void TestCommandLine::versionNeedsNoDisplay()
{
    QProcess lanvo;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    lanvo.setProcessEnvironment(environment);
    lanvo.start(QStringLiteral(LANVO_PATH), {QStringLiteral("--version")});
    QVERIFY(lanvo.waitForFinished(60000));
    QCOMPARE(lanvo.exitStatus(), QProcess::NormalExit);
    QCOMPARE(lanvo.exitCode(), 0);
    QCOMPARE(QString::fromLocal8Bit(lanvo.readAllStandardOutput()),
             QStringLiteral("lanvo %1\n").arg(QLatin1String(ProgramVersion)));
}

// "lanvo FOLDER" started elsewhere: the first start writes the games file in FOLDER, nothing where
// it was started.
void TestCommandLine::programWorksInNamedFolder()
{
    const QTemporaryDir dir;
    const QString corvane = dir.filePath("corvane");
    const QString elsewhere = dir.filePath("elsewhere");
    makeDirectory(corvane);
    makeDirectory(elsewhere);
    installStandIn(QStringLiteral(CORVANE_STANDIN_PATH), corvane);

    QProcess lanvo;
    lanvo.setProcessEnvironment(environmentWithConfigIn(dir.filePath("config")));
    lanvo.setWorkingDirectory(elsewhere);
    lanvo.start(QStringLiteral(LANVO_PATH), {corvane});
    const bool written = waitForFile(corvane + "/lanvo/GAMES.CSV", dir.path(), lanvo);
    lanvo.kill();
    lanvo.waitForFinished();

    QVERIFY2(written, lanvo.readAllStandardError().constData());
    QCOMPARE(readFile(corvane + "/lanvo/GAMES.CSV").count('\n'), 148);
    QCOMPARE(entriesOf(elsewhere), QStringList());
    QVERIFY(!QFileInfo::exists(dir.filePath("config")));
}

void TestCommandLine::programRefusesMissingFolder()
{
    const QTemporaryDir dir;
    const QString missing = dir.filePath("games/corvane");
    makeDirectory(dir.filePath("current"));

    QProcess lanvo;
    lanvo.setProcessEnvironment(environmentWithConfigIn(dir.filePath("config")));
    lanvo.setWorkingDirectory(dir.filePath("current"));
    lanvo.start(QStringLiteral(LANVO_PATH), {QStringLiteral("--last-folder"), missing});
    QVERIFY(lanvo.waitForFinished(60000));
    QCOMPARE(lanvo.exitStatus(), QProcess::NormalExit);
    QCOMPARE(lanvo.exitCode(), 2);
    QCOMPARE(QString::fromLocal8Bit(lanvo.readAllStandardError()),
             QStringLiteral("lanvo: cannot start in \"%1\": no such folder\n").arg(missing));
    QCOMPARE(lanvo.readAllStandardOutput(), QByteArray());
    QCOMPARE(entriesOf(dir.path()), QStringList{"current"});
    QCOMPARE(entriesOf(dir.filePath("current")), QStringList());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
