#include "Corvane.h"
#include "LanvoError.h"
#include "SettingsFile.h"
#include "StandIn.h"
#include "TestFakes.h"
#include "WorkDirectory.h"
#include "ZipArchive.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestLaunch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_savedCurrent = QDir::currentPath();
        m_savedPath = qgetenv("PATH");
    }
    void cleanup()
    {
        QDir::setCurrent(m_savedCurrent);
        qputenv("PATH", m_savedPath);
    }

    void commandLine_data();
    void commandLine();
    void initBytesForEveryRegionAndMachine_data();
    void initBytesForEveryRegionAndMachine();
    void biosSelectedReplacesStaleFiles();
    void readOnlyInstallWithoutBiosTakesStartFiles();
    void writableInstallWithoutBiosLeavesFiles();
    void vanishedBiosSetIsReportedBeforeDeleting();
    void biosNameReachingOutIsRefused();
    void folderInABiosFilesWayFailsTheRun_data();
    void folderInABiosFilesWayFailsTheRun();
    void currentDirectoryOfTheRun_data();
    void currentDirectoryOfTheRun();
    void zipFirstAndSecondRun();
    void badArchives_data();
    void badArchives();
    void entryBeyondTheCapIsReported();
    void reportedArchivesStillResetAttributes_data();
    void reportedArchivesStillResetAttributes();
    void extractionNeverFollowsLinksOnDisk();
    void romSetNameReachingOutIsRefused();
    void missingEmulatorStartsNothing();
    void hooksMinimiseAndRestore();
    void additionalParametersKeepTheirBytes();
    void emulatorOutsideTheStartFolderMustBeTrusted_data();
    void emulatorOutsideTheStartFolderMustBeTrusted();
    void alternateFolderChangedAfterStartRunsNothing();

private:
    struct Fixture
    {
        QTemporaryDir Dir;
        std::unique_ptr<TCorvane> Emulator;
        RecordingPrompts Prompts;
        TGame Game;

        Fixture()
        {
            Emulator = std::make_unique<TCorvane>(nullptr, Dir.path());
            Emulator->WorkDir = Dir.path();
            Emulator->SetInstallType(itHD);
            Emulator->Prompts = &Prompts;
            installStandIn(QStringLiteral(CORVANE_STANDIN_PATH), Dir.path());
            writeFile(Dir.filePath("corinit.dat"), QByteArray(32, '\0'));
            Game.Name = QStringLiteral("Art Of Fighting 3");
            Game.RomSet = QStringLiteral("aof3");
            setFound(rlDirectory, Dir.filePath("roms"));
            makeDirectory(Dir.filePath("roms/aof3"));
            Emulator->CurrentGame = &Game;
        }
        void setFound(TRomLocation location, const QString &romDir)
        {
            Game.Location = location;
            Game.FoundDir = romDir;
        }
        // The emulator works in its current directory: the extraction directory of a zipped set.
        QString runDirectory() const
        {
            return Emulator->ZipSupport && Game.Location == rlZip ? Dir.filePath(Game.RomSet) : Dir.path();
        }
        StandInRun lastRun() const
        {
            const QList<StandInRun> runs = readStandInLog(runDirectory());
            return runs.isEmpty() ? StandInRun() : runs.last();
        }
        int runCount() const { return int(readStandInLog(runDirectory()).size()); }
        QStringList workFiles(const QString &pattern) const
        {
            return QDir(Dir.path()).entryList({pattern}, QDir::Files, QDir::Name);
        }
    };

    // An extracted ROM set is run from its own directory: the emulator is then found through PATH.
    static void findStandInThroughPath(const Fixture &f)
    {
        qputenv("PATH", QFile::encodeName(f.Dir.path()) + ':' + qgetenv("PATH"));
    }

    QString m_savedCurrent;
    QByteArray m_savedPath;
};

