#include "Main.h"
#include "PictureSamples.h"
#include "StandIn.h"
#include "TestFakes.h"

#include <QAction>
#include <QGroupBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestSnapshotPanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void placement_data();
    void placement();
    void layoutAtStart();
    void middleButtonAndDeleteToggleTabs();
    void tabWhileHiddenChangesWhatIsShownLater();
    void visibilityAndKindSurviveRestart();
    void runShowsTheLastSnapshot();
    void tabAndPictureNeverDisagree_data();
    void tabAndPictureNeverDisagree();
    void middleClickOnARowOnlySwitchesTheTab();
    void tabSetByTheProgramRaisesNothing();

private:
    QString m_savedCurrent;
};

namespace {

std::unique_ptr<TF_Lanvo> openWindow(const QString &dir, RecordingPrompts &prompts)
{
    auto window = std::make_unique<TF_Lanvo>(LanvoWindowSetup{dir, &prompts, {}});
    window->show();
    return window;
}

// A start directory with Alpha and Bravo present, each with a title and an in-game picture.
void writeTwoGamesWithPictures(const QString &dir)
{
    writeFile(dir + "/Lanvo.ini", "[Lanvo]\r\nVersion=1.61\r\n");
    writeFile(dir + "/lanvo/GAMES.CSV", "Alpha;;;;alpha\r\nBravo;;;;bravo\r\n");
    makeDirectory(dir + "/alpha");
    makeDirectory(dir + "/bravo");
    writeFile(dir + "/lanvo/TitlePic/alpha.bmp", PictureSamples::solidBitmap(qRgb(255, 0, 0)));
    writeFile(dir + "/lanvo/GamePic/alpha.bmp", PictureSamples::solidBitmap(qRgb(0, 0, 255)));
    writeFile(dir + "/lanvo/TitlePic/bravo.bmp", PictureSamples::solidBitmap(qRgb(0, 255, 0)));
    writeFile(dir + "/lanvo/GamePic/bravo.bmp", PictureSamples::solidBitmap(qRgb(255, 255, 0)));
}

} // namespace

void TestSnapshotPanel::placement_data()
{
    QTest::addColumn<int>("panel");
    QTest::addColumn<int>("top");
    QTest::newRow("283: 28.5 rounds to even 28") << 283 << 28;
    QTest::newRow("285: 29.5 rounds to even 30") << 285 << 30;
    QTest::newRow("284") << 284 << 29;
    QTest::newRow("low window: floor of 24") << 250 << 24;
    QTest::newRow("lower than the picture") << 100 << 24;
    QTest::newRow("tall") << 600 << 187;
}

void TestSnapshotPanel::placement()
{
    QFETCH(int, panel);
    QFETCH(int, top);
    QCOMPARE(pictureTop(panel, 226), top);
}

void TestSnapshotPanel::layoutAtStart()
{
    const QTemporaryDir dir;
    RecordingPrompts prompts;
    auto window = openWindow(dir.path(), prompts);
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    const TSnapshotPanel &panel = *window->SnapshotPanel;
    QCOMPARE(panel.width(), 350);
    QCOMPARE(panel.PanelPic->width(), 340);
    QCOMPARE(panel.PanelPic->title(), QStringLiteral("Snapshot - Press F8 during play to create"));
    QCOMPARE(panel.ImageDefault->size(), QSize(320, 226));
    QCOMPARE(panel.image->geometry(), panel.ImageDefault->geometry());
    QCOMPARE(panel.ImageDefault->x(), 7);
    QCOMPARE(panel.ImageDefault->y(), pictureTop(panel.PanelPic->height(), 226));
    QVERIFY(panel.ImageDefault->isVisible() && !panel.image->isVisible());
    QCOMPARE(panel.TabControlPic->tabText(0), QStringLiteral("Title"));
    QCOMPARE(panel.TabControlPic->tabText(1), QStringLiteral("In-Game"));
    QVERIFY(!panel.ImageDefault->picture().isNull()); // the built-in default picture
    window->resize(window->width(), 300);
    QCOMPARE(panel.ImageDefault->y(), 24);
}

