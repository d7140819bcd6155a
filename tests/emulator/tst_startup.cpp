#include "BuiltInCatalogue.h"
#include "LanvoError.h"
#include "Startup.h"
#include "TestFakes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <thread>

using namespace Lanvo;
using namespace Lanvo::Test;

namespace {

// The window's side of the start-up, recorded; refreshList fills a fake list as the real one does.
class RecordingWindow : public IStartupWindow
{
public:
    explicit RecordingWindow(TCorvane &emulator)
        : m_emulator(emulator)
    {
        m_emulator.ListGames = &Rows;
    }

    void applyWindowSettings(const WindowSettings &settings) override
    {
        Steps << "window";
        Settings = settings;
    }
    void setCaption(const QString &caption) override { Steps << "caption:" + caption; }
    void setColumnCaptions(const QStringList &captions) override { Steps << "columns:" + captions.join(','); }
    void applyLayout() override { Steps << "layout"; }
    void showInstallType(const QString &text) override { Steps << "install:" + text; }
    void selectPictureTab(bool inGame) override { Steps << QString("tab:") + (inGame ? "in-game" : "title"); }
    void activateGamesPage() override { Steps << "games page"; }
    void setControlsFromProperties() override
    {
        Steps << "controls";
        if (ControlsFail)
            throw LanvoError(QStringLiteral("controls failed"));
    }
    void refreshList() override
    {
        Steps << "refresh";
        m_emulator.RefreshList(gfAvailable);
    }

    QStringList Steps;
    WindowSettings Settings;
    bool ControlsFail = false;
    FakeListRows Rows;

private:
    TCorvane &m_emulator;
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void firstStartWritesCatalogueAndFillsList();
    void currentVersionKeepsGamesFile();
    void versionMismatchAsksBeforeReplacing_data();
    void versionMismatchAsksBeforeReplacing();
    void missingGamesFileWithCurrentVersionAsks_data();
    void missingGamesFileWithCurrentVersionAsks();
    void romDirectoryCheck_data();
    void romDirectoryCheck();
    void emptyRomDirectoryIsNotChecked();
    void unwritableGamesFileSkipsTheRest();
    void initialisationFileReadInAnyCase_data();
    void initialisationFileReadInAnyCase();
    void failedWindowStepLeavesNothingReadAhead();
    void readOnlyInstallWorksFromAlternate();
    void writeProtectedAlternateEndsFirst();
    void folderNameQtCantHoldEndsBeforeWriting_data();
    void folderNameQtCantHoldEndsBeforeWriting();

private:
    struct Fixture
    {
        QTemporaryDir Dir;
        std::unique_ptr<TCorvane> Emulator;
        RecordingPrompts Prompts;
        std::unique_ptr<RecordingWindow> Window;
        std::unique_ptr<LanvoStartup> Startup;

        Fixture()
        {
            Emulator = std::make_unique<TCorvane>(nullptr, Dir.path());
            Emulator->Prompts = &Prompts;
            Window = std::make_unique<RecordingWindow>(*Emulator);
            Startup = std::make_unique<LanvoStartup>(*Emulator, Prompts, *Window);
            writeFile(Dir.filePath("corvane.exe"), "MZ");
        }
        QString games() const { return Emulator->gamesFilePath(); }
        void settings(const QByteArray &lines) { writeFile(Dir.filePath("Lanvo.ini"), "[Lanvo]\r\n" + lines); }
    };