void TestLaunch::commandLine_data()
{
    QTest::addColumn<QString>("options"); // v f<n> vga noanalyse modex s<mode> and "+text"
    QTest::addColumn<QString>("line");    // "@" is the ROM set path
    QTest::addColumn<QStringList>("words");

    QTest::newRow("defaults") << "v s1" << "corvane.exe @ -v -s " << QStringList{"-v", "-s"};
    QTest::newRow("all off, trailing space") << "s0" << "corvane.exe @ " << QStringList{};
    QTest::newRow("every switch in order") << "v f3 vga modex s3 +-x extra" << "corvane.exe @ -v -f3 -vga -modex -s50 -x extra"
                                           << QStringList{"-v", "-f3", "-vga", "-modex", "-s50", "-x", "extra"};
    QTest::newRow("all on") << "v f4 vga noanalyse modex s4"
                            << "corvane.exe @ -v -f4 -vga -noanalyse -modex -s100 "
                            << QStringList{"-v", "-f4", "-vga", "-noanalyse", "-modex", "-s100"};
    QTest::newRow("frame count glued") << "f2 s2" << "corvane.exe @ -f2 -s25 " << QStringList{"-f2", "-s25"};
    QTest::newRow("quotes and shell characters stay words")
        << "s0 +\"two words\" $HOME;rm -rf x 'q' `id` |&"
        << "corvane.exe @ \"two words\" $HOME;rm -rf x 'q' `id` |&"
        << QStringList{"two words", "$HOME;rm", "-rf", "x", "'q'", "`id`", "|&"};
}

void TestLaunch::commandLine()
{
    QFETCH(QString, options);
    QFETCH(QString, line);
    QFETCH(QStringList, words);
    Fixture f;
    TCorvane &e = *f.Emulator;
    e.Vsync = e.Frameskip = e.Vga = e.Noanalysis = e.Modex = false;
    const qsizetype plus = options.indexOf('+');
    if (plus >= 0) {
        e.AdditionalParameters = options.mid(plus + 1);
        options = options.left(plus);
    }
    for (const QString &option : options.split(' ', Qt::SkipEmptyParts)) {
        if (option == "v")
            e.Vsync = true;
        else if (option == "vga")
            e.Vga = true;
        else if (option == "noanalyse")
            e.Noanalysis = true;
        else if (option == "modex")
            e.Modex = true;
        else if (option.startsWith('f'))
            e.Frameskip = true, e.FrameskipValue = option.mid(1).toInt();
        else if (option.startsWith('s'))
            e.Scanlines = TScanLines(option.mid(1).toInt());
    }
    e.Run();
    const QString romSet = f.Dir.filePath("roms/aof3");
    QCOMPARE(e.CommandLine, QString(line).replace("@", romSet));
    QCOMPARE(f.lastRun().Arguments, QStringList{romSet} + words);
}

void TestLaunch::initBytesForEveryRegionAndMachine_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("system");
    QTest::addColumn<QString>("byte18");
    QTest::addColumn<QString>("byte19");
    QTest::newRow("us arcade") << int(glUs) << int(ctArcade) << "1" << "128";
    QTest::newRow("us console") << int(glUs) << int(ctConsole) << "1" << "0";
    QTest::newRow("european arcade") << int(glEuropean) << int(ctArcade) << "2" << "128";
    QTest::newRow("european console") << int(glEuropean) << int(ctConsole) << "2" << "0";
    QTest::newRow("japanese arcade") << int(glJapaneze) << int(ctArcade) << "0" << "128";
    QTest::newRow("japanese console") << int(glJapaneze) << int(ctConsole) << "0" << "0";
}

void TestLaunch::initBytesForEveryRegionAndMachine()
{
    QFETCH(int, language);
    QFETCH(int, system);
    QFETCH(QString, byte18);
    QFETCH(QString, byte19);
    Fixture f;
    f.Emulator->Language = TGameLanguage(language);
    f.Emulator->System = TConsoleType(system);
    f.Emulator->Run();
    QCOMPARE(f.lastRun().Byte18, byte18);
    QCOMPARE(f.lastRun().Byte19, byte19);
    QCOMPARE(readFile(f.Dir.filePath("corinit.dat")).size(), 32);
}

void TestLaunch::biosSelectedReplacesStaleFiles()
{
    Fixture f;
    const QString set = f.Emulator->BiosDir() + "/euro";
    writeFile(set + "/main.rom", "euro main");
    writeFile(set + "/SFIX.ROM", "euro fix");
    writeFile(set + "/font.gdb", "euro font");
    writeFile(set + "/readme.txt", "not a bios file");
    writeFile(f.Dir.filePath("stale.rom"), "old");
    writeFile(f.Dir.filePath("main.rom"), "old main");
    writeFile(f.Dir.filePath("stale.gdb"), "old");
    f.Emulator->Bios = QStringLiteral("euro");
    f.Emulator->Run();
    QCOMPARE(f.workFiles("*.rom"), (QStringList{"SFIX.ROM", "main.rom"}));
    QCOMPARE(f.workFiles("*.gdb"), QStringList{"font.gdb"});
    QCOMPARE(readFile(f.Dir.filePath("main.rom")), QByteArray("euro main"));
    QVERIFY(!QFile::exists(f.Dir.filePath("readme.txt")));
    QCOMPARE(f.runCount(), 1);
}

