#include "Platform.h"
#include "Processes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestPlatform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { adoptOrphans(); }
    void init();
    void cleanup();

    void programSearchOrder_data();
    void programSearchOrder();
    void splitByWindowsRules_data();
    void splitByWindowsRules();
    void quotedWordsComeBackWhole_data();
    void quotedWordsComeBackWhole();
    void runWaitsForTheProgramsEnd();
    void runOfAMissingProgramFails();
    void helperProgramsNeverComeFromTheCurrentFolder_data();
    void helperProgramsNeverComeFromTheCurrentFolder();
    void onlyAbsoluteFoldersStayOnPath_data();
    void onlyAbsoluteFoldersStayOnPath();
    void endingARunEndsItsGroup_data();
    void endingARunEndsItsGroup();
    void killedLanvoLeavesNothingRunning();

private:
    QString m_savedCurrent;
    QByteArray m_savedPath;
};

namespace {

void writeProgram(const QString &path, bool executable = true)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (executable)
        permissions |= QFile::ExeOwner;
    QVERIFY(file.setPermissions(permissions));
}

} // namespace

void TestPlatform::init()
{
    m_savedCurrent = QDir::currentPath();
    m_savedPath = qgetenv("PATH");
}

void TestPlatform::cleanup()
{
    QDir::setCurrent(m_savedCurrent);
    qputenv("PATH", m_savedPath);
}

void TestPlatform::programSearchOrder_data()
{
    // Where corvane.exe lies: "own", "current", "path1", "path2"; a "-" prefix: not executable.
    QTest::addColumn<QStringList>("copies");
    QTest::addColumn<QString>("found"); // empty: not found
    QTest::newRow("own folder first") << QStringList{"own", "current", "path1"} << "own";
    QTest::newRow("then the current folder") << QStringList{"current", "path1"} << "current";
    QTest::newRow("then PATH, in its order") << QStringList{"path2", "path1"} << "path1";
    QTest::newRow("last PATH entry") << QStringList{"path2"} << "path2";
    QTest::newRow("executable only") << QStringList{"-own", "-current", "path2"} << "path2";
    QTest::newRow("nowhere executable") << QStringList{"-own", "-path1"} << "";
    QTest::newRow("nowhere") << QStringList{} << "";
}

void TestPlatform::programSearchOrder()
{
    QFETCH(QStringList, copies);
    QFETCH(QString, found);
    const QTemporaryDir dir;
    for (const QString &place : {"own", "current", "path1", "path2"})
        QVERIFY(QDir().mkpath(dir.filePath(place)));
    for (QString copy : copies) {
        const bool executable = !copy.startsWith('-');
        copy.remove('-');
        writeProgram(dir.filePath(copy + "/corvane.exe"), executable);
    }
    QDir::setCurrent(dir.filePath("current"));
    qputenv("PATH", QFile::encodeName(dir.filePath("path1") + ":" + dir.filePath("path2")));
    const QString expected = found.isEmpty() ? QString() : dir.filePath(found + "/corvane.exe");
    QCOMPARE(findProgram("corvane.exe", dir.filePath("own")), expected);
}