    QString m_savedCurrent;
};

void TestStartup::firstStartWritesCatalogueAndFillsList()
{
    Fixture f;
    makeDirectory(f.Dir.filePath("aof3"));
    writeFile(f.Dir.filePath("kof98.zip"), "PK");
    const StartupOutcome outcome = f.Startup->run();
    QVERIFY(!outcome.EndProgram);
    QVERIFY(f.Startup->catalogueWritten());
    QVERIFY(f.Prompts.Messages.isEmpty());
    for (const char *dir : {"lanvo/TitlePic", "lanvo/GamePic", "lanvo/bios"})
        QVERIFY2(QFileInfo(f.Dir.filePath(dir)).isDir(), dir);

    const QByteArray written = readFile(f.games());
    QCOMPARE(written.count("\r\n"), 148);
    QVERIFY(written.startsWith(DefaultGameLines().first() + "\r\n"));
    QVERIFY(written.endsWith(DefaultGameLines().last() + "\r\n"));

    QCOMPARE(f.Window->Steps,
             (QStringList{"window", "caption:Lanvo Corvane - Version 1.61", "columns:Name,Year,Type,Manufacturer",
                          "layout", "install:HD", "tab:title", "games page", "controls", "refresh"}));
    QCOMPARE(f.Window->Rows.rowCount(), 2); // available games, in games-file order
    QCOMPARE(f.Window->Rows.Rows[0].Game->RomSet, QStringLiteral("aof3"));
    QCOMPARE(f.Window->Rows.Rows[1].Game->RomSet, QStringLiteral("kof98"));
    QCOMPARE(f.Emulator->Games().size(), size_t(148));
    QVERIFY(f.Emulator->EmulatorFound());
}

void TestStartup::currentVersionKeepsGamesFile()
{
    Fixture f;
    f.settings("Version=1.61\r\nTop=5\r\nPicShow=PICGAMEPATH\r\n");
    writeFile(f.games(), "Mine;1990;Me;Sport;mine\r\n");
    makeDirectory(f.Dir.filePath("mine"));
    QVERIFY(!f.Startup->run().EndProgram);
    QVERIFY(!f.Startup->catalogueWritten());
    QCOMPARE(readFile(f.games()), QByteArray("Mine;1990;Me;Sport;mine\r\n"));
    QCOMPARE(f.Window->Settings.Top, 5);
    QVERIFY(f.Window->Steps.contains("tab:in-game"));
    QCOMPARE(f.Window->Rows.rowCount(), 1);
    QVERIFY(f.Prompts.Messages.isEmpty());
}

void TestStartup::versionMismatchAsksBeforeReplacing_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("yes") << int(PromptAnswer::Yes) << true;
    QTest::newRow("no") << int(PromptAnswer::No) << false;
}

void TestStartup::versionMismatchAsksBeforeReplacing()
{
    QFETCH(int, answer);
    QFETCH(bool, replaced);
    Fixture f;
    f.settings("Version=1.50\r\n");
    writeFile(f.games(), "Old;;;;old\r\n");
    f.Prompts.Answers.push_back(PromptAnswer(answer));
    QVERIFY(!f.Startup->run().EndProgram);
    QCOMPARE(f.Prompts.texts(), QStringList{"Your current games file (games.csv) will be replaced by a new one"});
    QCOMPARE(f.Prompts.Messages.first().Kind, PromptKind::Warning);
    QCOMPARE(f.Prompts.Messages.first().Buttons, PromptButtons::YesNo);
    QVERIFY(f.Startup->catalogueWritten()); // "Version" is saved at close either way
    QCOMPARE(readFile(f.games()).count("\r\n"), replaced ? 148 : 1);
    QCOMPARE(f.Emulator->Games().size(), size_t(replaced ? 148 : 1));
}

void TestStartup::missingGamesFileWithCurrentVersionAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("ends");
    QTest::newRow("yes writes the catalogue") << int(PromptAnswer::Yes) << false;
    QTest::newRow("no leaves no games file") << int(PromptAnswer::No) << true;
}

void TestStartup::missingGamesFileWithCurrentVersionAsks()
{
    QFETCH(int, answer);
    QFETCH(bool, ends);
    Fixture f;
    f.settings("Version=1.61\r\n");
    f.Prompts.Answers.push_back(PromptAnswer(answer));
    const StartupOutcome outcome = f.Startup->run();
    QCOMPARE(outcome.EndProgram, ends);
    QStringList expected{"Your current games file (games.csv) will be replaced by a new one"};
    if (ends) {
        expected << "Can't open file " + f.games();
        QCOMPARE(outcome.ExitCode, 0);
        QCOMPARE(f.Prompts.Messages.last().Kind, PromptKind::Information);
    }
    QCOMPARE(f.Prompts.texts(), expected);
}

void TestStartup::romDirectoryCheck_data()
{
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<bool>("ends");
    QTest::addColumn<bool>("createOnRetry");

    QTest::newRow("abort ends at once") << QList<int>{int(PromptAnswer::Abort)} << 1 << true << false;
    QTest::newRow("retry, retry, ignore")
        << QList<int>{int(PromptAnswer::Retry), int(PromptAnswer::Retry), int(PromptAnswer::Ignore)} << 3 << false
        << false;
    QTest::newRow("closing the box is ignore") << QList<int>{int(PromptAnswer::None)} << 1 << false << false;
    QTest::newRow("retry after the directory appeared")
        << QList<int>{int(PromptAnswer::Retry)} << 1 << false << true;
}