void TestLaunch::readOnlyInstallWithoutBiosTakesStartFiles()
{
    Fixture f;
    const QString start = f.Dir.filePath("cd");
    makeDirectory(start);
    writeFile(start + "/cd.rom", "from the medium");
    writeFile(start + "/cd.gdb", "from the medium");
    TCorvane emulator(nullptr, start);
    emulator.WorkDir = f.Dir.path();
    emulator.SetInstallType(itCDRom);
    emulator.CurrentGame = &f.Game;
    writeFile(f.Dir.filePath("stale.rom"), "old");
    emulator.Run();
    QCOMPARE(f.workFiles("*.rom"), QStringList{"cd.rom"});
    QCOMPARE(f.workFiles("*.gdb"), QStringList{"cd.gdb"});
}

void TestLaunch::writableInstallWithoutBiosLeavesFiles()
{
    Fixture f;
    writeFile(f.Dir.filePath("mine.rom"), "kept");
    writeFile(f.Dir.filePath("mine.gdb"), "kept");
    f.Emulator->Run();
    QCOMPARE(f.workFiles("*.rom"), QStringList{"mine.rom"});
    QCOMPARE(readFile(f.Dir.filePath("mine.gdb")), QByteArray("kept"));
    QCOMPARE(f.runCount(), 1);
}

void TestLaunch::vanishedBiosSetIsReportedBeforeDeleting()
{
    Fixture f;
    writeFile(f.Dir.filePath("current.rom"), "kept");
    f.Emulator->Bios = QStringLiteral("gone");
    try {
        f.Emulator->Run();
        QFAIL("no error for a vanished BIOS set");
    } catch (const LanvoError &error) {
        QVERIFY2(error.message().contains("gone"), qPrintable(error.message()));
    }
    QCOMPARE(f.workFiles("*.rom"), QStringList{"current.rom"});
    QCOMPARE(f.runCount(), 0);
    QCOMPARE(f.Prompts.BusyDepth, 0);
}

void TestLaunch::biosNameReachingOutIsRefused()
{
    Fixture f;
    writeFile(f.Dir.filePath("current.rom"), "kept");
    writeFile(f.Dir.filePath("outside/evil.rom"), "evil");
    f.Emulator->Bios = QStringLiteral("../../outside");
    QVERIFY_THROWS_EXCEPTION(LanvoError, f.Emulator->Run());
    QCOMPARE(f.workFiles("*.rom"), QStringList{"current.rom"});
    QCOMPARE(f.runCount(), 0);
}

void TestLaunch::folderInABiosFilesWayFailsTheRun_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("rom file") << "main.rom";
    QTest::newRow("gdb file") << "font.gdb";
}

