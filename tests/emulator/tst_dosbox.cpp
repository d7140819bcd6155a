#include "AnyCaseFiles.h"
#include "Corvane.h"
#include "DosboxLinks.h"
#include "LanvoError.h"
#include "Processes.h"
#include "TestFakes.h"
#include "WorkDirectory.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

using namespace Lanvo;
using namespace Lanvo::Test;

namespace {

// What the DOS stand-in recorded of its last run: one "key=value" line each, in DOS line ends.
QMultiMap<QString, QString> dosRunLog(const QString &workDirectory)
{
    QMultiMap<QString, QString> log;
    const QString path = existingAnyCase(workDirectory, "dosrun.log");
    for (const QByteArray &line : readFile(path).split('\n')) {
        const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
        const qsizetype equals = text.indexOf('=');
        if (equals > 0)
            log.insert(QString::fromLatin1(text.left(equals)), QString::fromLatin1(text.mid(equals + 1)));
    }
    return log;
}

// The tail a DOS program receives for a command line: what follows the program's name; DOSBox's
// shell drops the blanks at the end.
QString dosTail(const QString &commandLine)
{
    QString tail = commandLine.mid(commandLine.indexOf(' '));
    while (tail.endsWith(' '))
        tail.chop(1);
    return tail;
}

void installDosStandIn(const QString &directory, const QString &name = "corvane.exe")
{
    QFile::remove(directory + '/' + name);
    QVERIFY(QFile::copy(CORVANE_DOS_PATH, directory + '/' + name));
    // A program copied from a DOS medium has no execute permission; it needs none to run in DOSBox.
    QVERIFY(QFile::setPermissions(directory + '/' + name, QFile::ReadOwner | QFile::WriteOwner));
}

// The link folders a process made in the temporary folder.
QStringList linkFoldersOf(qint64 pid)
{
    const QString prefix = QStringLiteral("lanvo-dosbox-%1-").arg(pid);
    return QDir(DosboxLinks::parentFolder()).entryList({prefix + "*"}, QDir::AllEntries | QDir::System);
}

// Every entry below Folder named Name, in any letter case.
QStringList namedBelow(const QString &folder, const QString &name)
{
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (it.fileName().compare(name, Qt::CaseInsensitive) == 0)
            names << it.filePath();
    }
    return names;
}

// A DOS game as Lanvo runs it, with the DOS stand-in in Work and the ROM set at RomSetPath.
void runDosGame(const QString &work, const QString &romSetPath)
{
    TCorvane e(nullptr, work);
    e.WorkDir = work;
    e.SetInstallType(itHD);
    TGame game;
    game.RomSet = QFileInfo(romSetPath).fileName();
    game.Location = rlDirectory;
    game.FoundDir = QFileInfo(romSetPath).path();
    e.CurrentGame = &game;
    e.Run();
}

} // namespace

class TestDosbox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void runThroughDosbox_data();
    void runThroughDosbox();
    void upperCaseSnapshotsAreHarvested();
    void readOnlyInstallWithUpperCaseFiles();
    void emulatorFilesFoundWhateverTheirCase_data();
    void emulatorFilesFoundWhateverTheirCase();
    void dosboxMissingIsToldOnce();
    void dosboxEndingAtOnceRestoresTheWindow();
    void linesDosCannotPassAreRefused_data();
    void linesDosCannotPassAreRefused();
    void neverStartsNoDosbox();
    void specialFileAsEmulatorNeverBlocks();
    void hostileFolderNamesRunTheRightGame_data();
    void hostileFolderNamesRunTheRightGame();
    void perCentSignsReachTheEmulatorAsTyped();
    void dosboxNeverComesFromTheWorkFolder_data();
    void dosboxNeverComesFromTheWorkFolder();
    void killedLanvoLeavesNoDosboxRunning();
    void staleLinkFoldersRemovedAtStart_data();
    void staleLinkFoldersRemovedAtStart();

