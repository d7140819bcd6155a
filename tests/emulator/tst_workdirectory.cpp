#include "AlternateFolder.h"
#include "ScopedEnvironment.h"
#include "SecondUser.h"
#include "SettingsFile.h"
#include "TestFakes.h"
#include "WorkDirectory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestWorkDirectory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { m_other = std::make_unique<SecondUser>(); }
    void cleanupTestCase() { m_other.reset(); }
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void writableStartDirectoryIsTheWorkDirectory();
    void readOnlyStartCopiesIntoNewAlternateDirectory();
    void secondStartCopiesNothingAgain();
    void alternateDirectoryComesFromStartSettings_data();
    void alternateDirectoryComesFromStartSettings();
    void writeProtectedAlternateEndsTheProgram();
    void failedCopyIsReportedAndStartGoesOn();
    void folderInACopysWayIsACopyFailure_data();
    void folderInACopysWayIsACopyFailure();
    void newAlternateIsPrivate();
    void unsafeAlternateIsRefusedBeforeAnyCopy_data();
    void unsafeAlternateIsRefusedBeforeAnyCopy();
    void defaultAlternateIsPerUser();
    void copiesStayTrustedUnderAGroupUmask();
    void settingsWrittenUnderAGroupUmaskStayTrusted();
    void alternateNameQtCantHoldIsRefused();

private:
    // Everything but the start directory can be written: stands for a read-only medium.
    static WorkDirectoryDecision::MarkerTest readOnlyStart(const QString &start)
    {
        return [start](const QString &dir) { return dir != start && createWritabilityMarker(dir); };
    }

    QString m_savedCurrent;
    std::unique_ptr<SecondUser> m_other;
};

void TestWorkDirectory::writableStartDirectoryIsTheWorkDirectory()
{
    const QTemporaryDir dir;
    TCorvane emulator(nullptr, dir.path());
    RecordingPrompts prompts;
    writeFile(dir.filePath("corvane.exe"), "MZ");
    WorkDirectoryDecision decision(emulator, prompts);
    QVERIFY(decision.decide());
    QCOMPARE(emulator.WorkDir, dir.path());
    QCOMPARE(emulator.InstallType(), itHD);
    QCOMPARE(QDir::currentPath(), m_savedCurrent);
    QVERIFY(!QFile::exists(dir.filePath("lanvo.___")));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"corvane.exe"});
    QVERIFY(prompts.Messages.isEmpty());
}

void TestWorkDirectory::readOnlyStartCopiesIntoNewAlternateDirectory()
{
    const QTemporaryDir dir;
    const QString start = dir.filePath("cd");
    const QString alternate = dir.filePath("deep/alt/dir");
    for (const char *name : {"corvane.exe", "dos4gw.exe", "corinit.dat", "Keydef.dat"})
        writeFile(start + "/" + name, name);
    writeFile(start + "/Lanvo.ini", "[Lanvo]\r\nAltPath=" + alternate.toUtf8() + "\r\n");
    TCorvane emulator(nullptr, start);
    RecordingPrompts prompts;
    WorkDirectoryDecision decision(emulator, prompts);
    decision.setMarkerTest(readOnlyStart(start));
    QVERIFY(decision.decide());
    QCOMPARE(emulator.WorkDir, alternate);
    QCOMPARE(emulator.InstallType(), itCDRom);
    QCOMPARE(emulator.AltPath, (TPath{alternate, alternate}));
    QCOMPARE(QDir::currentPath(), alternate);
    for (const char *name : {"corvane.exe", "dos4gw.exe", "corinit.dat", "Keydef.dat"})
        QCOMPARE(readFile(alternate + "/" + name), QByteArray(name));
    QCOMPARE(readFile(alternate + "/Lanvo.ini"), readFile(start + "/Lanvo.ini"));
    QVERIFY(!QFile::exists(alternate + "/lanvo.___"));
    QVERIFY(prompts.Messages.isEmpty());
}

