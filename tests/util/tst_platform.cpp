#include "Platform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Lanvo;

class TestPlatform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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

// Waiting for a program runs an event loop, which needs the core application.
QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