private:
    struct Fixture
    {
        QTemporaryDir Dir;
        QString Work;
        std::unique_ptr<TCorvane> Emulator;
        RecordingPrompts Prompts;
        TGame Game;
        QStringList Hooks;

        explicit Fixture(const QString &workName = "work")
        {
            Work = Dir.filePath(workName);
            makeDirectory(Work);
            Emulator = std::make_unique<TCorvane>(nullptr, Work);
            Emulator->WorkDir = Work;
            Emulator->SetInstallType(itHD);
            Emulator->Prompts = &Prompts;
            Emulator->RunWindowHooks = {[this] { Hooks << "started"; }, [this] { Hooks << "finished"; }};
            installDosStandIn(Work);
            writeFile(Work + "/CORINIT.DAT", QByteArray(32, '\0'));
            Game.Name = "The King of Fighters '98";
            Game.RomSet = "kof98";
            Game.Location = rlDirectory;
            Game.FoundDir = Dir.filePath("roms");
            makeDirectory(Game.foundPath());
            Emulator->CurrentGame = &Game;
        }

        // The game found at Path below the test folder, as the scan finds a folder or a ".zip" archive.
        void placeRomSet(const QString &path)
        {
            const QFileInfo found(Dir.filePath(path));
            const bool archive = path.endsWith(".zip");
            Game.RomSet = archive ? found.fileName().chopped(4) : found.fileName();
            Game.Location = archive ? rlZip : rlDirectory;
            Game.FoundDir = found.path();
        }
    };

    QTemporaryDir m_home;
    QString m_savedCurrent;
};

void TestDosbox::initTestCase()
{
    QVERIFY2(!QStandardPaths::findExecutable("dosbox").isEmpty(), "dosbox is not installed (scripts/install-deps)");
    // DOSBox reads and writes its configuration below HOME: never the user's own.
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("SDL_VIDEODRIVER", "dummy");
    qputenv("SDL_AUDIODRIVER", "dummy");
    adoptOrphans();
}

void TestDosbox::runThroughDosbox_data()
{
    QTest::addColumn<QString>("workName");
    QTest::addColumn<QString>("romSetPath"); // below the test folder; a ".zip" one is a file
    QTest::addColumn<QString>("argument");

    QTest::newRow("folder") << "work" << "roms/kof98" << "d:\\kof98";
    QTest::newRow("zip, mixed case") << "work" << "zips/Goalx3.zip" << "d:\\goalx3.zip";
    QTest::newRow("name that is not 8.3") << "work" << "roms/King of Fighters.98" << "d:\\kingof~1.98";
    QTest::newRow("blanks and a quote in the folders") << "my \"work\" dir" << "my roms/kof98" << "d:\\kof98";
}

// The recorded tail, the ROM set the DOS program can open, the init bytes and the BIOS files it sees.
void TestDosbox::runThroughDosbox()
{
    QFETCH(QString, workName);
    QFETCH(QString, romSetPath);
    QFETCH(QString, argument);
    Fixture f(workName);
    TCorvane &e = *f.Emulator;
    f.placeRomSet(romSetPath);
    if (romSetPath.endsWith(".zip"))
        writeFile(f.Game.foundPath(), "PK\x05\x06" + QByteArray(18, '\0'));
    else
        makeDirectory(f.Game.foundPath());
    e.Language = glUs;
    e.System = ctConsole;
    e.Frameskip = true;
    e.FrameskipValue = 3;
    e.AdditionalParameters = "-x \"a b\"  -y";
    e.Bios = "euro";
    writeFile(e.BiosDir() + "/euro/sp-euro.rom", "bios");
    writeFile(e.BiosDir() + "/euro/SFIX.GDB", "fix");
    writeFile(f.Work + "/STALE.ROM", "old");

    e.Run();

    QCOMPARE(e.CommandLine, "corvane.exe " + argument + " -v -f3 -s -x \"a b\"  -y");
    const auto log = dosRunLog(f.Work);
    QCOMPARE(log.value("tail"), dosTail(e.CommandLine));
    QCOMPARE(log.value("romset"), "found");
    QCOMPARE(log.value("byte18"), "01");
    QCOMPARE(log.value("byte19"), "00");
    QStringList bios = log.values("bios");
    bios.sort();
    QCOMPARE(bios, (QStringList{"SFIX.GDB", "SP-EURO.ROM"}));
    QCOMPARE(f.Hooks, (QStringList{"started", "finished"}));
}