void TestWorkDirectory::secondStartCopiesNothingAgain()
{
    const QTemporaryDir dir;
    const QString start = dir.filePath("cd");
    const QString alternate = dir.filePath("alt");
    writeFile(start + "/Lanvo.ini", "[Lanvo]\nAltPath=" + alternate.toUtf8() + "\n");
    writeFile(start + "/corinit.dat", "original");
    writeFile(alternate + "/corinit.dat", "changed by the user");
    writeFile(alternate + "/Lanvo.ini", "[Lanvo]\nVga=ON\n");
    TCorvane emulator(nullptr, start);
    RecordingPrompts prompts;
    WorkDirectoryDecision decision(emulator, prompts);
    decision.setMarkerTest(readOnlyStart(start));
    QVERIFY(decision.decide());
    QCOMPARE(readFile(alternate + "/corinit.dat"), QByteArray("changed by the user"));
    QCOMPARE(readFile(alternate + "/Lanvo.ini"), QByteArray("[Lanvo]\nVga=ON\n"));
    QVERIFY(!QFile::exists(alternate + "/Keydef.dat")); // missing at the start: skipped quietly
    QVERIFY(prompts.Messages.isEmpty());
}

void TestWorkDirectory::alternateDirectoryComesFromStartSettings_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("expected"); // "@" stands for the start directory
    QTest::newRow("no settings file") << QByteArray() << "@/default-alt";
    QTest::newRow("relative name") << QByteArray("[Lanvo]\nAltPath=work\n") << "@/work";
    QTest::newRow("windows separators") << QByteArray("[Lanvo]\nAltPath=.\\a\\b\\\n") << "@/a/b";
    QTest::newRow("absolute: a backslash is part of a name") << QByteArray("[Lanvo]\nAltPath=@/a\\b\n") << "@/a\\b";
}

void TestWorkDirectory::alternateDirectoryComesFromStartSettings()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, expected);
    const QTemporaryDir dir;
    if (!settings.isEmpty())
        writeFile(dir.filePath("Lanvo.ini"), settings.replace("@", QFile::encodeName(dir.path())));
    TCorvane emulator(nullptr, dir.path());
    RecordingPrompts prompts;
    WorkDirectoryDecision decision(emulator, prompts);
    decision.setDefaultAlternateDirectory(dir.filePath("default-alt"));
    QVERIFY(decision.decide()); // writable: only the reading matters here
    expected.replace("@", dir.path());
    QCOMPARE(emulator.AltPath, (TPath{expected, expected}));
}

void TestWorkDirectory::writeProtectedAlternateEndsTheProgram()
{
    const QTemporaryDir dir;
    const QString start = dir.filePath("cd");
    const QString alternate = dir.filePath("alt");
    writeFile(start + "/Lanvo.ini", "[Lanvo]\nAltPath=" + alternate.toUtf8() + "\n");
    TCorvane emulator(nullptr, start);
    RecordingPrompts prompts;
    WorkDirectoryDecision decision(emulator, prompts);
    decision.setMarkerTest([](const QString &) { return false; });
    QVERIFY(!decision.decide());
    QCOMPARE(prompts.texts(), QStringList{"Alternate path is write protected!(" + alternate + ")"});
    QCOMPARE(prompts.Messages.first().Kind, PromptKind::Error);
    QCOMPARE(QDir::currentPath(), m_savedCurrent);
}