void TestSnapshotPanel::middleButtonAndDeleteToggleTabs()
{
    const QTemporaryDir dir;
    writeFile(dir.filePath("Lanvo.ini"), "[Lanvo]\r\nVersion=1.61\r\n");
    writeFile(dir.filePath("lanvo/GAMES.CSV"), "Alpha;;;;alpha\r\n");
    makeDirectory(dir.filePath("alpha"));
    writeFile(dir.filePath("lanvo/TitlePic/alpha.bmp"), PictureSamples::solidBitmap(qRgb(255, 0, 0)));
    writeFile(dir.filePath("lanvo/GamePic/alpha.bmp"), PictureSamples::solidBitmap(qRgb(0, 0, 255)));
    RecordingPrompts prompts;
    auto window = openWindow(dir.path(), prompts);
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->ListGames->selectRow(0);
    const TFEJpeg &image = *window->SnapshotPanel->image;
    QCOMPARE(image.picture().pixel(0, 0), qRgb(255, 0, 0));
    QWidget *viewport = window->ListGames->viewport();
    QTest::mouseClick(viewport, Qt::MiddleButton);
    QCOMPARE(window->SnapshotPanel->selectedTab(), 1);
    QCOMPARE(window->emulateur->PictureDir, window->emulateur->GamePicDir);
    QCOMPARE(image.picture().pixel(0, 0), qRgb(0, 0, 255));
    QTest::mouseClick(viewport, Qt::MiddleButton);
    QCOMPARE(window->SnapshotPanel->selectedTab(), 0);
    QCOMPARE(image.picture().pixel(0, 0), qRgb(255, 0, 0));
    QTest::mouseDClick(viewport, Qt::MiddleButton); // the second press of a double click counts
    QCOMPARE(window->SnapshotPanel->selectedTab(), 1);
    QTest::keyClick(window->ListGames, Qt::Key_Delete);
    QCOMPARE(window->SnapshotPanel->selectedTab(), 0);
    QTest::mouseClick(viewport, Qt::LeftButton); // other buttons: nothing
    QCOMPARE(window->SnapshotPanel->selectedTab(), 0);
    QCOMPARE(prompts.Messages.size(), 1); // only the missing emulator at start-up
}

void TestSnapshotPanel::tabWhileHiddenChangesWhatIsShownLater()
{
    const QTemporaryDir dir;
    writeFile(dir.filePath("Lanvo.ini"), "[Lanvo]\r\nVersion=1.61\r\n");
    writeFile(dir.filePath("lanvo/GAMES.CSV"), "Alpha;;;;alpha\r\n");
    makeDirectory(dir.filePath("alpha"));
    writeFile(dir.filePath("lanvo/GamePic/alpha.bmp"), PictureSamples::solidBitmap(qRgb(0, 255, 0)));
    RecordingPrompts prompts;
    auto window = openWindow(dir.path(), prompts);
    window->ListGames->selectRow(0);
    QVERIFY(!window->SnapshotPanel->image->isVisibleTo(window->SnapshotPanel)); // no title picture
    window->Menus->Mn_ShowSnapshot->trigger();
    QVERIFY(!window->SnapshotPanel->isVisible());
    QVERIFY(!window->Menus->Mn_ShowSnapshot->isChecked());
    QTest::keyClick(window->ListGames, Qt::Key_Delete);
    window->Menus->PmShowSnapshot->trigger(); // the context menu's item shows it again
    QVERIFY(window->SnapshotPanel->isVisible());
    QVERIFY(window->SnapshotPanel->image->isVisible());
    QCOMPARE(window->SnapshotPanel->image->picture().pixel(0, 0), qRgb(0, 255, 0));
}