void TestDosbox::upperCaseSnapshotsAreHarvested()
{
    Fixture f;
    TCorvane &e = *f.Emulator;
    writeFile(f.Work + "/CORVANE.CTL", "shots=2\r\n");
    e.PictureDir = e.makePath(f.Dir.filePath("pics"));
    makeDirectory(e.PictureDir.FullPath);
    e.DeleteSnapshot = false;

    e.Run();
    QCOMPARE(dosRunLog(f.Work).values("shot").size(), 2);
    const QByteArray lastShot = readFile(f.Work + "/SHOTS/SHOT2.BMP");
    QVERIFY(lastShot.startsWith("BM"));
    e.HarvestSnapshots("kof98");

    QCOMPARE(readFile(e.PictureDir.FullPath + "/kof98.bmp"), lastShot);
    QCOMPARE(QDir(f.Work + "/SHOTS").entryList(QDir::Files, QDir::Name), (QStringList{"kof981.bmp", "kof982.bmp"}));
}

// Upper-case files copied from a DOS medium: found, copied under their own names, and run.
void TestDosbox::readOnlyInstallWithUpperCaseFiles()
{
    QTemporaryDir dir;
    const QString start = dir.filePath("medium");
    const QString alternate = dir.filePath("alternate");
    makeDirectory(start);
    installDosStandIn(start, "CORVANE.EXE");
    writeFile(start + "/DOS4GW.EXE", "extender");
    writeFile(start + "/KEYDEF.DAT", "keys");
    writeFile(start + "/CORINIT.DAT", QByteArray(18, '\0') + QByteArray("\x01\x00", 2));
    writeFile(start + "/Lanvo.ini", "[Lanvo]\r\nAltPath=" + alternate.toUtf8() + "\r\n");
    TCorvane e(nullptr, start);
    RecordingPrompts prompts;
    e.Prompts = &prompts;
    WorkDirectoryDecision decision(e, prompts);
    decision.setMarkerTest([&](const QString &directory) { return directory != start && createWritabilityMarker(directory); });

    QVERIFY(decision.decide());
    QCOMPARE(QDir(alternate).entryList(QDir::Files, QDir::Name),
             (QStringList{"CORINIT.DAT", "CORVANE.EXE", "DOS4GW.EXE", "KEYDEF.DAT", "Lanvo.ini"}));
    e.CheckEmulator();
    QVERIFY(e.EmulatorFound());
    e.ReadInitFile();
    QCOMPARE(e.Language, glUs);
    QCOMPARE(e.System, ctConsole);
    QVERIFY(prompts.Messages.isEmpty());

    TGame game;
    game.RomSet = "mslug";
    game.Location = rlDirectory;
    game.FoundDir = dir.filePath("roms");
    makeDirectory(game.foundPath());
    e.CurrentGame = &game;
    e.Run();
    QCOMPARE(dosRunLog(alternate).value("tail"), dosTail(e.CommandLine));
    QVERIFY(!QFile::exists(start + "/DOSRUN.LOG"));
}

void TestDosbox::emulatorFilesFoundWhateverTheirCase_data()
{
    QTest::addColumn<QStringList>("names"); // of the init file; each holds its index as region byte
    QTest::addColumn<int>("region");

    QTest::newRow("upper case") << QStringList{"CORINIT.DAT"} << 0;
    QTest::newRow("mixed case") << QStringList{"CorInit.Dat"} << 0;
    QTest::newRow("exact spelling wins") << QStringList{"CORINIT.DAT", "corinit.dat", "Corinit.dat"} << 1;
}

void TestDosbox::emulatorFilesFoundWhateverTheirCase()
{
    QFETCH(QStringList, names);
    QFETCH(int, region);
    QTemporaryDir dir;
    for (int i = 0; i < names.size(); ++i)
        writeFile(dir.filePath(names[i]), QByteArray(18, '\0') + char(i) + '\0');
    writeFile(dir.filePath("Corvane.EXE"), "MZ");
    TCorvane e(nullptr, dir.path());
    e.WorkDir = dir.path();
    RecordingPrompts prompts;
    e.Prompts = &prompts;

    e.CheckEmulator();
    e.ReadInitFile();
    QVERIFY(e.EmulatorFound());
    QCOMPARE(int(languageByte(e.Language)), region);
    e.Language = glEuropean;
    e.WriteInitFile();
    QCOMPARE(readFile(dir.filePath(names[region])).at(18), '\x02');
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), names.size() + 1); // nothing created
}

