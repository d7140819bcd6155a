#include "AlternateFolder.h"
#include "LanvoError.h"
#include "SettingsFile.h"
#include "TestFakes.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestSettingsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void missingFileGivesDefaults();
    void readingRules_data();
    void readingRules();
    void biosMustBeABiosSubdirectory_data();
    void biosMustBeABiosSubdirectory();
    void addParamMissingKeepsCurrentValue();
    void writeThenReadRoundTrips();
    void writeOrderAndVersionKey_data();
    void writeOrderAndVersionKey();
    void writeKeepsForeignLines();
    void writeFailureNamesTheFile();

private:
    struct Fixture
    {
        QTemporaryDir Dir;
        std::unique_ptr<TCorvane> Emulator;
        Fixture()
        {
            Emulator = std::make_unique<TCorvane>(nullptr, Dir.path());
            Emulator->WorkDir = Dir.path();
        }
        QString ini() const { return settingsFilePath(Dir.path()); }
    };
};

void TestSettingsFile::missingFileGivesDefaults()
{
    Fixture f;
    WindowSettings window;
    window.Top = -1;
    QVERIFY(ReadSettingsFile(*f.Emulator, window)); // no version: the catalogue is to be written
    QCOMPARE(window.State, TWindowState::Normal);
    QCOMPARE(window.Top, 192);
    QCOMPARE(window.Left, 232);
    QCOMPARE(window.Height, 470);
    QCOMPARE(window.Width, 914);
    QVERIFY(window.PictureShown);
    const TCorvane &e = *f.Emulator;
    QCOMPARE(e.RomPath1, (TPath{".", f.Dir.path()}));
    QCOMPARE(e.RomPath2, (TPath{".", f.Dir.path()}));
    QCOMPARE(e.AltPath, (TPath{defaultAlternateDirectory(), defaultAlternateDirectory()}));
    QVERIFY(e.Vsync && !e.Frameskip && !e.Vga && !e.Noanalysis && !e.Modex);
    QCOMPARE(e.FrameskipValue, 1);
    QCOMPARE(e.Scanlines, slOn);
    QCOMPARE(e.PictureDir, e.TitlePicDir);
    QVERIFY(e.ProcessSnapshots && e.DeleteSnapshot);
    QVERIFY(e.Bios.isEmpty());
}

void TestSettingsFile::readingRules_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Vsync yes is off") << QByteArray("Vsync=yes") << "Vsync" << "0";
    QTest::newRow("Vsync on lower case") << QByteArray("vsync = on ") << "Vsync" << "1";
    QTest::newRow("Frameskip yes is on") << QByteArray("Frameskip=yes") << "Frameskip" << "1";
    QTest::newRow("Frameskip Off") << QByteArray("Frameskip=Off") << "Frameskip" << "0";
    QTest::newRow("Vga empty is on") << QByteArray("Vga=") << "Vga" << "1";
    QTest::newRow("Scanlines 75") << QByteArray("Scanlines=75") << "Scanlines" << "1";
    QTest::newRow("Scanlines off") << QByteArray("Scanlines=off") << "Scanlines" << "0";
    QTest::newRow("Scanlines 25") << QByteArray("Scanlines=25") << "Scanlines" << "2";
    QTest::newRow("Scanlines 100 quoted") << QByteArray("Scanlines=\"100\"") << "Scanlines" << "4";
    QTest::newRow("FrameskipValue 0") << QByteArray("FrameskipValue=0") << "FrameskipValue" << "1";
    QTest::newRow("FrameskipValue 5") << QByteArray("FrameskipValue=5") << "FrameskipValue" << "1";
    QTest::newRow("FrameskipValue abc") << QByteArray("FrameskipValue=abc") << "FrameskipValue" << "1";
    QTest::newRow("FrameskipValue 0x3") << QByteArray("FrameskipValue=0x3") << "FrameskipValue" << "3";
    QTest::newRow("FrameskipValue +4") << QByteArray("FrameskipValue=+4") << "FrameskipValue" << "4";
    QTest::newRow("Top hex") << QByteArray("Top=0X10") << "Top" << "16";
    QTest::newRow("Top hex letters") << QByteArray("Top=0x1f") << "Top" << "31";
    QTest::newRow("Top hex with minus") << QByteArray("Top=0x-5") << "Top" << "192";
    QTest::newRow("Top hex with plus") << QByteArray("Top=0x+3") << "Top" << "192";
    QTest::newRow("Top hex twice") << QByteArray("Top=0x0x5") << "Top" << "192";
    QTest::newRow("Top hex with blank") << QByteArray("Top=0x 5") << "Top" << "192";
    QTest::newRow("Top negative") << QByteArray("Top=-20") << "Top" << "-20";
    QTest::newRow("Top huge") << QByteArray("Top=99999999999") << "Top" << "192";
    QTest::newRow("Heigh spelled so") << QByteArray("Height=100\r\nHeigh=300") << "Heigh" << "300";
    QTest::newRow("WindowState max") << QByteArray("WindowState=max") << "WindowState" << "2";
    QTest::newRow("WindowState min") << QByteArray("WindowState=MIN") << "WindowState" << "1";
    QTest::newRow("WindowState odd") << QByteArray("WindowState=huge") << "WindowState" << "0";
    QTest::newRow("Picture off") << QByteArray("Picture=off") << "Picture" << "0";
    QTest::newRow("Picture other") << QByteArray("Picture=no") << "Picture" << "1";
    QTest::newRow("PicShow game") << QByteArray("PicShow=PICGAMEPATH") << "PicShow" << "game";
    QTest::newRow("PicShow other") << QByteArray("PicShow=PICTURES") << "PicShow" << "title";
    QTest::newRow("MoveShot no") << QByteArray("MoveShot=no") << "MoveShot" << "0";
    QTest::newRow("MoveShot odd") << QByteArray("MoveShot=1") << "MoveShot" << "0";
    QTest::newRow("DelShot yes lower") << QByteArray("DelShot=yes") << "DelShot" << "1";
    QTest::newRow("Version equal") << QByteArray("Version=1.61") << "Version" << "0";
    QTest::newRow("Version other") << QByteArray("Version=1.60") << "Version" << "1";
    QTest::newRow("RomPath relative backslashes") << QByteArray("RomPath1=.\\roms\\") << "RomPath1" << "roms";
    QTest::newRow("duplicate key: first wins") << QByteArray("Vga=ON\r\nVga=OFF") << "Vga" << "1";
    QTest::newRow("AddParam empty") << QByteArray("AddParam=") << "AddParam" << "";
    QTest::newRow("AddParam quoted") << QByteArray("AddParam= '-x \"y\"' ") << "AddParam" << "-x \"y\"";
}