void TestWorkDirectory::failedCopyIsReportedAndStartGoesOn()
{
    const QTemporaryDir dir;
    const QString start = dir.filePath("cd");
    const QString alternate = dir.filePath("alt");
    writeFile(start + "/Lanvo.ini", "[Lanvo]\nAltPath=" + alternate.toUtf8() + "\n");
    makeDirectory(start + "/dos4gw.exe"); // unreadable as a file: its copy fails
    writeFile(start + "/corvane.exe", "MZ");
    makeDirectory(start + "/corinit.dat");
    TCorvane emulator(nullptr, start);
    RecordingPrompts prompts;
    WorkDirectoryDecision decision(emulator, prompts);
    decision.setMarkerTest(readOnlyStart(start));
    // A directory in place of a file is no file: nothing to copy, nothing to say.
    QVERIFY(decision.decide());
    QVERIFY(prompts.Messages.isEmpty());
    QVERIFY(QFile::exists(alternate + "/corvane.exe"));

    // A file that can't be read is reported with its own text, and the next one is still copied.
    const QTemporaryDir second;
    const QString start2 = second.filePath("cd");
    const QString alternate2 = second.filePath("alt");
    writeFile(start2 + "/Lanvo.ini", "[Lanvo]\nAltPath=" + alternate2.toUtf8() + "\n");
    writeFile(start2 + "/Keydef.dat", "keys");
    makeDirectory(alternate2);
    QVERIFY(QFile::link("/proc/self/mem", start2 + "/dos4gw.exe")); // exists, but reading it fails
    TCorvane emulator2(nullptr, start2);
    WorkDirectoryDecision decision2(emulator2, prompts);
    decision2.setMarkerTest(readOnlyStart(start2));
    QVERIFY(decision2.decide());
    QCOMPARE(prompts.texts(), QStringList{"Error while copying dos4gw.exe to " + alternate2 + "."});
    QCOMPARE(readFile(alternate2 + "/Keydef.dat"), QByteArray("keys"));
}

void TestWorkDirectory::folderInACopysWayIsACopyFailure_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text"); // %1 is the work directory
    QTest::newRow("emulator") << "corvane.exe" << "Error while copying corvane to %1.";
    QTest::newRow("extender") << "dos4gw.exe" << "Error while copying dos4gw.exe to %1.";
    QTest::newRow("initialisation file") << "corinit.dat" << "Error while copying corinit.dat to %1.";
    QTest::newRow("settings file") << "Lanvo.ini" << "Error while copying Lanvo.ini to %1.";
    QTest::newRow("key definitions") << "Keydef.dat" << "Error while copying Keydef.dat to %1.";
}

// A folder named like one of the files is in its way: the copy fails with its box, nothing is
// written inside the folder, and the other files are still copied.
void TestWorkDirectory::folderInACopysWayIsACopyFailure()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    const QTemporaryDir dir;
    const QString start = dir.filePath("cd");
    const QString alternate = dir.filePath("alt");
    const QStringList names{"corvane.exe", "dos4gw.exe", "corinit.dat", "Keydef.dat"};
    for (const QString &file : names)
        writeFile(start + "/" + file, file.toUtf8());
    writeFile(start + "/Lanvo.ini", "[Lanvo]\nAltPath=" + alternate.toUtf8() + "\n");
    makeDirectory(alternate + "/" + name);
    TCorvane emulator(nullptr, start);
    RecordingPrompts prompts;
    WorkDirectoryDecision decision(emulator, prompts);
    decision.setMarkerTest(readOnlyStart(start));
    QVERIFY(decision.decide());
    QCOMPARE(prompts.texts(), QStringList{text.arg(alternate)});
    QCOMPARE(QDir(alternate + "/" + name).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
    for (const QString &file : names + QStringList{"Lanvo.ini"}) {
        if (file != name)
            QCOMPARE(readFile(alternate + "/" + file), readFile(start + "/" + file));
    }
}