void TestDosbox::dosboxMissingIsToldOnce()
{
    Fixture f;
    f.Emulator->Dosbox.Program = "lanvo-test-no-such-dosbox";
    f.Emulator->Run();
    QCOMPARE(f.Prompts.Messages.size(), 1);
    QCOMPARE(f.Prompts.Messages[0].Kind, PromptKind::Error);
    QVERIFY(f.Prompts.Messages[0].Text.contains("lanvo-test-no-such-dosbox"));
    QVERIFY(f.Prompts.Messages[0].Text.contains("Install the dosbox package"));
    QVERIFY(f.Hooks.isEmpty()); // never minimised
    QVERIFY(existingAnyCase(f.Work, "dosrun.log").isEmpty());
}

void TestDosbox::dosboxEndingAtOnceRestoresTheWindow()
{
    Fixture f;
    f.Emulator->Dosbox.Program = QStandardPaths::findExecutable("false");
    f.Emulator->Run();
    QCOMPARE(f.Hooks, (QStringList{"started", "finished"}));
    QVERIFY(f.Prompts.Messages.isEmpty());
}

void TestDosbox::linesDosCannotPassAreRefused_data()
{
    QTest::addColumn<QString>("parameters");
    QTest::addColumn<bool>("refused");

    QTest::newRow("redirection") << "-log a>b" << true;
    QTest::newRow("pipe") << "-x|y" << true;
    QTest::newRow("quoted, the characters stay") << "\"a>b\" \"c|d\"" << false;
    // "corvane.exe d:\kof98 -v -s " is 16 characters after the name: 110 more fill the 126 DOS passes.
    QTest::newRow("126 characters after the name") << QString(110, 'x') << false;
    QTest::newRow("127 characters after the name") << QString(111, 'x') << true;
    QTest::newRow("blanks at the end do not count") << QString(110, 'x') + "    " << false;
    QTest::newRow("126 bytes after the name, in two-byte letters") << QString(55, QChar(0xE9)) << false;
    QTest::newRow("128 bytes after the name, in two-byte letters") << QString(56, QChar(0xE9)) << true;
    QTest::newRow("line feed: a second batch line") << "-x\nmd pwned" << true;
    QTest::newRow("tab") << "-x\t-y" << true;
    QTest::newRow("escape") << "\x1b[2J" << true;
    // DOSBox expands %"% to nothing, which would leave the > outside any quotes.
    QTest::newRow("per cent signs hiding a redirection") << "%\"% >out.txt" << true;
    QTest::newRow("redirection after a quote never closed") << "\"a >out.txt" << true;
}

// Before anything is started, and with the reason, rather than a line DOSBox would change.
void TestDosbox::linesDosCannotPassAreRefused()
{
    QFETCH(QString, parameters);
    QFETCH(bool, refused);
    Fixture f;
    f.Emulator->AdditionalParameters = parameters;
    f.Emulator->Dosbox.Program = QStandardPaths::findExecutable("true");
    if (refused)
        QVERIFY_THROWS_EXCEPTION(LanvoError, f.Emulator->Run());
    else
        f.Emulator->Run();
    QCOMPARE(f.Hooks.size(), refused ? 0 : 2);
}

void TestDosbox::neverStartsNoDosbox()
{
    Fixture f;
    f.Emulator->Dosbox.Use = duNever;
    f.Emulator->Run(); // a DOS program can't be started directly: quiet, as for any such program
    QVERIFY(f.Hooks.isEmpty());
    QVERIFY(f.Prompts.Messages.isEmpty());
    QVERIFY(f.Emulator->CommandLine.startsWith("corvane.exe " + f.Game.foundPath()));
}