// A folder named like a BIOS file is not a place to copy into: the run stops with the copy error
// and the folder stays empty.
void TestLaunch::folderInABiosFilesWayFailsTheRun()
{
    QFETCH(QString, name);
    Fixture f;
    const QString set = f.Emulator->BiosDir() + "/euro";
    writeFile(set + "/main.rom", "euro main");
    writeFile(set + "/font.gdb", "euro font");
    const QString inTheWay = f.Dir.filePath(name);
    makeDirectory(inTheWay);
    f.Emulator->Bios = QStringLiteral("euro");
    try {
        f.Emulator->Run();
        QFAIL("the copy onto a folder succeeded");
    } catch (const LanvoError &error) {
        QCOMPARE(error.message(), QString("Impossible de créer le fichier " + inTheWay));
    }
    QCOMPARE(QDir(inTheWay).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    QCOMPARE(f.runCount(), 0);
    QCOMPARE(f.Prompts.BusyDepth, 0);
}

void TestLaunch::currentDirectoryOfTheRun_data()
{
    QTest::addColumn<bool>("zipped");
    QTest::addColumn<bool>("zipSupport");
    QTest::addColumn<QString>("cwd");      // relative to the work directory
    QTest::addColumn<QString>("argument"); // relative to the temporary directory
    QTest::newRow("directory") << false << false << "" << "roms/aof3";
    QTest::newRow("zip without zip support") << true << false << "" << "roms/aof3.zip";
    QTest::newRow("zip with zip support") << true << true << "/aof3" << "aof3";
}

void TestLaunch::currentDirectoryOfTheRun()
{
    QFETCH(bool, zipped);
    QFETCH(bool, zipSupport);
    QFETCH(QString, cwd);
    QFETCH(QString, argument);
    Fixture f;
    if (zipped) {
        writeZip(f.Dir.filePath("roms/aof3.zip"), {{"aof3.p1", "program"}});
        f.setFound(rlZip, f.Dir.filePath("roms"));
    }
    f.Emulator->ZipSupport = zipSupport;
    findStandInThroughPath(f);
    QDir::setCurrent(QDir::tempPath());
    f.Emulator->Run();
    QCOMPARE(f.lastRun().CurrentDirectory, f.Dir.path() + cwd);
    QCOMPARE(f.lastRun().Arguments.first(), f.Dir.filePath(argument));
    QCOMPARE(QDir::currentPath(), f.Dir.path() + cwd);
}

void TestLaunch::zipFirstAndSecondRun()
{
    Fixture f;
    writeZip(f.Dir.filePath("roms/aof3.zip"), {{"aof3.p1", "program"}, {"sub/dir/aof3.m1", "sound"}});
    f.setFound(rlZip, f.Dir.filePath("roms"));
    f.Emulator->ZipSupport = true;
    findStandInThroughPath(f);
    f.Emulator->Run();
    const QString extraction = f.Dir.filePath("aof3");
    QCOMPARE(QDir(extraction).entryList({"aof3.*"}, QDir::Files, QDir::Name), (QStringList{"aof3.m1", "aof3.p1"}));
    QVERIFY(QFile::permissions(extraction + "/aof3.p1") & QFile::WriteOwner);
    writeFile(extraction + "/aof3.p1", "patched by the user");
    f.Emulator->Run(); // the directory is used as it is; nothing is overwritten
    QCOMPARE(readFile(extraction + "/aof3.p1"), QByteArray("patched by the user"));
    QCOMPARE(f.runCount(), 2);
    QVERIFY(f.Prompts.Messages.isEmpty());
}

namespace {

// A zip whose central directory places its first entry's header beyond the end of the file.
void writeZipWithEntryPastTheEnd(const QString &path, const QList<ZipEntry> &entries)
{
    writeZip(path, entries);
    QByteArray bytes = readFile(path);
    const qsizetype central = bytes.indexOf("PK\x01\x02");
    QVERIFY(central > 0);
    const char beyond[4] = {'\x00', '\x00', '\x00', '\x70'};
    bytes.replace(central + 42, 4, QByteArray(beyond, 4));
    writeFile(path, bytes);
}

} // namespace

void TestLaunch::badArchives_data()
{
    QTest::addColumn<QByteArray>("raw");           // the archive's bytes, "<missing>", "<empty>", or empty for the entries
    QTest::addColumn<QList<ZipEntry>>("entries"); // otherwise these entries
    QTest::addColumn<QStringList>("extracted");
    QTest::addColumn<QString>("message");          // what the user is told; "ERROR:" when Run throws
    QTest::addColumn<bool>("runs");

    const QList<ZipEntry> none;
    QTest::newRow("missing archive") << QByteArray("<missing>") << none << QStringList{} << "Error - no zip file specified"
                                     << true;
    QTest::newRow("zero bytes") << QByteArray("<empty>") << none << QStringList{} << "No valid zip entries found 1"
                                << true;
    QTest::newRow("not a zip") << QByteArray("just some text, no archive at all") << none << QStringList{}
                               << "No valid zip entries found 1" << true;
    QTest::newRow("another format") << QByteArray("\x89PNG\r\n\x1a\n" + QByteArray(64, '\0')) << none
                                    << QStringList{} << "No valid zip entries found 1" << true;
    QTest::newRow("entry header past the end") << QByteArray("<header past the end>") << QList<ZipEntry>{{"a", "a"}}
                                               << QStringList{} << "ERROR:Error reading Zip File" << false;
    QTest::newRow("empty archive") << QByteArray("PK\x05\x06" + QByteArray(18, '\0')) << none << QStringList{}
                                   << "No valid zip entries found 1" << true;
    QTest::newRow("reaching out") << QByteArray()
                                  << QList<ZipEntry>{{"../evil", "x"}, {"/abs/olute", "y"}, {"..\\win", "z"}}
                                  << QStringList{"evil", "olute", "win"} << "" << true;
    QTest::newRow("duplicates keep the first") << QByteArray()
                                               << QList<ZipEntry>{{"a/same", "first"}, {"b/same", "second"}}
                                               << QStringList{"same"} << "" << true;
    QTest::newRow("dot names and directories skipped")
        << QByteArray() << QList<ZipEntry>{{"dir/", ""}, {"x/..", "x"}, {"y/.", "y"}, {"ok", "ok"}}
        << QStringList{"ok"} << "" << true;
    QTest::newRow("links skipped") << QByteArray()
                                   << QList<ZipEntry>{{"link", "/etc/passwd", true}, {"real", "r"}}
                                   << QStringList{"real"} << "" << true;
    QList<ZipEntry> many;
    QStringList manyNames;
    for (int i = 0; i < 300; ++i) {
        many.append({QByteArray("f") + QByteArray::number(i), "d"});
        manyNames << "f" + QString::number(i);
    }
    manyNames.sort();
    QTest::newRow("hundreds of entries") << QByteArray() << many << manyNames << "" << true;
}

void TestLaunch::badArchives()
{
    QFETCH(QByteArray, raw);
    QFETCH(QList<ZipEntry>, entries);
    QFETCH(QStringList, extracted);
    QFETCH(QString, message);
    QFETCH(bool, runs);
    Fixture f;
    const QString archive = f.Dir.filePath("roms/aof3.zip");
    if (raw == "<empty>")
        writeFile(archive, QByteArray());
    else if (raw.isEmpty())
        writeZip(archive, entries);
    else if (raw == "<header past the end>")
        writeZipWithEntryPastTheEnd(archive, entries);
    else if (raw != "<missing>")
        writeFile(archive, raw);
    f.setFound(rlZip, f.Dir.filePath("roms"));
    f.Emulator->ZipSupport = true;
    findStandInThroughPath(f);
    QString shown;
    try {
        f.Emulator->Run();
    } catch (const LanvoError &error) {
        shown = "ERROR:" + error.message();
    }
    if (shown.isEmpty() && !f.Prompts.Messages.isEmpty())
        shown = f.Prompts.Messages.first().Text;
    QCOMPARE(shown, message);
    QCOMPARE(f.runCount(), runs ? 1 : 0);
    QStringList found = QDir(f.Dir.filePath("aof3")).entryList(QDir::Files | QDir::System, QDir::Name);
    found.removeOne("corvane.log"); // the stand-in's own record of the run
    QCOMPARE(found, extracted);
    QVERIFY(!QFile::exists(f.Dir.filePath("evil")));
    QVERIFY(!QFile::exists("/abs/olute"));
    if (extracted.contains("same"))
        QCOMPARE(readFile(f.Dir.filePath("aof3/same")), QByteArray("first"));
    QCOMPARE(f.Prompts.BusyDepth, 0);
}

void TestLaunch::entryBeyondTheCapIsReported()
{
    const QTemporaryDir dir;
    writeZip(dir.filePath("big.zip"), {{"big.bin", QByteArray(5000, 'a')}, {"small.bin", "s"}});
    makeDirectory(dir.filePath("out"));
    RecordingPrompts prompts;
    ExtractArchive(dir.filePath("big.zip"), dir.filePath("out"), &prompts, 4096);
    QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::Files), QStringList{"small.bin"});
    QCOMPARE(prompts.Messages.size(), 1);
    QVERIFY(prompts.Messages.first().Text.contains("big.bin"));
}

