// Every place that replaces or deletes a file, with the Nth write, rename or delete failing.
#include "Corvane.h"
#include "FilesUtils.h"
#include "LanvoError.h"
#include "ProfileFile.h"
#include "SettingsFile.h"
#include "StandIn.h"
#include "Startup.h"
#include "TestFakes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestFaultInjection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void seamCountsOnlyItsKind();
    void settingsUpdateFailsWhole_data();
    void settingsUpdateFailsWhole();
    void gamesFileReplacementFailsWhole();
    void copyFileToFailsWhole();
    void harvestedPictureFailsWhole();
    void harvestRenamesAndDeletesFailQuietly_data();
    void harvestRenamesAndDeletesFailQuietly();
    void biosPlacementFailures();

private:
    QString m_savedCurrent;
};

void TestFaultInjection::seamCountsOnlyItsKind()
{
    const QTemporaryDir dir;
    const QString path = dir.filePath("f");
    QVERIFY(saveAtomically(path, "1"));
    {
        FileFaultInjection injection(FileOperation::Write, 2);
        QVERIFY(removeFile(dir.filePath("missing")) == false); // a delete is not counted as a write
        QVERIFY(saveAtomically(path, "2"));
        QVERIFY(!saveAtomically(path, "3"));
        QVERIFY(saveAtomically(path, "4"));
        QCOMPARE(injection.calls(), 3);
    }
    QCOMPARE(readFile(path), QByteArray("4"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"f"}); // no temporary left behind
}

void TestFaultInjection::settingsUpdateFailsWhole_data()
{
    QTest::addColumn<int>("failingWrite");
    QTest::newRow("first key") << 1;
    QTest::newRow("fifth key") << 5;
    QTest::newRow("last key") << 19;
}

void TestFaultInjection::settingsUpdateFailsWhole()
{
    QFETCH(int, failingWrite);
    const QTemporaryDir dir;
    TCorvane emulator(nullptr, dir.path());
    emulator.WorkDir = dir.path();
    const QString ini = settingsFilePath(dir.path());
    writeFile(ini, "; mine\r\n[Lanvo]\r\nWindowState=MAX\r\nAddParam=old\r\n");
    emulator.AdditionalParameters = QStringLiteral("new");
    QString message;
    {
        FileFaultInjection injection(FileOperation::Write, failingWrite);
        try {
            WriteSettingsFile(emulator, WindowSettings(), true);
        } catch (const LanvoError &error) {
            message = error.message();
        }
        QCOMPARE(injection.calls(), failingWrite); // later keys are not written
    }
    QCOMPARE(message, "Unable to write to " + ini);
    // Every update before the failing one is there, the failing one and those after are not, and
    // the file is never cut short.
    const QByteArray after = readFile(ini);
    QVERIFY(after.startsWith("; mine\r\n[Lanvo]\r\n"));
    QCOMPARE(after.contains("WindowState=NORMAL"), failingWrite > 1);
    QVERIFY(after.contains("AddParam=old\r\n"));
    QCOMPARE(ProfileFile(ini).readString("Lanvo", "AddParam", "?"), QByteArray("old"));
}

void TestFaultInjection::gamesFileReplacementFailsWhole()
{
    const QTemporaryDir dir;
    TCorvane emulator(nullptr, dir.path());
    RecordingPrompts prompts;
    emulator.Prompts = &prompts;
    writeFile(dir.filePath("corvane.exe"), "MZ");
    writeFile(dir.filePath("Lanvo.ini"), "[Lanvo]\r\nVersion=1.0\r\n");
    writeFile(emulator.gamesFilePath(), "Mine;;;;mine\r\n");
    QuietStartupWindow window;
    prompts.Answers = {PromptAnswer::Yes};
    FileFaultInjection injection(FileOperation::Write, 1);
    LanvoStartup startup(emulator, prompts, window);
    QVERIFY(!startup.run().EndProgram);
    QCOMPARE(readFile(emulator.gamesFilePath()), QByteArray("Mine;;;;mine\r\n"));
    QCOMPARE(prompts.texts().last(), QString::fromUtf8("Impossible de créer le fichier ") + emulator.gamesFilePath());
    QVERIFY(!window.Refreshed); // the remaining steps are skipped
}

void TestFaultInjection::copyFileToFailsWhole()
{
    const QTemporaryDir dir;
    writeFile(dir.filePath("src"), QByteArray(20000, 'n'));
    writeFile(dir.filePath("dst"), "old content");
    FileFaultInjection injection(FileOperation::Write, 1);
    try {
        CopyFileTo(dir.filePath("src"), dir.filePath("dst"));
        QFAIL("no error");
    } catch (const LanvoError &error) {
        QCOMPARE(error.message(), QString::fromUtf8("Impossible de créer le fichier ") + dir.filePath("dst"));
    }
    QCOMPARE(readFile(dir.filePath("dst")), QByteArray("old content"));
}

