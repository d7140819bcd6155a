// The whole program as a user meets it: start, change options on the page and in the menus, run a
// game through the stand-in emulator, close, and look at everything that was written.
#include "Main.h"
#include "StandIn.h"
#include "TestFakes.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void optionsRunAndClose();
    void realEmulatorThroughDosbox();

private:
    QString m_savedCurrent;
};

void TestEndToEnd::optionsRunAndClose()
{
    const QTemporaryDir dir;
    installStandIn(QStringLiteral(CORVANE_STANDIN_PATH), dir.path());
    writeFile(dir.filePath("corvane.ctl"), "shots=2\n");
    QByteArray init(40, '\x5a');
    init[18] = 2;
    init[19] = char(0x80);
    writeFile(dir.filePath("corinit.dat"), init);
    makeDirectory(dir.filePath("roms/aof3"));
    writeFile(dir.filePath("Lanvo.ini"), "; kept\r\n[Lanvo]\r\nRomPath1=roms\r\n");
    for (const char *bios : {"euro", "japan"}) {
        writeFile(dir.filePath(QString("lanvo/bios/%1/%1.rom").arg(bios)), bios);
        writeFile(dir.filePath(QString("lanvo/bios/%1/fix.gdb").arg(bios)), bios);
    }
    writeFile(dir.filePath("stale.rom"), "old");
    RecordingPrompts prompts;
    {
        TF_Lanvo window({dir.path(), &prompts, {}});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(prompts.Messages.isEmpty());
        QCOMPARE(window.SB_InfoBar->panelText(0), QStringLiteral("1 games"));

        // The Options page.
        window.PageControl->setCurrentWidget(window.PageOptions);
        TOptionsPage &page = *window.OptionsPage;
        QTest::mouseClick(page.Frameskip, Qt::LeftButton);
        page.FrameskipValue->setCurrentIndex(2);
        QTest::mouseClick(page.Vga, Qt::LeftButton);
        QTest::mouseClick(page.Vsync, Qt::LeftButton);
        page.CBScanlinesValue->setCurrentIndex(2);
        window.PageControl->setCurrentWidget(window.PageGames);

        // The emulator menu.
        window.EmulatorMenu->mnJapaneze->trigger();
        window.EmulatorMenu->mnConsole->trigger();
        QAction *japan = nullptr;
        for (QAction *item : window.EmulatorMenu->biosItems()) {
            if (item->data().toString() == "japan")
                japan = item;
        }
        QVERIFY(japan);
        japan->trigger();

        // Run the game with Enter.
        window.ListGames->selectRow(0);
        window.ListGames->setFocus();
        QTest::keyClick(window.ListGames, Qt::Key_Return);
        QVERIFY(prompts.Messages.isEmpty());
        QVERIFY(window.SnapshotPanel->image->isVisible());
        window.close();
    }
    const QList<StandInRun> runs = readStandInLog(dir.path());
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs.first().Arguments, (QStringList{dir.filePath("roms/aof3"), "-f3", "-vga", "-s50"}));
    QCOMPARE(runs.first().CurrentDirectory, dir.path());
    QCOMPARE(runs.first().Byte18, QStringLiteral("0"));
    QCOMPARE(runs.first().Byte19, QStringLiteral("0"));
    QCOMPARE(QDir(dir.path()).entryList({"*.rom", "*.gdb"}, QDir::Files, QDir::Name),
             (QStringList{"fix.gdb", "japan.rom"}));

    QByteArray expectedInit = init;
    expectedInit[18] = 0;
    expectedInit[19] = 0;
    QCOMPARE(readFile(dir.filePath("corinit.dat")), expectedInit);

    const QByteArray ini = readFile(dir.filePath("Lanvo.ini"));
    QVERIFY(ini.startsWith("; kept\r\n[Lanvo]\r\nRomPath1=roms\r\nWindowState=NORMAL\r\nVersion=1.61\r\n"));
    QVERIFY(ini.contains("\r\nBios=japan\r\nVsync=OFF\r\nFrameskip=ON\r\nFrameskipValue=3\r\nVga=ON\r\n"
                         "Noanalysis=OFF\r\nScanlines=50\r\nModex=OFF\r\nPicture=ON\r\nPicShow=PICTITLEPATH\r\n"
                         "MoveShot=YES\r\nDelShot=YES\r\nAddParam=\r\n"));

    const QString picture = dir.filePath("lanvo/TitlePic/aof3.bmp");
    QVERIFY(QFileInfo(picture).isFile());
    QCOMPARE(QImage(picture).size(), QSize(320, 224));
    QVERIFY(QDir(dir.filePath("shots")).entryList(QDir::Files).isEmpty());
}

// A Corvane folder as copied from a DOS medium, upper-case names and a DOS program, run with Enter.
void TestEndToEnd::realEmulatorThroughDosbox()
{
    const QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path())); // DOSBox's own configuration goes there
    qputenv("SDL_VIDEODRIVER", "dummy");
    qputenv("SDL_AUDIODRIVER", "dummy");
    const QTemporaryDir dir;
    QVERIFY(QFile::copy(QStringLiteral(CORVANE_DOS_PATH), dir.filePath("CORVANE.EXE")));
    writeFile(dir.filePath("CORINIT.DAT"), QByteArray(18, '\0') + QByteArray("\x01\x80", 2));
    writeFile(dir.filePath("CORVANE.CTL"), "2");
    makeDirectory(dir.filePath("roms/aof3"));
    writeFile(dir.filePath("Lanvo.ini"), "[Lanvo]\r\nRomPath1=roms\r\n[Dosbox]\r\nUse=auto\r\n");
    RecordingPrompts prompts;
    {
        TF_Lanvo window({dir.path(), &prompts, {}});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(prompts.Messages.isEmpty()); // the upper-case emulator was found
        window.ListGames->selectRow(0);
        window.ListGames->setFocus();
        QTest::keyClick(window.ListGames, Qt::Key_Return);
        QVERIFY(prompts.Messages.isEmpty());
        QVERIFY(window.SnapshotPanel->image->isVisible());
        window.close();
    }
    const QByteArray log = readFile(dir.filePath("DOSRUN.LOG"));
    QVERIFY2(log.startsWith("tail= d:\\aof3 -v -s\r\nromset=found\r\nbyte18=01\r\nbyte19=80\r\n"), log.constData());
    QVERIFY(QFileInfo(dir.filePath("lanvo/TitlePic/aof3.bmp")).isFile());
    QVERIFY(QDir(dir.filePath("SHOTS")).entryList(QDir::Files).isEmpty());
    QCOMPARE(readFile(dir.filePath("CORINIT.DAT")).size(), 20); // patched in place, nothing created beside it
    QVERIFY(!QFile::exists(dir.filePath("corinit.dat")));
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