void TestWorkDirectory::newAlternateIsPrivate()
{
    const QTemporaryDir dir;
    const QString start = dir.filePath("cd");
    const QString alternate = dir.filePath("alt");
    writeFile(start + "/Lanvo.ini", "[Lanvo]\nAltPath=" + alternate.toUtf8() + "\n");
    TCorvane emulator(nullptr, start);
    RecordingPrompts prompts;
    WorkDirectoryDecision decision(emulator, prompts);
    decision.setMarkerTest(readOnlyStart(start));
    QVERIFY(decision.decide());
    QCOMPARE(QFileInfo(alternate).permissions() & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser),
             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestWorkDirectory::unsafeAlternateIsRefusedBeforeAnyCopy_data()
{
    QTest::addColumn<QString>("unsafe"); // relative to the alternate directory; "." is the directory
    QTest::addColumn<QString>("change"); // "give" to the second user, "acl" for him, or a mode
    QTest::addColumn<QString>("reason");

    QTest::newRow("directory writable by all") << "." << "0777" << "can be written by every user";
    QTest::newRow("directory of the user's own group") << "." << "0770" << "can be written by its group";
    QTest::newRow("directory of another user") << "." << "give" << "belongs to another user";
    QTest::newRow("access list on the directory") << "." << "acl" << "has an access list that lets other users write it";
    QTest::newRow("parent of another user, in /tmp") << ".." << "give" << "is not your own, in a folder every user may write";
    QTest::newRow("emulator writable by all") << "corvane.exe" << "0666" << "can be written by every user";
    QTest::newRow("emulator of another user") << "corvane.exe" << "give" << "belongs to another user";
    QTest::newRow("emulator in another case") << "CORVANE.EXE" << "give" << "belongs to another user";
    QTest::newRow("link planted by another user") << "dos4gw.exe" << "give" << "is a link that belongs to another user";
    QTest::newRow("settings its group may write") << "Lanvo.ini" << "0660" << "can be written by its group";
    QTest::newRow("BIOS file of another user") << "SFIX.ROM" << "give" << "belongs to another user";
}

// Another user's planted emulator is never copied over, run, or even kept in use.
void TestWorkDirectory::unsafeAlternateIsRefusedBeforeAnyCopy()
{
    QFETCH(QString, unsafe);
    QFETCH(QString, change);
    QFETCH(QString, reason);
    if ((change == "give" || change == "acl") && !m_other->valid())
        QSKIP("needs a second user, which only root can make");
    const QTemporaryDir dir;
    const QString start = dir.filePath("cd");
    const QString alternate = dir.filePath("alt");
    writeFile(start + "/Lanvo.ini", "[Lanvo]\r\nAltPath=" + alternate.toUtf8() + "\r\n");
    writeFile(start + "/Keydef.dat", "keys");
    makeDirectory(alternate);
    const QString target = QDir::cleanPath(alternate + "/" + unsafe);
    if (unsafe.startsWith("dos4gw"))
        QVERIFY(QFile::link(start + "/Keydef.dat", target));
    else if (!unsafe.startsWith("."))
        writeFile(target, "MZ planted");
    const QByteArray name = QFile::encodeName(target);
    if (change == "give")
        QVERIFY(m_other->take(target));
    else if (change == "acl")
        QVERIFY(runTool("setfacl", {"-m", "u:" + m_other->name() + ":rwx", target}));
    else
        QCOMPARE(::chmod(name.constData(), change.toUInt(nullptr, 8)), 0);

    TCorvane emulator(nullptr, start);
    RecordingPrompts prompts;
    WorkDirectoryDecision decision(emulator, prompts);
    decision.setMarkerTest(readOnlyStart(start));
    QVERIFY(!decision.decide());
    QCOMPARE(prompts.Messages.size(), 1);
    const QString text = prompts.texts().first();
    QVERIFY2(text.startsWith("Alternate path is not safe!(" + alternate + ") " + target + " " + reason), qPrintable(text));
    QVERIFY2(text.contains("AltPath in " + start + "/Lanvo.ini"), qPrintable(text)); // what to do
    QCOMPARE(prompts.Messages.first().Kind, PromptKind::Error);
    QVERIFY(!QFile::exists(alternate + "/Keydef.dat")); // nothing copied
    QCOMPARE(QDir::currentPath(), m_savedCurrent);
}

void TestWorkDirectory::defaultAlternateIsPerUser()
{
    const ScopedEnvironment cache("XDG_CACHE_HOME", "/somewhere/cache");
    const ScopedEnvironment home("HOME", "/home/someone");
    const QString fromCache = defaultAlternateDirectory();
    qputenv("XDG_CACHE_HOME", "relative/is/ignored");
    const QString relative = defaultAlternateDirectory();
    qunsetenv("XDG_CACHE_HOME");
    const QString fromHome = defaultAlternateDirectory();
    QCOMPARE(fromCache, "/somewhere/cache/lanvo");
    QCOMPARE(relative, "/home/someone/.cache/lanvo");
    QCOMPARE(fromHome, "/home/someone/.cache/lanvo");
}

// Copies made under a umask that lets the group write are still the user's alone, so the next start
// does not refuse what Lanvo itself put there; missing parents are made private too.
void TestWorkDirectory::copiesStayTrustedUnderAGroupUmask()
{
    const QTemporaryDir dir;
    const QString start = dir.filePath("cd");
    const QString alternate = dir.filePath("deep/alt");
    writeFile(start + "/Lanvo.ini", "[Lanvo]\nAltPath=" + alternate.toUtf8() + "\n");
    writeFile(start + "/corvane.exe", "MZ");
    QVERIFY(QFile::setPermissions(start + "/corvane.exe", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    writeFile(start + "/corinit.dat", "init");
    const mode_t saved = ::umask(002);
    for (int run = 0; run < 2; ++run) {
        TCorvane emulator(nullptr, start);
        RecordingPrompts prompts;
        WorkDirectoryDecision decision(emulator, prompts);
        decision.setMarkerTest(readOnlyStart(start));
        QVERIFY(decision.decide());
        QVERIFY2(prompts.Messages.isEmpty(), qPrintable(prompts.texts().join('\n')));
    }
    ::umask(saved);
    QCOMPARE(QFileInfo(dir.filePath("deep")).permissions() & (QFile::WriteGroup | QFile::WriteOther), 0);
    QVERIFY(QFileInfo(alternate + "/corvane.exe").isExecutable());
    QCOMPARE(readFile(alternate + "/corinit.dat"), QByteArray("init"));
}

// Settings Lanvo writes into the alternate folder for the first time, with no settings in the start
// folder to copy, are not left group-writable by the umask: the next start would refuse them.
void TestWorkDirectory::settingsWrittenUnderAGroupUmaskStayTrusted()
{
    const QTemporaryDir dir;
    const QString start = dir.filePath("cd");
    writeFile(start + "/corvane.exe", "MZ");
    QVERIFY(QFile::setPermissions(start + "/corvane.exe", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const ScopedEnvironment cache("XDG_CACHE_HOME", dir.filePath("cache").toUtf8());
    const mode_t saved = ::umask(002);
    QStringList shown;
    for (int run = 0; run < 2; ++run) {
        TCorvane emulator(nullptr, start);
        RecordingPrompts prompts;
        WorkDirectoryDecision decision(emulator, prompts);
        decision.setMarkerTest(readOnlyStart(start));
        const bool decided = decision.decide();
        shown << prompts.texts();
        if (decided)
            WriteSettingsFile(emulator, WindowSettings{}, false);
    }
    ::umask(saved);
    QVERIFY2(shown.isEmpty(), qPrintable(shown.join('\n')));
    const QFileInfo settings(dir.filePath("cache/lanvo/Lanvo.ini"));
    QVERIFY(settings.isFile());
    QCOMPARE(settings.permissions() & (QFile::WriteGroup | QFile::WriteOther), 0);
    QVERIFY(settings.permissions() & QFile::ReadGroup); // what the umask allows besides writing stays
}

// A name that is not valid UTF-8 would be read as another folder: refused before anything is made.
void TestWorkDirectory::alternateNameQtCantHoldIsRefused()
{
    const QTemporaryDir dir;
    const QString start = dir.filePath("cd");
    writeFile(start + "/Lanvo.ini", "[Lanvo]\nAltPath=caf\xe9\n");
    writeFile(start + "/corvane.exe", "MZ");
    TCorvane emulator(nullptr, start);
    RecordingPrompts prompts;
    WorkDirectoryDecision decision(emulator, prompts);
    decision.setMarkerTest(readOnlyStart(start));
    QVERIFY(!decision.decide());
    QCOMPARE(prompts.Messages.size(), 1);
    QVERIFY2(prompts.texts().first().startsWith(QString::fromUtf8("Alternate path caf\xc3\xa9 can't be used: its name "
                                                                  "is not valid UTF-8")),
             qPrintable(prompts.texts().first()));
    QCOMPARE(QDir(start).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), (QStringList{"corvane.exe", "Lanvo.ini"}));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"cd"});
}

QTEST_APPLESS_MAIN(TestWorkDirectory)
#include "tst_workdirectory.moc"
