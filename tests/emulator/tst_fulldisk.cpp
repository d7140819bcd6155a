// Replacing files on a file system that is really full: the old file stays byte for byte.
#include "Corvane.h"
#include "FilesUtils.h"
#include "FullDisk.h"
#include "LanvoError.h"
#include "SettingsFile.h"
#include "Startup.h"
#include "TestFakes.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Lanvo;
using namespace Lanvo::Test;

namespace {

QStringList filesIn(const QString &directory)
{
    return QDir(directory).entryList(QDir::Files, QDir::Name);
}

QString createError(const QString &path)
{
    return QString::fromUtf8("Impossible de créer le fichier ") + path;
}

} // namespace

class TestFullDisk : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void settingsSaveKeepsTheFile();
    void gamesFileIsNeverLeftEmpty_data();
    void gamesFileIsNeverLeftEmpty();
    void copyKeepsTheDestination();
    void harvestedPictureKeepsTheOldOne();

private:
    QString m_savedCurrent;
};

void TestFullDisk::settingsSaveKeepsTheFile()
{
    const QTemporaryDir dir;
    const QString work = dir.filePath("work");
    FullDisk disk(work);
    TCorvane emulator(nullptr, dir.path());
    emulator.WorkDir = work;
    const QString ini = settingsFilePath(work);
    const QByteArray before = "[Lanvo]\r\nVersion=1.61\r\n; my comment\r\nRomPath1=.\r\nAddParam=-keep me\r\n";
    writeFile(ini, before);
    emulator.AdditionalParameters = QStringLiteral("-new");

    disk.fill();
    try {
        WriteSettingsFile(emulator, WindowSettings(), false);
        QFAIL("a save on a full disk reported success");
    } catch (const LanvoError &error) {
        QCOMPARE(error.message(), "Unable to write to " + ini);
    }
    QCOMPARE(readFile(ini), before);
    QCOMPARE(filesIn(work), QStringList{"Lanvo.ini"}); // no temporary left behind

    disk.release();
    WriteSettingsFile(emulator, WindowSettings(), false);
    QVERIFY(readFile(ini).contains("AddParam=-new\r\n"));
}

void TestFullDisk::gamesFileIsNeverLeftEmpty_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QByteArray>("oldGames");
    QTest::newRow("first start") << QByteArray() << QByteArray();
    QTest::newRow("outdated file replaced") << QByteArray("[Lanvo]\r\nVersion=1.0\r\n")
                                            << QByteArray("Mine;1990;me;Sport;mine\r\n");
}

void TestFullDisk::gamesFileIsNeverLeftEmpty()
{
    QFETCH(QByteArray, settings);
    QFETCH(QByteArray, oldGames);
    const QTemporaryDir dir;
    TCorvane emulator(nullptr, dir.path());
    FullDisk disk(emulator.DataDir.FullPath);
    RecordingPrompts prompts;
    emulator.Prompts = &prompts;
    writeFile(dir.filePath("corvane.exe"), "MZ");
    if (!settings.isEmpty())
        writeFile(dir.filePath("Lanvo.ini"), settings);
    if (!oldGames.isEmpty())
        writeFile(emulator.gamesFilePath(), oldGames);
    QuietStartupWindow window;
    LanvoStartup startup(emulator, prompts, window);

    disk.fill();
    const StartupOutcome outcome = startup.run();
    disk.release();

    QVERIFY(!outcome.EndProgram);
    QVERIFY2(prompts.texts().contains(createError(emulator.gamesFilePath())), qPrintable(prompts.texts().join('|')));
    QVERIFY(!window.Refreshed); // the remaining steps are skipped
    QCOMPARE(QFile::exists(emulator.gamesFilePath()), !oldGames.isEmpty());
    if (!oldGames.isEmpty())
        QCOMPARE(readFile(emulator.gamesFilePath()), oldGames);
    // The catalogue was not written, so "Version" must not claim it was: the next start tries again.
    QVERIFY(!startup.catalogueWritten());
}

void TestFullDisk::copyKeepsTheDestination()
{
    const QTemporaryDir dir;
    const QString target = dir.filePath("target");
    FullDisk disk(target);
    writeFile(dir.filePath("src"), QByteArray(20000, 'n'));
    writeFile(target + "/dst", "old content");

    disk.fill();
    try {
        CopyFileTo(dir.filePath("src"), target + "/dst");
        QFAIL("a copy onto a full disk reported success");
    } catch (const LanvoError &error) {
        QCOMPARE(error.message(), createError(target + "/dst"));
    }
    QCOMPARE(readFile(target + "/dst"), QByteArray("old content"));
    QCOMPARE(filesIn(target), QStringList{"dst"});
}

void TestFullDisk::harvestedPictureKeepsTheOldOne()
{
    const QTemporaryDir dir;
    TCorvane emulator(nullptr, dir.path());
    emulator.WorkDir = dir.path();
    emulator.SetInstallType(itHD);
    const QString pictures = emulator.TitlePicDir.FullPath;
    FullDisk disk(pictures);
    writeFile(pictures + "/aof3.bmp", "old bmp");
    writeFile(emulator.shotsDirectory() + "/shot1.bmp", QByteArray(5000, 's'));

    disk.fill();
    QVERIFY_THROWS_EXCEPTION(LanvoError, emulator.HarvestSnapshots(QStringLiteral("aof3")));
    QCOMPARE(readFile(pictures + "/aof3.bmp"), QByteArray("old bmp"));
    QCOMPARE(filesIn(pictures), QStringList{"aof3.bmp"});
    QCOMPARE(readFile(emulator.shotsDirectory() + "/shot1.bmp"), QByteArray(5000, 's'));
}

QTEST_APPLESS_MAIN(TestFullDisk)
#include "tst_fulldisk.moc"