void TestSnapshotPanel::visibilityAndKindSurviveRestart()
{
    const QTemporaryDir dir;
    RecordingPrompts prompts;
    {
        auto window = openWindow(dir.path(), prompts);
        QTest::keyClick(window->ListGames, Qt::Key_Delete); // in-game pictures
        window->Menus->Mn_ShowSnapshot->trigger();          // panel hidden
        window->close();
    }
    const QByteArray ini = readFile(dir.filePath("Lanvo.ini"));
    QVERIFY(ini.contains("\r\nPicture=OFF\r\nPicShow=PICGAMEPATH\r\n"));
    auto window = openWindow(dir.path(), prompts);
    QVERIFY(!window->SnapshotPanel->isVisible());
    QVERIFY(!window->Menus->Mn_ShowSnapshot->isChecked());
    window->Menus->PopupMenuListGamesPopup(nullptr, false);
    QVERIFY(!window->Menus->PmShowSnapshot->isChecked());
    QCOMPARE(window->SnapshotPanel->selectedTab(), 1);
    QCOMPARE(window->emulateur->PictureDir, window->emulateur->GamePicDir);
}

void TestSnapshotPanel::runShowsTheLastSnapshot()
{
    const QTemporaryDir dir;
    installStandIn(QStringLiteral(CORVANE_STANDIN_PATH), dir.path());
    writeFile(dir.filePath("corvane.ctl"), "shots=2\n");
    writeFile(dir.filePath("corinit.dat"), QByteArray(24, '\0'));
    writeFile(dir.filePath("Lanvo.ini"), "[Lanvo]\r\nVersion=1.61\r\nDelShot=NO\r\n");
    writeFile(dir.filePath("lanvo/GAMES.CSV"), "Alpha;;;;alpha\r\n");
    makeDirectory(dir.filePath("alpha"));
    RecordingPrompts prompts;
    auto window = openWindow(dir.path(), prompts);
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->ListGames->selectRow(0);
    window->EmulatorMenu->mnRun->trigger();
    const QList<StandInRun> runs = readStandInLog(dir.path());
    QCOMPARE(runs.size(), 1);
    QCOMPARE(runs.first().Shots, (QStringList{"shot1.bmp", "shot2.bmp"}));
    const QString picture = dir.filePath("lanvo/TitlePic/alpha.bmp");
    QVERIFY(QFileInfo(picture).isFile());
    QVERIFY(window->SnapshotPanel->image->isVisible());
    QImage expected(picture);
    QCOMPARE(window->SnapshotPanel->image->picture().convertToFormat(QImage::Format_RGB32),
             expected.convertToFormat(QImage::Format_RGB32));
    // The second snapshot, not the first: the stand-in draws each shot's number on it. The run's
    // shots are kept under the game's name.
    QCOMPARE(QDir(dir.filePath("shots")).entryList(QDir::Files, QDir::Name), (QStringList{"alpha1.bmp", "alpha2.bmp"}));
    QCOMPARE(readFile(picture), readFile(dir.filePath("shots/alpha2.bmp")));
    QVERIFY(readFile(picture) != readFile(dir.filePath("shots/alpha1.bmp")));
    QVERIFY(prompts.Messages.isEmpty());
}

void TestSnapshotPanel::tabAndPictureNeverDisagree_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<int>("tab"); // the tab afterwards
    QTest::newRow("left press") << "left" << 1;
    QTest::newRow("wheel") << "wheel" << 1;
    QTest::newRow("arrow key") << "right" << 1;
    QTest::newRow("right press: no tab change") << "rightbutton" << 0;
    QTest::newRow("middle press: no tab change") << "middlebutton" << 0;
}