// A FIFO in the emulator's place: the look for "MZ" must not wait for a writer.
void TestDosbox::specialFileAsEmulatorNeverBlocks()
{
    Fixture f;
    QVERIFY(QFile::remove(f.Work + "/corvane.exe"));
    QVERIFY(::mkfifo(QFile::encodeName(f.Work + "/corvane.exe").constData(), 0600) == 0);
    f.Emulator->Run();
    QVERIFY(f.Hooks.isEmpty());
    QVERIFY(f.Emulator->CommandLine.startsWith("corvane.exe " + f.Game.foundPath()));
}

void TestDosbox::hostileFolderNamesRunTheRightGame_data()
{
    QTest::addColumn<QString>("workName");
    QTest::addColumn<QString>("romSetPath"); // below the test folder
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("decoy"); // a folder beside the work folder with a stand-in of its own

    QTest::newRow("line feeds in the work folder")
        << "games\nmd c:pwned\nrem x" << "roms/kof98" << "d:\\kof98" << "games";
    QTest::newRow("per cent signs in the work folder") << "50% off 100% fun" << "roms/kof98" << "d:\\kof98"
                                                       << "50 fun";
    QTest::newRow("per cent-encoded ROM folder") << "work" << "Neo%20Set/kof98" << "d:\\kof98" << "";
    QTest::newRow("line feed in the ROM folder") << "work" << "a\nmd c:pwned/kof98" << "d:\\kof98" << "";
    QTest::newRow("ROM set named like a variable") << "work" << "roms/a%path%" << "d:\\apath~1" << "";
    QTest::newRow("line feed in the ROM set") << "work" << "roms/kof\n98" << "d:\\kof98~1" << "";
    const QString longName = QString(120, 'w') + "/" + QString(125, 'v');
    QTest::newRow("work folder path of 240 characters and more") << longName << "roms/kof98" << "d:\\kof98" << "";
    QTest::newRow("ROM folder path of 240 characters and more") << "work" << longName + "/kof98" << "d:\\kof98" << "";
}

// The right program runs on the right ROM set, and nothing else is made or run.
void TestDosbox::hostileFolderNamesRunTheRightGame()
{
    QFETCH(QString, workName);
    QFETCH(QString, romSetPath);
    QFETCH(QString, argument);
    QFETCH(QString, decoy);
    Fixture f(workName);
    if (!decoy.isEmpty()) {
        makeDirectory(f.Dir.filePath(decoy));
        installDosStandIn(f.Dir.filePath(decoy));
    }
    f.placeRomSet(romSetPath);
    makeDirectory(f.Game.foundPath());

    f.Emulator->Run();

    QCOMPARE(f.Emulator->CommandLine, "corvane.exe " + argument + " -v -s ");
    const auto log = dosRunLog(f.Work);
    QCOMPARE(log.value("tail"), dosTail(f.Emulator->CommandLine));
    QCOMPARE(log.value("romset"), "found");
    QCOMPARE(f.Hooks, (QStringList{"started", "finished"}));
    if (!decoy.isEmpty())
        QVERIFY(existingAnyCase(f.Dir.filePath(decoy), "dosrun.log").isEmpty());
    QVERIFY(namedBelow(f.Dir.path(), "pwned").isEmpty());
    QVERIFY(linkFoldersOf(::getpid()).isEmpty()); // gone with the run
}

// Batch processing would expand them; the emulator receives them as they were typed.
void TestDosbox::perCentSignsReachTheEmulatorAsTyped()
{
    Fixture f;
    f.Emulator->AdditionalParameters = "50% a%path% %1 %% %\"x\"%";
    f.Emulator->Run();
    QCOMPARE(dosRunLog(f.Work).value("tail"), dosTail(f.Emulator->CommandLine));
    QVERIFY(dosTail(f.Emulator->CommandLine).endsWith("50% a%path% %1 %% %\"x\"%"));
}

void TestDosbox::dosboxNeverComesFromTheWorkFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("its own name") << "dosbox";
    QTest::newRow("mixed case") << "DOSBox";
    QTest::newRow("upper case") << "DOSBOX";
}