void TestPlatform::splitByWindowsRules_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("words");
    QTest::newRow("blanks separate") << "corvane.exe  -vsync\t-s25 " << QStringList{"corvane.exe", "-vsync", "-s25"};
    QTest::newRow("quotes group") << R"(corvane.exe "/home/me/My Roms/aof3" -vga)"
                                  << QStringList{"corvane.exe", "/home/me/My Roms/aof3", "-vga"};
    QTest::newRow("quote inside a word") << R"(a"b c"d e)" << QStringList{"ab cd", "e"};
    QTest::newRow("empty quoted word") << R"(a "" b)" << QStringList{"a", "", "b"};
    QTest::newRow("doubled quote inside quotes") << R"("say ""hi""")" << QStringList{R"(say "hi")"};
    QTest::newRow("backslashes alone stay") << R"(c:\roms\ d:\\x)" << QStringList{R"(c:\roms\)", R"(d:\\x)"};
    QTest::newRow("2n backslashes, quote groups") << R"("a\\" b)" << QStringList{R"(a\)", "b"};
    QTest::newRow("2n+1 backslashes, literal quote") << R"(a\"b c)" << QStringList{R"(a"b)", "c"};
    QTest::newRow("blanks only") << "  \t " << QStringList{};
    QTest::newRow("unclosed quote runs to the end") << R"(a "b c)" << QStringList{"a", "b c"};
}

void TestPlatform::splitByWindowsRules()
{
    QFETCH(QString, line);
    QFETCH(QStringList, words);
    QCOMPARE(splitWindowsCommandLine(line), words);
}

void TestPlatform::quotedWordsComeBackWhole_data()
{
    QTest::addColumn<QString>("word");
    QTest::newRow("ROM path with blanks") << "/home/me/My Roms/aof3";
    QTest::newRow("ROM path with a tab") << "/roms/a\tb";
    QTest::newRow("trailing backslash with blank") << R"(C:\My Roms\)";
    QTest::newRow("quote and backslashes") << R"(a\\"b c)";
    QTest::newRow("empty") << "";
    QTest::newRow("plain") << "/roms/aof3";
}

void TestPlatform::quotedWordsComeBackWhole()
{
    QFETCH(QString, word);
    const QString line = "corvane.exe " + quoteWindowsArgument(word) + " -vsync";
    QCOMPARE(splitWindowsCommandLine(line), (QStringList{"corvane.exe", word, "-vsync"}));
    if (!word.contains(' ') && !word.contains('\t') && !word.isEmpty())
        QCOMPARE(quoteWindowsArgument(word), word);
}

// The program leaves its mark only a while after it started: a start that does not wait for its end
// finds no mark when it returns, nor when the finished hook runs.
void TestPlatform::runWaitsForTheProgramsEnd()
{
    const QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    const QString mark = dir.filePath("ended");
    bool started = false;
    bool markWhenFinished = false;
    const RunHooks hooks{[&] { started = true; }, [&] { markWhenFinished = QFile::exists(mark); }};
    QVERIFY(runAndWait("/bin/sh", {"-c", "sleep 1; echo done > ended"}, hooks));
    QVERIFY(started);
    QVERIFY(markWhenFinished);
    QVERIFY(QFile::exists(mark)); // written in the current directory
}

void TestPlatform::runOfAMissingProgramFails()
{
    const QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    bool hooked = false;
    const RunHooks hooks{[&] { hooked = true; }, [&] { hooked = true; }};
    QVERIFY(!runAndWait(dir.filePath("absent.exe"), {}, hooks));
    QVERIFY(!hooked);
}

void TestPlatform::helperProgramsNeverComeFromTheCurrentFolder_data()
{
    // PATH entries: "bin", "current" (its absolute path), "." or "" as they are.
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name"); // "<bin>" stands for the absolute path of the bin folder
    QTest::addColumn<bool>("foundInBin");

    QTest::newRow("a name: the folder on PATH") << "bin" << "dosbox" << true;
    QTest::newRow("'.' on PATH is passed over") << ".:bin" << "dosbox" << true;
    QTest::newRow("an empty PATH entry is passed over") << ":bin" << "dosbox" << true;
    QTest::newRow("the current folder by its path is passed over") << "current:bin" << "dosbox" << true;
    QTest::newRow("only in the current folder") << ".:current" << "dosbox" << false;
    QTest::newRow("another letter case is another program") << "bin" << "DOSBox" << false;
    QTest::newRow("a path the user set") << "" << "<bin>/dosbox" << true;
    QTest::newRow("a relative path is no path the user set") << "bin" << "bin/dosbox" << false;
}

// A program named like the helper lies in the current folder (the work folder of a run) in every
// letter case; only the one in "bin" may be found.
void TestPlatform::helperProgramsNeverComeFromTheCurrentFolder()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(bool, foundInBin);
    const QTemporaryDir dir;
    const QString bin = dir.filePath("bin");
    const QString current = dir.filePath("current");
    for (const char *planted : {"dosbox", "DOSBox", "DOSBOX"})
        writeProgram(current + "/" + planted);
    writeProgram(bin + "/dosbox");
    QDir::setCurrent(current);
    QStringList entries = path.split(':');
    for (QString &entry : entries)
        entry = entry == "bin" ? bin : entry == "current" ? current : entry;
    qputenv("PATH", QFile::encodeName(entries.join(':')));
    name.replace("<bin>", bin);
    QCOMPARE(findHelperProgram(name), foundInBin ? bin + "/dosbox" : QString());
}

void TestPlatform::onlyAbsoluteFoldersStayOnPath_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("kept");
    QTest::newRow("absolute folders stay, in order") << QByteArray("/usr/bin:/bin") << QByteArray("/usr/bin:/bin");
    QTest::newRow("'.' and empty entries go") << QByteArray(".:/usr/bin::/bin:") << QByteArray("/usr/bin:/bin");
    QTest::newRow("a folder below the current one goes") << QByteArray("bin:/usr/bin") << QByteArray("/usr/bin");
    QTest::newRow("bytes that are no UTF-8 stay") << QByteArray("/opt/caf\xe9/bin:.") << QByteArray("/opt/caf\xe9/bin");
}

void TestPlatform::onlyAbsoluteFoldersStayOnPath()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, kept);
    qputenv("PATH", path);
    dropRelativeSearchFolders();
    QCOMPARE(qgetenv("PATH"), kept);
}

void TestPlatform::endingARunEndsItsGroup_data()
{
    QTest::addColumn<QString>("script"); // leaves a child running, its id in child.pid
    QTest::addColumn<bool>("endAsked");  // once the child runs, Lanvo asks the run to end

    QTest::newRow("the program ends, its child would stay") << "(trap '' TERM; exec sleep 600) & echo $! > child.pid"
                                                            << false;
    QTest::newRow("end asked while both run") << "sleep 600 & echo $! > child.pid; wait" << true;
    QTest::newRow("end asked, the child ignores it") << "(trap '' TERM; exec sleep 600) & echo $! > child.pid; wait"
                                                     << true;
}

void TestPlatform::endingARunEndsItsGroup()
{
    QFETCH(QString, script);
    QFETCH(bool, endAsked);
    const QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    const QString childFile = dir.filePath("child.pid");
    QTimer poll;
    poll.callOnTimeout([&] {
        if (pidInFile(childFile) > 0) {
            poll.stop();
            QVERIFY(endRunningProgram(100));
        }
    });
    if (endAsked)
        poll.start(10);

    QVERIFY(runAndWait("/bin/sh", {"-c", script}, {}));
    const qint64 child = pidInFile(childFile);
    QVERIFY(child > 0);
    QTRY_VERIFY(processGone(child));
}

// Another copy of this program stands in for Lanvo; killed while the run goes on, it leaves nothing.
void TestPlatform::killedLanvoLeavesNothingRunning()
{
    const QTemporaryDir dir;
    QProcess lanvo;
    lanvo.setWorkingDirectory(dir.path());
    QVERIFY(startSelf(lanvo, {"--run-and-wait", "/bin/sh", "-c", "sleep 600 & echo $! > child.pid; wait"}));
    QTRY_VERIFY(pidInFile(dir.filePath("child.pid")) > 0);
    QTRY_COMPARE(descendantsOf(lanvo.processId()).size(), 3); // the program, its child and the watcher
    const QList<qint64> started = descendantsOf(lanvo.processId());

    QCOMPARE(::kill(pid_t(lanvo.processId()), SIGKILL), 0);
    QVERIFY(lanvo.waitForFinished());
    QTRY_VERIFY(allGone(started));
}

// Waiting for a program runs an event loop, which needs the core application. Started with
// "--run-and-wait PROGRAM ARGUMENTS...", the test program only runs that program, as Lanvo would.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 2 && arguments.at(1) == "--run-and-wait")
        return runAndWait(arguments.at(2), arguments.mid(3), {}) ? 0 : 1;
    TestPlatform test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_platform.moc"