void TestSettingsFile::readingRules()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, property);
    QFETCH(QString, expected);
    Fixture f;
    f.Emulator->AdditionalParameters = QStringLiteral("before");
    writeFile(f.ini(), "; comment\r\nno equals here\r\n[LANVO]\r\n" + lines + "\r\n[Other]\r\nVga=OFF\r\n");
    WindowSettings w;
    const bool catalogueWritten = ReadSettingsFile(*f.Emulator, w);
    const TCorvane &e = *f.Emulator;
    const QMap<QString, QString> actual = {
        {"Vsync", QString::number(e.Vsync)},
        {"Frameskip", QString::number(e.Frameskip)},
        {"Vga", QString::number(e.Vga)},
        {"Scanlines", QString::number(e.Scanlines)},
        {"FrameskipValue", QString::number(e.FrameskipValue)},
        {"Top", QString::number(w.Top)},
        {"Heigh", QString::number(w.Height)},
        {"WindowState", QString::number(int(w.State))},
        {"Picture", QString::number(w.PictureShown)},
        {"PicShow", e.PictureDir == e.GamePicDir ? "game" : e.PictureDir == e.TitlePicDir ? "title" : "?"},
        {"MoveShot", QString::number(e.ProcessSnapshots)},
        {"DelShot", QString::number(e.DeleteSnapshot)},
        {"Version", QString::number(catalogueWritten)},
        {"RomPath1", e.RomPath1.FullPath == f.Dir.filePath("roms") && e.RomPath1.Path == "./roms/"
                         ? "roms" : e.RomPath1.FullPath},
        {"AddParam", e.AdditionalParameters},
    };
    QCOMPARE(actual.value(property), expected);
}

void TestSettingsFile::biosMustBeABiosSubdirectory_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("bios");
    QTest::newRow("existing set") << QByteArray("euro") << "euro";
    QTest::newRow("a file, not a directory") << QByteArray("notes") << "";
    QTest::newRow("nothing of that name") << QByteArray("gone") << "";
    QTest::newRow("reaching out") << QByteArray("../bios/euro") << "";
}

void TestSettingsFile::biosMustBeABiosSubdirectory()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, bios);
    Fixture f;
    makeDirectory(f.Emulator->BiosDir() + "/euro");
    writeFile(f.Emulator->BiosDir() + "/notes", "x");
    writeFile(f.ini(), "[Lanvo]\nBios=" + stored + "\n");
    WindowSettings w;
    ReadSettingsFile(*f.Emulator, w);
    QCOMPARE(f.Emulator->Bios, bios);
}

