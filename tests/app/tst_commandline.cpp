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

#include <cstdlib>
#include <memory>
#include <sys/stat.h>
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

// Folders named by bytes QTemporaryDir can't name again: removed by those bytes, deepest first.
class ByteNamedFolders
{
public:
    ~ByteNamedFolders()
    {
        if (!m_made.isEmpty() && ::chdir("/") != 0)
            return;
        for (auto folder = m_made.crbegin(); folder != m_made.crend(); ++folder)
            ::rmdir(folder->constData());
    }
    bool make(const QByteArray &path)
    {
        m_made << path;
        return ::mkdir(path.constData(), 0700) == 0;
    }

private:
    QList<QByteArray> m_made;
};

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
    void folderNamesAreBytes_data();
    void folderNamesAreBytes();
    void menuStartChoices_data();
    void menuStartChoices();

    void versionNeedsNoDisplay();
    void programWorksInNamedFolder_data();
    void programWorksInNamedFolder();
    void programRefusesMissingFolder();
    void programRefusesFolderItCantHold();

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

void TestCommandLine::folderNamesAreBytes_data()
{
    QTest::addColumn<QByteArray>("name");    // created in the test's folder
    QTest::addColumn<bool>("named");         // named on the command line, else started inside it
    QTest::addColumn<bool>("accepted");

    QTest::newRow("named, backslash in the name") << QByteArray("a\\b") << true << true;
    QTest::newRow("named, UTF-8") << QByteArray("caf\xc3\xa9") << true << true;
    QTest::newRow("named, Latin-1 byte") << QByteArray("caf\xe9") << true << false;
    QTest::newRow("started inside, backslash in the name") << QByteArray("a\\b") << false << true;
    QTest::newRow("started inside, Latin-1 byte") << QByteArray("caf\xe9") << false << false;
    QTest::newRow("named below a Latin-1 folder") << QByteArray("caf\xe9/sub") << true << false;
}

void TestCommandLine::folderNamesAreBytes()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, named);
    QFETCH(bool, accepted);
    const QTemporaryDir dir;
    const QByteArray base = QFile::encodeName(dir.path());
    const QByteArray folder = base + '/' + name;
    ByteNamedFolders made;
    for (qsizetype slash = folder.indexOf('/', base.size() + 1); slash > 0; slash = folder.indexOf('/', slash + 1))
        QVERIFY(made.make(folder.left(slash)));
    QVERIFY(made.make(folder));
    char *argv[] = {const_cast<char *>("lanvo"), const_cast<char *>(folder.constData())};
    if (!named)
        QCOMPARE(::chdir(folder.constData()), 0);

    Reading reading;
    QTextStream out(&reading.Out), err(&reading.Err);
    reading.CommandLine = ReadCommandLine(ArgumentsOf(named ? 2 : 1, argv), out, err);
    QCOMPARE(!reading.CommandLine.ExitCode, accepted);
    std::unique_ptr<char, decltype(&std::free)> current(::getcwd(nullptr, 0), &std::free);
    if (accepted) {
        QCOMPARE(QByteArray(current.get()), folder);
        QVERIFY(reading.Err.isEmpty());
        return;
    }
    QCOMPARE(reading.CommandLine.ExitCode, std::optional<int>(2));
    QVERIFY2(reading.Err.startsWith("lanvo: cannot start in \"" + dir.path()), qPrintable(reading.Err));
    QVERIFY2(reading.Err.contains("\": its name is not valid UTF-8"), qPrintable(reading.Err));
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

void TestCommandLine::programWorksInNamedFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("plain name") << "corvane";
    QTest::newRow("backslash in the name") << "a\\b"; // never read as a separator: no a/b is made
}

// "lanvo FOLDER" started elsewhere: the first start writes the games file in FOLDER, nothing where
// it was started.
void TestCommandLine::programWorksInNamedFolder()
{
    QFETCH(QString, name);
    const QTemporaryDir dir;
    const QString corvane = dir.filePath(name);
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
    QCOMPARE(entriesOf(dir.path()), (QStringList{name, "elsewhere"}));
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

// Started inside a folder whose name is not UTF-8, Lanvo would work in a sibling named with U+FFFD.
void TestCommandLine::programRefusesFolderItCantHold()
{
    const QTemporaryDir dir;
    const QByteArray latin1 = QFile::encodeName(dir.path()) + "/caf\xe9";
    const QByteArray sibling = QFile::encodeName(dir.path()) + "/caf\xef\xbf\xbd";
    ByteNamedFolders made;
    QVERIFY(made.make(latin1));
    QCOMPARE(::mkdir(sibling.constData(), 0700), 0);
    installStandIn(QStringLiteral(CORVANE_STANDIN_PATH), QFile::decodeName(sibling));

    QProcess lanvo;
    lanvo.setProcessEnvironment(environmentWithConfigIn(dir.filePath("config")));
    lanvo.setWorkingDirectory(dir.path());
    // Only a shell can start a program in a folder whose name a QString can't hold.
    lanvo.start(QStringLiteral("/bin/sh"), {"-c", "cd \"$(printf 'caf\\351')\" && exec \"$0\"", QStringLiteral(LANVO_PATH)});
    QVERIFY(lanvo.waitForFinished(60000));
    QCOMPARE(lanvo.exitCode(), 2);
    const QString err = QString::fromUtf8(lanvo.readAllStandardError());
    QVERIFY2(err.startsWith(QString::fromUtf8("lanvo: cannot start in \"") + dir.path()
                            + QString::fromUtf8("/caf\xc3\xa9\": its name is not valid UTF-8")),
             qPrintable(err));
    QCOMPARE(entriesOf(QFile::decodeName(sibling)), QStringList{"corvane.exe"});
    QVERIFY(!QFileInfo::exists(dir.filePath("config")));
    QVERIFY(::chdir(latin1.constData()) == 0);
    QCOMPARE(entriesOf(QStringLiteral(".")), QStringList());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