void TestSnapshotPanel::tabAndPictureNeverDisagree()
{
    QFETCH(QString, gesture);
    QFETCH(int, tab);
    const QTemporaryDir dir;
    writeTwoGamesWithPictures(dir.path());
    RecordingPrompts prompts;
    {
        auto window = openWindow(dir.path(), prompts);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->ListGames->selectRow(0);
        QTabBar *tabs = window->SnapshotPanel->TabControlPic;
        const QPoint inGame = tabs->tabRect(1).center();
        if (gesture == "left") {
            QTest::mouseClick(tabs, Qt::LeftButton, {}, inGame);
        } else if (gesture == "rightbutton") {
            QTest::mouseClick(tabs, Qt::RightButton, {}, inGame);
        } else if (gesture == "middlebutton") {
            QTest::mouseClick(tabs, Qt::MiddleButton, {}, inGame);
        } else if (gesture == "right") {
            QTest::keyClick(tabs, Qt::Key_Right);
        } else {
            QWheelEvent wheel(inGame, tabs->mapToGlobal(inGame), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(tabs, &wheel);
        }
        QCOMPARE(window->SnapshotPanel->selectedTab(), tab);
        const TCorvane &emulator = *window->emulateur;
        QCOMPARE(emulator.PictureDir, tab == 1 ? emulator.GamePicDir : emulator.TitlePicDir);
        QCOMPARE(window->SnapshotPanel->image->picture().pixel(0, 0), tab == 1 ? qRgb(0, 0, 255) : qRgb(255, 0, 0));
        window->close();
    }
    QVERIFY(readFile(dir.filePath("Lanvo.ini")).contains(tab == 1 ? "PicShow=PICGAMEPATH" : "PicShow=PICTITLEPATH"));
    QVERIFY(prompts.Messages.size() <= 1); // at most the missing emulator at start-up
}

// With Alpha selected, two middle clicks on Bravo leave Alpha selected, back on its title picture.
void TestSnapshotPanel::middleClickOnARowOnlySwitchesTheTab()
{
    const QTemporaryDir dir;
    writeTwoGamesWithPictures(dir.path());
    RecordingPrompts prompts;
    auto window = openWindow(dir.path(), prompts);
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    TEnhListView &list = *window->ListGames;
    list.selectRow(0);
    const QPoint bravo = list.visualRect(list.listModel()->index(1, 0)).center();
    const TFEJpeg &image = *window->SnapshotPanel->image;
    QTest::mouseClick(list.viewport(), Qt::MiddleButton, {}, bravo);
    QCOMPARE(list.selectedRow(), 0);
    QCOMPARE(window->SnapshotPanel->selectedTab(), 1);
    QCOMPARE(image.picture().pixel(0, 0), qRgb(0, 0, 255));
    QTest::mouseClick(list.viewport(), Qt::MiddleButton, {}, bravo);
    QCOMPARE(list.selectedRow(), 0);
    QCOMPARE(list.currentIndex().row(), 0);
    QCOMPARE(window->emulateur->CurrentGame->RomSet, QStringLiteral("alpha"));
    QCOMPARE(image.picture().pixel(0, 0), qRgb(255, 0, 0));
    QTest::mouseDClick(list.viewport(), Qt::MiddleButton, {}, bravo); // a double click moves nothing either
    QCOMPARE(list.selectedRow(), 0);
}

void TestSnapshotPanel::tabSetByTheProgramRaisesNothing()
{
    const QTemporaryDir dir;
    writeTwoGamesWithPictures(dir.path());
    RecordingPrompts prompts;
    auto window = openWindow(dir.path(), prompts);
    window->ListGames->selectRow(0);
    QSignalSpy chosen(window->SnapshotPanel, &TSnapshotPanel::tabChosen);
    window->SnapshotPanel->selectTab(1);
    QCOMPARE(window->SnapshotPanel->selectedTab(), 1);
    QCOMPARE(chosen.size(), 0);
    QCOMPARE(window->emulateur->PictureDir, window->emulateur->TitlePicDir);
    QCOMPARE(window->SnapshotPanel->image->picture().pixel(0, 0), qRgb(255, 0, 0));
}

QTEST_MAIN(TestSnapshotPanel)
#include "tst_snapshotpanel.moc"