void TestSettingsFile::addParamMissingKeepsCurrentValue()
{
    Fixture f;
    f.Emulator->AdditionalParameters = QStringLiteral("-keep");
    writeFile(f.ini(), "[Lanvo]\r\nVga=ON\r\n");
    WindowSettings w;
    ReadSettingsFile(*f.Emulator, w);
    QCOMPARE(f.Emulator->AdditionalParameters, QStringLiteral("-keep"));
}

void TestSettingsFile::writeThenReadRoundTrips()
{
    Fixture f;
    makeDirectory(f.Emulator->BiosDir() + "/japan");
    TCorvane &e = *f.Emulator;
    e.Bios = QStringLiteral("japan");
    e.Vsync = false;
    e.Frameskip = true;
    e.FrameskipValue = 3;
    e.Vga = true;
    e.Noanalysis = true;
    e.Scanlines = sl50;
    e.Modex = true;
    e.PictureDir = e.GamePicDir;
    e.ProcessSnapshots = false;
    e.DeleteSnapshot = false;
    e.AdditionalParameters = QStringLiteral("-x \"quoted words\" 'and' more");
    const WindowSettings saved{TWindowState::Maximized, 10, 20, 300, 400, false};
    WriteSettingsFile(e, saved, true);

    Fixture g;
    g.Emulator->WorkDir = f.Dir.path();
    g.Emulator->BiosPath = e.BiosPath;
    WindowSettings read;
    QVERIFY(!ReadSettingsFile(*g.Emulator, read)); // the version was written
    const TCorvane &r = *g.Emulator;
    QCOMPARE(read.State, saved.State);
    QCOMPARE(QList<int>({read.Top, read.Left, read.Height, read.Width}), QList<int>({10, 20, 300, 400}));
    QCOMPARE(read.PictureShown, false);
    QCOMPARE(r.Bios, e.Bios);
    QCOMPARE(QList<bool>({r.Vsync, r.Frameskip, r.Vga, r.Noanalysis, r.Modex, r.ProcessSnapshots, r.DeleteSnapshot}),
             QList<bool>({false, true, true, true, true, false, false}));
    QCOMPARE(r.FrameskipValue, 3);
    QCOMPARE(r.Scanlines, sl50);
    QCOMPARE(r.PictureDir.Path, r.GamePicDir.Path);
    QCOMPARE(r.AdditionalParameters, e.AdditionalParameters);
}

void TestSettingsFile::writeOrderAndVersionKey_data()
{
    QTest::addColumn<bool>("catalogueWritten");
    QTest::newRow("version written") << true;
    QTest::newRow("version left out") << false;
}

void TestSettingsFile::writeOrderAndVersionKey()
{
    QFETCH(bool, catalogueWritten);
    Fixture f;
    f.Emulator->Bios = QStringLiteral("set.v2"); // written up to its first dot
    WriteSettingsFile(*f.Emulator, WindowSettings(), catalogueWritten);
    QByteArray expected = "[Lanvo]\r\nWindowState=NORMAL\r\n";
    if (catalogueWritten)
        expected += "Version=1.61\r\n";
    expected += "Top=192\r\nLeft=232\r\nHeigh=470\r\nWidth=914\r\nBios=set\r\nVsync=ON\r\nFrameskip=OFF\r\n"
                "FrameskipValue=1\r\nVga=OFF\r\nNoanalysis=OFF\r\nScanlines=ON\r\nModex=OFF\r\nPicture=ON\r\n"
                "PicShow=PICTITLEPATH\r\nMoveShot=YES\r\nDelShot=YES\r\nAddParam=\r\n";
    QCOMPARE(readFile(f.ini()), expected);
}

void TestSettingsFile::writeKeepsForeignLines()
{
    Fixture f;
    const QByteArray before = "; my notes\n[Lanvo]\nRomPath1=/roms\nvsync=on\nmine=1\n\n[Other]\nx=y\n";
    writeFile(f.ini(), before);
    f.Emulator->Vsync = false;
    WriteSettingsFile(*f.Emulator, WindowSettings(), false);
    const QByteArray after = readFile(f.ini());
    QVERIFY(after.startsWith("; my notes\n[Lanvo]\nRomPath1=/roms\nVsync=OFF\nmine=1\nWindowState=NORMAL\n"));
    QVERIFY(after.endsWith("AddParam=\n\n[Other]\nx=y\n"));
    QVERIFY(!after.contains('\r'));
}

void TestSettingsFile::writeFailureNamesTheFile()
{
    Fixture f;
    f.Emulator->WorkDir = f.Dir.filePath("missing");
    try {
        WriteSettingsFile(*f.Emulator, WindowSettings(), true);
        QFAIL("no error");
    } catch (const LanvoError &error) {
        QVERIFY2(error.message().contains(f.Dir.filePath("missing/Lanvo.ini")), qPrintable(error.message()));
    }
}

QTEST_APPLESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