void TestStartup::romDirectoryCheck()
{
    QFETCH(QList<int>, answers);
    QFETCH(int, boxes);
    QFETCH(bool, ends);
    QFETCH(bool, createOnRetry);
    Fixture f;
    const QString roms = f.Dir.filePath("roms");
    f.settings("Version=1.61\r\nRomPath1=roms\r\n");
    writeFile(f.games(), "A;;;;a\r\n");
    for (const int answer : answers)
        f.Prompts.Answers.push_back(PromptAnswer(answer));
    if (createOnRetry) {
        // The user creates the directory, with a ROM set in it, while the box is up.
        class CreatingPrompts : public RecordingPrompts
        {
        public:
            QString Dir;
            PromptAnswer showMessage(PromptKind k, const QString &t, PromptButtons b) override
            {
                // As a user would, long after the games file was read ahead.
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                QDir().mkpath(Dir + "/a");
                return RecordingPrompts::showMessage(k, t, b);
            }
        } creating;
        creating.Dir = roms;
        creating.Answers = f.Prompts.Answers;
        LanvoStartup startup(*f.Emulator, creating, *f.Window);
        QVERIFY(!startup.run().EndProgram);
        QCOMPARE(creating.Messages.size(), boxes);
        QCOMPARE(f.Emulator->Games().at(0).Location, rlDirectory); // the scan saw what came
        return;
    }
    const StartupOutcome outcome = f.Startup->run();
    QCOMPARE(outcome.EndProgram, ends);
    QCOMPARE(f.Prompts.Messages.size(), boxes);
    for (const auto &message : f.Prompts.Messages) {
        QCOMPARE(message.Text, "Cannot read first rom directory (" + roms + "/)");
        QCOMPARE(message.Buttons, PromptButtons::AbortRetryIgnore);
    }
    QCOMPARE(f.Window->Steps.contains("refresh"), !ends);
}

void TestStartup::emptyRomDirectoryIsNotChecked()
{
    Fixture f;
    f.settings("Version=1.61\r\nRomPath2=/no/such/second\r\n");
    writeFile(f.games(), "A;;;;a\r\n");
    QVERIFY(!f.Startup->run().EndProgram);
    QCOMPARE(f.Prompts.texts(), QStringList{"Cannot read second rom directory (/no/such/second/)"});
}

void TestStartup::failedWindowStepLeavesNothingReadAhead()
{
    Fixture f;
    f.settings("Version=1.61\r\n");
    writeFile(f.games(), "A;;;;a\r\n");
    f.Window->ControlsFail = true;
    QVERIFY(!f.Startup->run().EndProgram);
    QCOMPARE(f.Prompts.texts(), QStringList{"controls failed"});
    QVERIFY(!f.Window->Steps.contains("refresh"));
    // Long after the start, the ROM set comes and the list is refreshed: the scan sees it.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    makeDirectory(f.Dir.filePath("a"));
    f.Emulator->RefreshList(gfAll);
    QCOMPARE(f.Emulator->Games().at(0).Location, rlDirectory);
}

void TestStartup::unwritableGamesFileSkipsTheRest()
{
    Fixture f;
    writeFile(f.Dir.filePath("lanvo"), "a file where the data directory should be");
    writeFile(f.Dir.filePath("corinit.dat"), QByteArray(20, '\0'));
    const StartupOutcome outcome = f.Startup->run();
    QVERIFY(!outcome.EndProgram);
    QCOMPARE(f.Prompts.texts(),
             QStringList{QString::fromUtf8("Impossible de créer le fichier ") + f.games()});
    QCOMPARE(f.Window->Steps, QStringList{"window"});
    // The initialisation file is still read: its values are written back at the end.
    QCOMPARE(f.Emulator->System, ctConsole);
}

void TestStartup::initialisationFileReadInAnyCase_data()
{
    QTest::addColumn<QByteArray>("romPaths");
    QTest::newRow("ROM sets in the start folder") << QByteArray();
    QTest::newRow("ROM sets elsewhere") << QByteArray("RomPath1=roms\r\nRomPath2=roms\r\n");
}