// A program named like DOSBox among the game's files, with the current folder on PATH: the real
// DOSBox runs the game, the planted one never runs.
void TestDosbox::dosboxNeverComesFromTheWorkFolder()
{
    QFETCH(QString, name);
    Fixture f;
    const QString planted = f.Work + "/" + name;
    writeFile(planted, "#!/bin/sh\ntouch \"$0.ran\"\n");
    QVERIFY(QFile::setPermissions(planted, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", ".:" + savedPath);
    f.Emulator->Run();
    qputenv("PATH", savedPath);
    QVERIFY(!QFile::exists(planted + ".ran"));
    QCOMPARE(dosRunLog(f.Work).value("romset"), "found");
}

// Another copy of this program stands in for Lanvo, killed while the game runs in DOSBox: DOSBox
// ends with it, and the link folder it leaves goes at the next start.
void TestDosbox::killedLanvoLeavesNoDosboxRunning()
{
    Fixture f;
    writeFile(f.Work + "/CORVANE.CTL", "w\r\n"); // the stand-in plays until it is killed
    QProcess lanvo;
    QVERIFY(startSelf(lanvo, {"--run-dos-game", f.Work, f.Game.foundPath()}));
    QTRY_VERIFY_WITH_TIMEOUT(dosRunLog(f.Work).contains("byte19"), 30000);
    const qint64 lanvoPid = lanvo.processId();
    const QList<qint64> started = descendantsOf(lanvoPid);
    QCOMPARE(started.size(), 2); // DOSBox and the group's watcher
    QCOMPARE(linkFoldersOf(lanvoPid).size(), 1);

    QCOMPARE(::kill(pid_t(lanvoPid), SIGKILL), 0);
    QVERIFY(lanvo.waitForFinished());
    QTRY_VERIFY(allGone(started));
    QCOMPARE(linkFoldersOf(lanvoPid).size(), 1);
    DosboxLinks::removeStale();
    QVERIFY(linkFoldersOf(lanvoPid).isEmpty());
}

void TestDosbox::staleLinkFoldersRemovedAtStart_data()
{
    QTest::addColumn<QString>("name"); // "<pid>" stands for this process's id
    QTest::addColumn<QString>("kind"); // "folder", "link" or "other user's"
    QTest::addColumn<bool>("removed");

    QTest::newRow("left by a Lanvo that is gone") << "lanvo-dosbox-2147483646-Ab3xYz" << "folder" << true;
    QTest::newRow("of a Lanvo that runs") << "lanvo-dosbox-<pid>-Ab3xYz" << "folder" << false;
    QTest::newRow("a link named like one") << "lanvo-dosbox-2147483646-Ab3xYz" << "link" << false;
    QTest::newRow("another user's") << "lanvo-dosbox-2147483646-Ab3xYz" << "other user's" << false;
    QTest::newRow("no maker in the name") << "lanvo-dosbox-Ab3xYz" << "folder" << false;
    QTest::newRow("a longer name") << "lanvo-dosbox-2147483646-Ab3xYz-mine" << "folder" << false;
    QTest::newRow("another program's") << "other-dosbox-2147483646-Ab3xYz" << "folder" << false;
}

// Only the user's own link folders of a Lanvo that is gone are removed, and never what their links
// point to.
void TestDosbox::staleLinkFoldersRemovedAtStart()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(bool, removed);
    if (kind == "other user's" && ::geteuid() != 0)
        QSKIP("another user's folder can only be made as root");
    const QTemporaryDir parent;
    const QTemporaryDir outside;
    writeFile(outside.filePath("game/kof98.zip"), "kept");
    const QString path = parent.filePath(name.replace("<pid>", QString::number(::getpid())));
    if (kind == "link") {
        QVERIFY(QFile::link(outside.path(), path));
    } else {
        makeDirectory(path);
        QVERIFY(QFile::link(outside.filePath("game"), path + "/c"));
        if (kind == "other user's")
            QCOMPARE(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
    }

    QCOMPARE(DosboxLinks::removeStale(parent.path()), removed ? 1 : 0);
    QCOMPARE(QFileInfo::exists(path) || QFileInfo(path).isSymLink(), !removed);
    QCOMPARE(readFile(outside.filePath("game/kof98.zip")), "kept");
}

// Started with "--run-dos-game WORK ROMSET", the test program only runs that game, as Lanvo would.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments.at(1) == "--run-dos-game") {
        runDosGame(arguments.at(2), arguments.at(3));
        return 0;
    }
    TestDosbox test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dosbox.moc"
