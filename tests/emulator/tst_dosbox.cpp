#include "AnyCaseFiles.h"
#include "Corvane.h"
#include "LanvoError.h"
#include "TestFakes.h"
#include "WorkDirectory.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

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
            Game.Available = true;
            Game.FoundPath = Dir.filePath("roms/kof98");
            makeDirectory(Game.FoundPath);
            Emulator->CurrentGame = &Game;
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
    f.Game.FoundPath = f.Dir.filePath(romSetPath);
    if (romSetPath.endsWith(".zip"))
        writeFile(f.Game.FoundPath, "PK\x05\x06" + QByteArray(18, '\0'));
    else
        makeDirectory(f.Game.FoundPath);
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
    game.FoundPath = dir.filePath("roms/mslug");
    makeDirectory(game.FoundPath);
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
    QVERIFY(f.Emulator->CommandLine.startsWith("corvane.exe " + f.Game.FoundPath));
}

// A FIFO in the emulator's place: the look for "MZ" must not wait for a writer.
void TestDosbox::specialFileAsEmulatorNeverBlocks()
{
    Fixture f;
    QVERIFY(QFile::remove(f.Work + "/corvane.exe"));
    QVERIFY(::mkfifo(QFile::encodeName(f.Work + "/corvane.exe").constData(), 0600) == 0);
    f.Emulator->Run();
    QVERIFY(f.Hooks.isEmpty());
    QVERIFY(f.Emulator->CommandLine.startsWith("corvane.exe " + f.Game.FoundPath));
}

QTEST_GUILESS_MAIN(TestDosbox)
#include "tst_dosbox.moc"