void TestFaultInjection::harvestedPictureFailsWhole()
{
    const QTemporaryDir dir;
    TCorvane emulator(nullptr, dir.path());
    emulator.WorkDir = dir.path();
    emulator.SetInstallType(itHD);
    const QString pictures = emulator.TitlePicDir.FullPath;
    writeFile(pictures + "/aof3.bmp", "old bmp");
    writeFile(pictures + "/aof3.jpg", "old jpg");
    writeFile(emulator.shotsDirectory() + "/shot1.bmp", "new");
    FileFaultInjection injection(FileOperation::Write, 1);
    QVERIFY_THROWS_EXCEPTION(LanvoError, emulator.HarvestSnapshots(QStringLiteral("aof3")));
    QCOMPARE(readFile(pictures + "/aof3.bmp"), QByteArray("old bmp"));
    QCOMPARE(readFile(pictures + "/aof3.jpg"), QByteArray("old jpg"));
    QCOMPARE(readFile(emulator.shotsDirectory() + "/shot1.bmp"), QByteArray("new"));
}

void TestFaultInjection::harvestRenamesAndDeletesFailQuietly_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<QStringList>("shotsAfter");
    QTest::addColumn<QStringList>("picturesAfter");
    QTest::newRow("rename") << int(FileOperation::Rename) << QStringList{"aof31.bmp", "shot1.bmp"}
                            << QStringList{"aof3.bmp"};
    // The first delete is the old jpg, once the new picture is in place.
    QTest::newRow("delete") << int(FileOperation::Delete) << QStringList{"aof31.bmp", "aof32.bmp"}
                            << QStringList{"aof3.bmp", "aof3.jpg"};
}

void TestFaultInjection::harvestRenamesAndDeletesFailQuietly()
{
    QFETCH(int, operation);
    QFETCH(QStringList, shotsAfter);
    QFETCH(QStringList, picturesAfter);
    const QTemporaryDir dir;
    TCorvane emulator(nullptr, dir.path());
    emulator.WorkDir = dir.path();
    emulator.SetInstallType(itCDRom); // keeps the shots, so renames happen
    writeFile(emulator.TitlePicDir.FullPath + "/aof3.jpg", "old");
    writeFile(emulator.shotsDirectory() + "/shot1.bmp", "1");
    writeFile(emulator.shotsDirectory() + "/shot2.bmp", "2");
    FileFaultInjection injection(FileOperation(operation), 1);
    emulator.HarvestSnapshots(QStringLiteral("aof3")); // no error: these failures are quiet
    QCOMPARE(QDir(emulator.shotsDirectory()).entryList(QDir::Files, QDir::Name), shotsAfter);
    QCOMPARE(QDir(emulator.TitlePicDir.FullPath).entryList(QDir::Files, QDir::Name), picturesAfter);
}

void TestFaultInjection::biosPlacementFailures()
{
    const QTemporaryDir dir;
    TCorvane emulator(nullptr, dir.path());
    emulator.WorkDir = dir.path();
    emulator.SetInstallType(itHD);
    installStandIn(QStringLiteral(CORVANE_STANDIN_PATH), dir.path());
    writeFile(emulator.BiosDir() + "/euro/a.rom", "a");
    writeFile(emulator.BiosDir() + "/euro/b.rom", "b");
    writeFile(dir.filePath("stale.rom"), "stale");
    makeDirectory(dir.filePath("aof3"));
    TGame game;
    game.RomSet = QStringLiteral("aof3");
    game.Location = rlDirectory;
    game.FoundDir = dir.path();
    emulator.CurrentGame = &game;
    emulator.Bios = QStringLiteral("euro");
    {
        // A deletion that fails is ignored: the run goes on.
        FileFaultInjection injection(FileOperation::Delete, 1);
        emulator.Run();
    }
    QCOMPARE(readStandInLog(dir.path()).size(), 1);
    QCOMPARE(readFile(dir.filePath("a.rom")), QByteArray("a"));
    {
        // A copy that fails abandons the run with the copy's message and leaves no partial file.
        FileFaultInjection injection(FileOperation::Write, 2);
        try {
            emulator.Run();
            QFAIL("no error");
        } catch (const LanvoError &error) {
            QCOMPARE(error.message(), QString::fromUtf8("Impossible de créer le fichier ") + dir.filePath("b.rom"));
        }
    }
    QCOMPARE(readStandInLog(dir.path()).size(), 1);
    QCOMPARE(QDir(dir.path()).entryList({"*.rom"}, QDir::Files), QStringList{"a.rom"});
}

QTEST_GUILESS_MAIN(TestFaultInjection)
#include "tst_faultinjection.moc"
