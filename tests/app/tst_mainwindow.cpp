#include "AboutDialog.h"
#include "BuiltInCatalogue.h"
#include "LanvoDialogs.h"
#include "Main.h"
#include "OptionsDialog.h"
#include "StandIn.h"
#include "TestFakes.h"

#include <QAction>
#include <QDir>
#include <QMenuBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void firstStartListsAvailableGamesAndSavesAtClose();
    void secondStartKeepsSettingsAndWindow();
    void earlyEndWritesNothing();
    void windowComesBackWhereItWas_data();
    void windowComesBackWhereItWas();
    void exitMenuClosesThroughTheSameHandling();
    void runCommandsRunTheSelectedGame_data();
    void runCommandsRunTheSelectedGame();
    void dialogsAreBuiltOnceAfterTheFirstFrameOrWhenAskedFor_data();
    void dialogsAreBuiltOnceAfterTheFirstFrameOrWhenAskedFor();
    void programDialogsLiveUntilTheirHolderGoes();

private:
    QString m_savedCurrent;
};

namespace {

QByteArray initFile()
{
    QByteArray bytes(24, '\x11');
    bytes[18] = 0; // Japanese
    bytes[19] = 0; // console
    return bytes;
}

} // namespace

void TestMainWindow::firstStartListsAvailableGamesAndSavesAtClose()
{
    const QTemporaryDir dir;
    writeFile(dir.filePath("corvane.exe"), "MZ");
    writeFile(dir.filePath("corinit.dat"), initFile());
    makeDirectory(dir.filePath("kof98"));
    makeDirectory(dir.filePath("aof3"));
    writeFile(dir.filePath("Goalx3.zip"), "PK");
    RecordingPrompts prompts;
    {
        TF_Lanvo window({dir.path(), &prompts, {}});
        QVERIFY(!window.startupOutcome().EndProgram);
        QCOMPARE(window.windowTitle(), QStringLiteral("Lanvo Corvane - Version 1.61"));
        QStringList captions;
        for (int row = 0; row < window.ListGames->rowCount(); ++row)
            captions << window.ListGames->rowCaption(row);
        QCOMPARE(captions, (QStringList{"Art Of Fighting 3", "Goal! Goal! Goal!", "King of Fighters '98"}));
        const QAbstractItemModel *model = window.ListGames->model();
        QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Name"));
        QCOMPARE(model->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Manufacturer"));
        QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("1996"));
        QCOMPARE(window.SB_InfoBar->panelText(0), QStringLiteral("3 games"));
        QCOMPARE(window.SB_InfoBar->panelText(1), QStringLiteral("HD"));
        QCOMPARE(window.PageControl->currentWidget(), window.PageGames);
        QCOMPARE(window.PageControl->tabText(1), QStringLiteral("Options"));
        QVERIFY(prompts.Messages.isEmpty());
        QCOMPARE(window.emulateur->Language, glJapaneze);

        window.emulateur->Language = glUs;
        window.emulateur->System = ctArcade;
        window.emulateur->Vga = true;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.close());
    }
    const QByteArray ini = readFile(dir.filePath("Lanvo.ini"));
    QVERIFY(ini.startsWith("[Lanvo]\r\nWindowState=NORMAL\r\nVersion=1.61\r\n"));
    QVERIFY(ini.contains("\r\nVga=ON\r\n"));
    QVERIFY(!ini.contains("RomPath1"));
    const QByteArray init = readFile(dir.filePath("corinit.dat"));
    QCOMPARE(init.size(), 24);
    QCOMPARE(int(init[18]), 1);
    QCOMPARE(quint8(init[19]), quint8(0x80));
    QCOMPARE(readFile(dir.filePath("lanvo/GAMES.CSV")).count("\r\n"), 148);
}