void TestLaunch::reportedArchivesStillResetAttributes_data()
{
    QTest::addColumn<QByteArray>("raw"); // empty: no archive at all
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << QByteArray() << "Error - no zip file specified";
    QTest::newRow("not a zip") << QByteArray("text") << "No valid zip entries found 1";
    QTest::newRow("no entries") << QByteArray("PK\x05\x06" + QByteArray(18, '\0')) << "No valid zip entries found 1";
}

// The run goes on with what the directory holds, so what an earlier run left read-only is reset.
void TestLaunch::reportedArchivesStillResetAttributes()
{
    QFETCH(QByteArray, raw);
    QFETCH(QString, message);
    const QTemporaryDir dir;
    if (!raw.isEmpty())
        writeFile(dir.filePath("a.zip"), raw);
    const QString left = dir.filePath("out/left.rom");
    writeFile(left, "from an earlier run");
    QVERIFY(QFile::setPermissions(left, QFile::ReadOwner));
    RecordingPrompts prompts;
    ExtractArchive(dir.filePath("a.zip"), dir.filePath("out"), &prompts);
    QCOMPARE(prompts.texts(), QStringList{message});
    QVERIFY(QFile::permissions(left) & QFile::WriteOwner);
}

void TestLaunch::extractionNeverFollowsLinksOnDisk()
{
    const QTemporaryDir dir;
    writeZip(dir.filePath("a.zip"), {{"victim", "overwritten?"}, {"dangling", "created through a link?"}});
    makeDirectory(dir.filePath("out"));
    writeFile(dir.filePath("outside"), "safe");
    QVERIFY(QFile::link(dir.filePath("outside"), dir.filePath("out/victim")));
    QVERIFY(QFile::link(dir.filePath("nowhere"), dir.filePath("out/dangling")));
    ExtractArchive(dir.filePath("a.zip"), dir.filePath("out"), nullptr);
    QCOMPARE(readFile(dir.filePath("outside")), QByteArray("safe"));
    QVERIFY(!QFile::exists(dir.filePath("nowhere")));
}