void TestStartup::initialisationFileReadInAnyCase()
{
    QFETCH(QByteArray, romPaths);
    Fixture f;
    f.settings("Version=1.61\r\n" + romPaths);
    makeDirectory(f.Dir.filePath("roms"));
    writeFile(f.games(), "A;;;;a\r\n");
    writeFile(f.Dir.filePath("CORINIT.DAT"), QByteArray(20, '\0'));
    QVERIFY(!f.Startup->run().EndProgram);
    QVERIFY(f.Prompts.Messages.isEmpty());
    QCOMPARE(f.Emulator->System, ctConsole);
    QVERIFY(f.Window->Steps.contains("refresh"));
}

void TestStartup::readOnlyInstallWorksFromAlternate()
{
    Fixture f;
    const QString alternate = f.Dir.filePath("alt");
    f.settings("AltPath=alt\r\n");
    writeFile(f.Dir.filePath("corinit.dat"), QByteArray(20, '\0'));
    f.Startup->workDirectory().setMarkerTest(
        [&](const QString &dir) { return dir != f.Dir.path() && createWritabilityMarker(dir); });
    QVERIFY(!f.Startup->run().EndProgram);
    QCOMPARE(f.Emulator->WorkDir, alternate);
    QVERIFY(f.Window->Steps.contains("install:CD"));
    QVERIFY(f.Emulator->EmulatorFound()); // copied over
    QCOMPARE(f.Emulator->System, ctConsole);          // read from the copied init file
    QVERIFY(QFileInfo(f.games()).isFile());          // the data stays below the start directory
    QVERIFY(f.Prompts.Messages.isEmpty());
}

void TestStartup::writeProtectedAlternateEndsFirst()
{
    Fixture f;
    // No "AltPath" is stored: the default alternate directory is used, kept inside the test's folder.
    const QString alternate = f.Dir.filePath("default-alt");
    f.Startup->workDirectory().setDefaultAlternateDirectory(alternate);
    f.Startup->workDirectory().setMarkerTest([](const QString &) { return false; });
    const StartupOutcome outcome = f.Startup->run();
    QVERIFY(outcome.EndProgram);
    QVERIFY(f.Window->Steps.isEmpty());
    QCOMPARE(f.Prompts.texts(), QStringList{"Alternate path is write protected!(" + alternate + ")"});
    QVERIFY(!QFile::exists(f.games()));
}

void TestStartup::folderNameQtCantHoldEndsBeforeWriting_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("first ROM folder in Latin-1") << QByteArray("RomPath1=roms/caf\xe9");
    QTest::newRow("second ROM folder, a stray byte") << QByteArray("RomPath2=/srv/\xff");
    QTest::newRow("alternate folder") << QByteArray("AltPath=alt\xe9");
}

// Read as display text the name would lead to another folder, which start-up would then create,
// scan or write in: it ends the program with a message instead, before anything is written.
void TestStartup::folderNameQtCantHoldEndsBeforeWriting()
{
    QFETCH(QByteArray, line);
    Fixture f;
    f.settings(line + "\r\n");
    const QByteArray before = readFile(f.Dir.filePath("Lanvo.ini"));
    const StartupOutcome outcome = f.Startup->run();
    QVERIFY(outcome.EndProgram);
    QCOMPARE(outcome.ExitCode, 1);
    QCOMPARE(f.Prompts.Messages.size(), 1);
    QCOMPARE(f.Prompts.Messages.first().Kind, PromptKind::Error);
    const QString key = QString::fromLatin1(line.left(line.indexOf('=')));
    const QString text = f.Prompts.texts().first();
    QVERIFY2(text.contains(" can't be used: its name is not valid UTF-8"), qPrintable(text));
    QVERIFY2(text.contains(key + " in " + f.Dir.filePath("Lanvo.ini")) || text.contains(key + " names in "),
             qPrintable(text));
    QCOMPARE(QDir(f.Dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{"corvane.exe", "Lanvo.ini"}));
    QCOMPARE(readFile(f.Dir.filePath("Lanvo.ini")), before);
    QVERIFY(f.Window->Steps.isEmpty());
}

QTEST_APPLESS_MAIN(TestStartup)
#include "tst_startup.moc"