void TestMainWindow::secondStartKeepsSettingsAndWindow()
{
    const QTemporaryDir dir;
    writeFile(dir.filePath("corvane.exe"), "MZ");
    writeFile(dir.filePath("Lanvo.ini"),
              "[Lanvo]\r\nVersion=1.61\r\nTop=40\r\nLeft=50\r\nHeigh=500\r\nWidth=700\r\nAddParam=-x\r\n");
    writeFile(dir.filePath("lanvo/GAMES.CSV"), "Mine;1990;Me;Sport;mine\r\nOther;;;;other\r\n");
    makeDirectory(dir.filePath("mine"));
    RecordingPrompts prompts;
    {
        TF_Lanvo window({dir.path(), &prompts, {}});
        QCOMPARE(window.ListGames->rowCount(), 1);
        QCOMPARE(window.SB_InfoBar->panelText(0), QStringLiteral("1 games"));
        QCOMPARE(window.size(), QSize(700, 500));
        QCOMPARE(window.pos(), QPoint(50, 40));
        QVERIFY(!window.catalogueWritten());
        window.close();
    }
    const QByteArray ini = readFile(dir.filePath("Lanvo.ini"));
    QVERIFY(ini.contains("Version=1.61\r\nTop=40\r\nLeft=50\r\nHeigh=500\r\nWidth=700\r\nAddParam=-x\r\n"));
    QCOMPARE(ini.count("Version="), 1);
    QCOMPARE(readFile(dir.filePath("lanvo/GAMES.CSV")), QByteArray("Mine;1990;Me;Sport;mine\r\nOther;;;;other\r\n"));
    // No emulator: the user was told once.
    QCOMPARE(prompts.Messages.size(), 0);
}

void TestMainWindow::windowComesBackWhereItWas_data()
{
    QTest::addColumn<int>("state"); // at close
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("normal") << int(Qt::WindowNoState) << QByteArray("NORMAL");
    QTest::newRow("maximised") << int(Qt::WindowMaximized) << QByteArray("MAX");
    QTest::newRow("minimised") << int(Qt::WindowMinimized) << QByteArray("MIN");
}

// The four numbers are one rectangle whatever the state at close: closing and starting again, twice,
// gives back the same normal place and size.
void TestMainWindow::windowComesBackWhereItWas()
{
    QFETCH(int, state);
    QFETCH(QByteArray, saved);
    const QTemporaryDir dir;
    writeFile(dir.filePath("corvane.exe"), "MZ");
    writeFile(dir.filePath("lanvo/GAMES.CSV"), "Mine;1990;Me;Sport;mine\r\n");
    const QByteArray placement = "Top=192\r\nLeft=232\r\nHeigh=470\r\nWidth=914\r\n";
    writeFile(dir.filePath("Lanvo.ini"), "[Lanvo]\r\nVersion=1.61\r\n" + placement);
    const QRect normal(232, 192, 914, 470);
    for (int cycle = 0; cycle < 2; ++cycle) {
        RecordingPrompts prompts;
        TF_Lanvo window({dir.path(), &prompts, {}});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window) || window.isMinimized());
        QCOMPARE(window.normalGeometry(), normal);
        window.setWindowState(Qt::WindowState(state));
        if (state == Qt::WindowMaximized)
            QTRY_VERIFY(window.geometry() != normal);
        QVERIFY(window.close());
        const QByteArray ini = readFile(dir.filePath("Lanvo.ini"));
        QVERIFY2(ini.contains("WindowState=" + saved + "\r\n") && ini.contains(placement), ini.constData());
    }
}

void TestMainWindow::earlyEndWritesNothing()
{
    const QTemporaryDir dir;
    writeFile(dir.filePath("Lanvo.ini"), "[Lanvo]\r\nVersion=1.61\r\nRomPath1=missing\r\n");
    writeFile(dir.filePath("lanvo/GAMES.CSV"), "A;;;;a\r\n");
    RecordingPrompts prompts;
    prompts.Answers = {PromptAnswer::Ok, PromptAnswer::Abort};
    {
        TF_Lanvo window({dir.path(), &prompts, {}});
        QVERIFY(window.startupOutcome().EndProgram);
        QCOMPARE(prompts.texts(),
                 (QStringList{"Corvane.exe not found in " + dir.path() + "/ . Emulator will not run",
                              "Cannot read first rom directory (" + dir.filePath("missing") + "/)"}));
    }
    QCOMPARE(readFile(dir.filePath("Lanvo.ini")), QByteArray("[Lanvo]\r\nVersion=1.61\r\nRomPath1=missing\r\n"));
}

void TestMainWindow::exitMenuClosesThroughTheSameHandling()
{
    const QTemporaryDir dir;
    writeFile(dir.filePath("corvane.exe"), "MZ");
    RecordingPrompts prompts;
    TF_Lanvo window({dir.path(), &prompts, {}});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.Menus->Mn_File->title(), QStringLiteral("&File"));
    QCOMPARE(window.Menus->mnQuit->text(), QStringLiteral("E&xit"));
    window.Menus->mnQuit->trigger();
    QVERIFY(!window.isVisible());
    QVERIFY(QFileInfo(dir.filePath("Lanvo.ini")).isFile());
}