void TestLaunch::romSetNameReachingOutIsRefused()
{
    Fixture f;
    writeZip(f.Dir.filePath("roms/x.zip"), {{"x.p1", "p"}});
    f.Game.RomSet = QStringLiteral("../x");
    f.setFound(rlZip, f.Dir.filePath("roms"));
    f.Emulator->ZipSupport = true;
    const QString outside = f.Dir.filePath("../x"); // beside the temporary folder: another program's may be there
    const bool existed = QFile::exists(outside);
    QVERIFY_THROWS_EXCEPTION(LanvoError, f.Emulator->Run());
    QCOMPARE(QFile::exists(outside), existed);
    QVERIFY(!QFile::exists(outside + "/x.p1"));
    QCOMPARE(f.runCount(), 0);
}

void TestLaunch::missingEmulatorStartsNothing()
{
    Fixture f;
    QVERIFY(QFile::remove(f.Dir.filePath("corvane.exe")));
    f.Emulator->Run(); // quiet, as the platform would be
    QVERIFY(f.Prompts.Messages.isEmpty());
    QCOMPARE(f.runCount(), 0);
    QVERIFY(f.Emulator->CommandLine.startsWith("corvane.exe "));
}

void TestLaunch::hooksMinimiseAndRestore()
{
    Fixture f;
    QStringList calls;
    f.Emulator->RunWindowHooks = {[&] { calls << "started"; }, [&] { calls << "finished"; }};
    writeFile(f.Dir.filePath("corvane.ctl"), "sleep_ms=300\n");
    f.Emulator->Run();
    QCOMPARE(calls, (QStringList{"started", "finished"}));
    QCOMPARE(f.runCount(), 1);
    writeFile(f.Dir.filePath("corvane.ctl"), "crash=1\n");
    f.Emulator->Run(); // a crashing emulator ends the wait like any other end
    QCOMPARE(calls.size(), 4);
}

// From the settings file to the emulator's arguments and back to the file, the bytes stay as typed,
// whether they are UTF-8 or bytes of another code page.
void TestLaunch::additionalParametersKeepTheirBytes()
{
    Fixture f;
    const QByteArray typed = "-x Jos\xe9 \"caf\xc3\xa9 \x80\"";
    writeFile(f.Dir.filePath("Lanvo.ini"), "[Lanvo]\r\nAddParam=" + typed + "\r\n");
    WindowSettings window;
    ReadSettingsFile(*f.Emulator, window);
    f.Emulator->Run();
    const QByteArray log = readFile(f.Dir.filePath("corvane.log"));
    QVERIFY2(log.contains("\narg=-x\narg=Jos\xe9\narg=caf\xc3\xa9 \x80\ncwd="), log.constData());

    WriteSettingsFile(*f.Emulator, window, false);
    QVERIFY(readFile(f.Dir.filePath("Lanvo.ini")).contains("\r\nAddParam=" + typed + "\r\n"));
}