void TestMainWindow::runCommandsRunTheSelectedGame_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("romSet");
    QTest::addColumn<bool>("runs");
    QTest::newRow("menu") << "menu" << "aof3" << true;
    QTest::newRow("double click") << "double" << "aof3" << true;
    QTest::newRow("enter") << "enter" << "aof3" << true;
    QTest::newRow("enter with nothing selected") << "enter" << "" << false;
    QTest::newRow("enter on a missing game") << "enter" << "gone" << false;
}

void TestMainWindow::runCommandsRunTheSelectedGame()
{
    QFETCH(QString, how);
    QFETCH(QString, romSet);
    QFETCH(bool, runs);
    const QTemporaryDir dir;
    installStandIn(QStringLiteral(CORVANE_STANDIN_PATH), dir.path());
    writeFile(dir.filePath("corinit.dat"), initFile());
    makeDirectory(dir.filePath("aof3"));
    RecordingPrompts prompts;
    TF_Lanvo window({dir.path(), &prompts, {}});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!window.EmulatorMenu->mnRun->isEnabled()); // nothing selected yet
    if (romSet == "aof3") {
        window.ListGames->selectRow(0);
        QCOMPARE(window.SB_InfoBar->panelText(2), romSet);
        QVERIFY(window.EmulatorMenu->mnRun->isEnabled());
    } else if (romSet == "gone") {
        // Only available games are listed: a game whose ROM set vanished since the list was filled.
        window.ListGames->selectRow(0);
        window.emulateur->CurrentGame->Location = rlMissing;
    }
    if (how == "menu") {
        window.EmulatorMenu->mnRun->trigger();
    } else if (how == "double") {
        const QRect cell = window.ListGames->visualRect(window.ListGames->model()->index(0, 0));
        QTest::mouseClick(window.ListGames->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(window.ListGames->viewport(), Qt::LeftButton, {}, cell.center());
    } else {
        QTest::keyClick(window.ListGames, Qt::Key_Return);
    }
    const QList<StandInRun> log = readStandInLog(dir.path());
    QCOMPARE(log.size(), runs ? 1 : 0);
    if (runs) {
        QCOMPARE(log.first().Arguments, (QStringList{dir.filePath("aof3"), "-v", "-s"}));
        QCOMPARE(log.first().CurrentDirectory, dir.path());
        QVERIFY(window.EmulatorMenu->mnRun->isEnabled());
        QVERIFY(!window.isMinimized());
    }
    QVERIFY(prompts.Messages.isEmpty());
    window.close();
}

void TestMainWindow::dialogsAreBuiltOnceAfterTheFirstFrameOrWhenAskedFor_data()
{
    QTest::addColumn<int>("askedFirst"); // before the window is shown: 0 nothing, 1 About, 2 Options
    QTest::newRow("built after the first frame") << 0;
    QTest::newRow("About asked for first") << 1;
    QTest::newRow("Options asked for first") << 2;
}

// The maker stands in for the program's, without dialogs that would wait for an answer.
void TestMainWindow::dialogsAreBuiltOnceAfterTheFirstFrameOrWhenAskedFor()
{
    QFETCH(int, askedFirst);
    const QTemporaryDir dir;
    writeFile(dir.filePath("corvane.exe"), "MZ");
    RecordingPrompts prompts;
    TF_Lanvo window({dir.path(), &prompts, {}});
    int built = 0;
    window.setDialogsMaker([&built] { ++built; });
    QTest::qWait(20);
    QCOMPARE(built, 0); // nothing drawn, nothing asked for
    if (askedFirst == 1)
        window.About1Click();
    if (askedFirst == 2)
        window.Options1Click();
    QCOMPARE(built, askedFirst == 0 ? 0 : 1);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(built, 1);
    window.About1Click();
    window.Options1Click();
    QTest::qWait(20);
    QCOMPARE(built, 1);
}

// The program's dialogs: children of the window once its first frame is drawn, and never reached
// again once their holder is gone.
void TestMainWindow::programDialogsLiveUntilTheirHolderGoes()
{
    const QTemporaryDir dir;
    writeFile(dir.filePath("corvane.exe"), "MZ");
    RecordingPrompts prompts;
    TF_Lanvo window({dir.path(), &prompts, {}});
    {
        const LanvoDialogs dialogs(window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(F_About && F_Options);
        QCOMPARE(F_About->parentWidget(), &window);
        QCOMPARE(F_Options->parentWidget(), &window);
    }
    QVERIFY(!F_About && !F_Options);
    window.About1Click(); // nothing left to build or show
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