QTEST_GUILESS_MAIN(TestLaunch)

void TestLaunch::emulatorOutsideTheStartFolderMustBeTrusted_data()
{
    QTest::addColumn<uint>("mode"); // of the folder on PATH that holds the emulator
    QTest::addColumn<QString>("reason");
    QTest::newRow("writable by its owner alone") << 0755u << "";
    QTest::newRow("writable by its group") << 0775u << "can be written by its group";
    QTest::newRow("writable by every user") << 0777u << "can be written by every user";
}

void TestLaunch::emulatorOutsideTheStartFolderMustBeTrusted()
{
    QFETCH(uint, mode);
    QFETCH(QString, reason);
    Fixture f;
    QVERIFY(QFile::remove(f.Dir.filePath("corvane.exe")));
    const QString bin = f.Dir.filePath("bin");
    makeDirectory(bin);
    installStandIn(QStringLiteral(CORVANE_STANDIN_PATH), bin);
    QCOMPARE(::chmod(QFile::encodeName(bin).constData(), mode), 0);
    qputenv("PATH", QFile::encodeName(bin) + ':' + m_savedPath);
    if (reason.isEmpty()) {
        f.Emulator->Run();
        QCOMPARE(f.runCount(), 1);
        return;
    }
    try {
        f.Emulator->Run();
        QFAIL("an emulator another user could change was run");
    } catch (const LanvoError &error) {
        const QString expected = "The emulator " + bin + "/corvane.exe was not run: " + bin + " " + reason;
        QVERIFY2(error.message().startsWith(expected), qPrintable(error.message()));
        QVERIFY2(error.message().contains("start folder " + f.Dir.path()), qPrintable(error.message()));
    }
    QCOMPARE(f.runCount(), 0);
}

// Checked at start-up, the alternate folder is checked again before the run's copies and the run:
// a link on its path pointed at another folder since then stops both.
void TestLaunch::alternateFolderChangedAfterStartRunsNothing()
{
    const QTemporaryDir dir;
    const QString start = dir.filePath("cd");
    const QString link = dir.filePath("alt");
    const QString open = dir.filePath("open");
    makeDirectory(dir.filePath("own"));
    makeDirectory(open);
    makeDirectory(start);
    QVERIFY(QFile::link(dir.filePath("own"), link));
    installStandIn(QStringLiteral(CORVANE_STANDIN_PATH), start);
    writeFile(start + "/corinit.dat", QByteArray(32, '\0'));
    writeFile(start + "/cd.rom", "bios");
    writeFile(start + "/Lanvo.ini", "[Lanvo]\nAltPath=" + link.toUtf8() + "\n");
    TCorvane emulator(nullptr, start);
    RecordingPrompts prompts;
    emulator.Prompts = &prompts;
    WorkDirectoryDecision decision(emulator, prompts);
    decision.setMarkerTest([start](const QString &folder) { return folder != start && createWritabilityMarker(folder); });
    QVERIFY(decision.decide());
    QVERIFY(QFile::exists(dir.filePath("own/corvane.exe")));

    installStandIn(QStringLiteral(CORVANE_STANDIN_PATH), open);
    QCOMPARE(::chmod(QFile::encodeName(open).constData(), 0777), 0);
    QVERIFY(QFile::remove(link));
    QVERIFY(QFile::link(open, link));
    TGame game;
    game.RomSet = QStringLiteral("aof3");
    game.Location = rlDirectory;
    game.FoundDir = dir.filePath("roms");
    emulator.CurrentGame = &game;
    try {
        emulator.Run();
        QFAIL("ran from a folder every user may write");
    } catch (const LanvoError &error) {
        const QString expected = "Alternate path is not safe!(" + link + ") " + open + " can be written by every user";
        QVERIFY2(error.message().startsWith(expected), qPrintable(error.message()));
    }
    QCOMPARE(readStandInLog(open).size(), 0);
    QCOMPARE(readStandInLog(dir.filePath("own")).size(), 0);
    QVERIFY(!QFile::exists(open + "/cd.rom"));
}

#include "tst_launch.moc"
