#include "FullDisk.h"
#include "Main.h"
#include "PlayedTexts.h"
#include "StandIn.h"
#include "TestFakes.h"

#include <QAccessible>
#include <QAction>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestPlayHistoryWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void runsThatStartedCountWithTheirTimes_data();
    void runsThatStartedCountWithTheirTimes();
    void favouriteSurvivesARestart();
    void viewsListTheirGamesAndKeepTheSearch();
    void fileKeepsWhatLanvoCantUse();
    void fullDiskKeepsTheOldFileAndSaysSo();
    void chosenColumnsAreKeptApart();

private:
    QString m_savedCurrent;
};

namespace {

const QByteArray Games = "Alpha;1990;A;Sport;alpha\r\nBravo;1991;B;Puzzle;bravo\r\nCharlie;1992;C;Race;charlie\r\n"
                         "Delta;1993;D;Sport;delta\r\n";

// A start directory with the stand-in emulator and every game of Games present.
struct Fixture
{
    QTemporaryDir Dir;
    RecordingPrompts Prompts;
    std::unique_ptr<TF_Lanvo> Window;

    // With HistoryColumns the settings file shows "Played" and "Last played" (columns 4 and 5).
    explicit Fixture(const QByteArray &history = {}, bool historyColumns = true)
    {
        installStandIn(QStringLiteral(CORVANE_STANDIN_PATH), Dir.path());
        writeFile(Dir.filePath("Lanvo.ini"), "[Lanvo]\r\nVersion=1.61\r\n"
                                             + QByteArray(historyColumns ? "[Columns]\r\nplayed=on\r\nLastPlayed=ON\r\n" : ""));
        writeFile(Dir.filePath("lanvo/GAMES.CSV"), Games);
        for (const char *set : {"alpha", "bravo", "charlie", "delta"})
            makeDirectory(Dir.filePath(set));
        if (!history.isNull())
            writeFile(historyFile(), history);
        open();
    }
    void open()
    {
        Window = std::make_unique<TF_Lanvo>(LanvoWindowSetup{Dir.path(), &Prompts, {}});
        Window->show();
        QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    }
    void restart()
    {
        Window->close();
        Window.reset();
        open();
    }
    TF_Lanvo &w() { return *Window; }
    QString historyFile() const { return Dir.filePath("lanvo/PLAYED.CSV"); }
    QStringList captions() const
    {
        QStringList result;
        for (int row = 0; row < Window->ListGames->rowCount(); ++row)
            result << Window->ListGames->rowCaption(row);
        return result;
    }
    void select(const QString &caption) { w().ListGames->selectRow(w().ListGames->findCaption(caption)); }
    QString cell(const QString &caption, int column) const
    {
        const int row = Window->ListGames->findCaption(caption);
        return Window->ListGames->model()->index(row, column).data().toString();
    }
    // What a screen reader hears of a row's first cell besides its text.
    QString heard(const QString &caption) const
    {
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(Window->ListGames);
        QAccessibleTableInterface *table = list->tableInterface();
        QCoreApplication::processEvents(); // the view lays its rows out when it next gets the chance
        QAccessibleInterface *cell = table->cellAt(Window->ListGames->findCaption(caption), 0);
        return cell ? cell->text(QAccessible::Description) : QStringLiteral("<no such row>");
    }
    QString historyPanel() const
    {
        return QAccessible::queryAccessibleInterface(Window->SB_InfoBar->panel(3))->text(QAccessible::Name);
    }
};

QString localText(const QDateTime &time)
{
    PlayRecord record;
    record.Times = 1;
    record.LastPlayed = wallClockSeconds(time);
    return PlayedTexts().lastPlayed(&record);
}

} // namespace

void TestPlayHistoryWindow::runsThatStartedCountWithTheirTimes_data()
{
    QTest::addColumn<QString>("emulator");
    QTest::addColumn<int>("counted");
    QTest::newRow("the emulator runs") << "stand-in" << 2;
    QTest::newRow("refused before DOSBox starts") << "dos, redirection" << 0;
    QTest::newRow("the emulator can't be started") << "not executable" << 0;
}

void TestPlayHistoryWindow::runsThatStartedCountWithTheirTimes()
{
    QFETCH(QString, emulator);
    QFETCH(int, counted);
    Fixture f;
    writeFile(f.Dir.filePath("corvane.ctl"), "sleep_ms=1100\n");
    if (emulator == "dos, redirection") {
        writeFile(f.Dir.filePath("corvane.exe"), "MZ");
        f.w().emulateur->AdditionalParameters = QStringLiteral("-log >nul");
    } else if (emulator == "not executable") {
        QFile(f.Dir.filePath("corvane.exe")).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    f.select("Bravo");
    QCOMPARE(f.historyPanel(), QStringLiteral("Never played"));
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    QElapsedTimer wall;
    wall.start();
    f.w().mnRunClick();
    f.w().mnRunClick();
    const qint64 wallSeconds = wall.elapsed() / 1000;
    const QDateTime after = QDateTime::currentDateTime();

    if (counted == 0) {
        QVERIFY(!QFile::exists(f.historyFile()));
        QCOMPARE(f.cell("Bravo", 4), QString("0"));
        QCOMPARE(f.historyPanel(), QStringLiteral("Never played"));
        return;
    }
    QVERIFY2(f.Prompts.Messages.isEmpty(), qPrintable(f.Prompts.texts().join('|')));
    QCOMPARE(readStandInLog(f.Dir.path()).size(), 2);
    const QList<QByteArray> fields = readFile(f.historyFile()).chopped(2).split(';');
    QCOMPARE(fields.size(), 5);
    QCOMPARE(fields[0], QByteArray("bravo"));
    QCOMPARE(fields[1], QByteArray("2"));
    const QDateTime last = QDateTime::fromString(QString::fromLatin1(fields[2]), "yyyy-MM-dd HH:mm:ss");
    QVERIFY2(last >= before && last <= after, fields[2].constData());
    const qint64 seconds = fields[3].toLongLong();
    QVERIFY2(seconds >= 2 && seconds <= wallSeconds, fields[3].constData()); // each run slept 1.1 s
    QCOMPARE(fields[4], QByteArray("0"));
    // The row and the status bar show it without a refresh.
    QCOMPARE(f.cell("Bravo", 4), QString("2"));
    QCOMPARE(f.cell("Bravo", 5), localText(last));
    QCOMPARE(f.historyPanel(),
             "Played 2 times, last " + localText(last) + ", " + PlayedTexts::duration(seconds));
}

void TestPlayHistoryWindow::favouriteSurvivesARestart()
{
    Fixture f;
    f.w().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.Window.get())); // the key is one of the window's
    f.select("Charlie");
    QCOMPARE(f.heard("Charlie"), QStringLiteral("available"));
    QTest::keyClick(f.w().ListGames, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(f.heard("Charlie"), QStringLiteral("available, favourite"));
    QCOMPARE(readFile(f.historyFile()), QByteArray("charlie;0;;0;1\r\n"));
    f.w().updateContextMenu();
    QVERIFY(f.w().Menus->pm_Favourite->isChecked());
    // The star is drawn after the state image, and only for the marked game.
    const QModelIndex marked = f.w().ListGames->model()->index(f.w().ListGames->findCaption("Charlie"), 0);
    QCOMPARE(marked.data(Qt::DecorationRole).userType(), QMetaType::QIcon);
    QCOMPARE(f.w().ListGames->model()->index(0, 0).data(Qt::DecorationRole).userType(), QMetaType::QImage);

    f.restart();
    f.w().Menus->mn_favgames->trigger();
    QCOMPARE(f.captions(), QStringList{"Charlie"});
    QCOMPARE(f.w().SB_InfoBar->panelText(0), QStringLiteral("1 games"));
    QCOMPARE(f.heard("Charlie"), QStringLiteral("available, favourite"));
    f.select("Charlie");
    f.w().updateContextMenu();
    f.w().Menus->pm_Favourite->trigger(); // unmarked from the context menu
    QCOMPARE(f.heard("Charlie"), QStringLiteral("available"));
    QCOMPARE(readFile(f.historyFile()), QByteArray("charlie;0;;0;0\r\n"));
    f.w().Refreshlist1Click();
    QVERIFY(f.captions().isEmpty());
}

void TestPlayHistoryWindow::viewsListTheirGamesAndKeepTheSearch()
{
    Fixture f("alpha;1;2026-03-01 10:00:00;60;1\r\n"
              "delta;4;2026-03-05 10:00:00;600;0\r\n"
              "charlie;2;2026-03-03 10:00:00;60;1\r\n"
              "bravo;0;;0;0\r\n");
    f.w().Menus->mn_recentgames->trigger();
    QVERIFY(f.w().Menus->mn_recentgames->isChecked() && !f.w().Menus->mn_availgames->isChecked());
    QCOMPARE(f.captions(), (QStringList{"Delta", "Charlie", "Alpha"})); // the last played first
    QCOMPARE(f.w().SB_InfoBar->panelText(0), QStringLiteral("3 games"));
    f.w().SearchGames->setText("1990");
    QCOMPARE(f.captions(), QStringList{"Alpha"});
    QCOMPARE(f.w().SB_InfoBar->panelText(0), QStringLiteral("1 games"));
    f.w().Refreshlist1Click();
    QCOMPARE(f.captions(), QStringList{"Alpha"});
    QVERIFY(f.w().Menus->mn_recentgames->isChecked());

    f.w().Menus->mn_favgames->trigger();
    QCOMPARE(f.captions(), QStringList{"Alpha"});
    f.w().SearchGames->clear();
    QCOMPARE(f.captions(), (QStringList{"Alpha", "Charlie"}));
    QCOMPARE(f.w().SB_InfoBar->panelText(0), QStringLiteral("2 games"));

    // Sorting by "Last played" goes by the time, whatever the date format.
    f.w().Menus->mn_allgames->trigger();
    f.w().ListGames->clickColumn(5);
    QCOMPARE(f.captions(), (QStringList{"Bravo", "Alpha", "Charlie", "Delta"}));
}

void TestPlayHistoryWindow::fileKeepsWhatLanvoCantUse()
{
    const QByteArray kept = "gone;3;2020-01-01 00:00:00;99;1\r\n"
                            "not a line Lanvo wrote\r\n";
    Fixture f(kept + "alpha;1;2026-03-01 10:00:00;60;0\r\n");
    QVERIFY(f.Prompts.Messages.isEmpty());
    f.select("Alpha");
    QCOMPARE(f.historyPanel(), "Played 1 time, last " + localText(QDateTime(QDate(2026, 3, 1), QTime(10, 0))) + ", 1 min");
    f.w().pm_FavouriteClick();
    QCOMPARE(readFile(f.historyFile()), kept + "alpha;1;2026-03-01 10:00:00;60;1\r\n");
}

void TestPlayHistoryWindow::fullDiskKeepsTheOldFileAndSaysSo()
{
    const QByteArray before = "alpha;1;2026-03-01 10:00:00;60;0\r\n";
    Fixture f;
    FullDisk disk(f.Dir.filePath("lanvo")); // a file system of its own there, empty at first
    writeFile(f.Dir.filePath("lanvo/GAMES.CSV"), Games);
    writeFile(f.historyFile(), before);
    f.w().Refreshlist1Click();
    f.select("Alpha");

    disk.fill();
    f.w().pm_FavouriteClick();
    QCOMPARE(f.Prompts.Messages.size(), 1);
    QVERIFY2(f.Prompts.Messages.first().Text.startsWith("Unable to write to " + f.historyFile() + "."),
             qPrintable(f.Prompts.Messages.first().Text));
    QCOMPARE(readFile(f.historyFile()), before);
    QCOMPARE(f.heard("Alpha"), QStringLiteral("available, favourite")); // still marked here
    f.w().Refreshlist1Click();                                           // and not lost to a refresh
    QCOMPARE(f.heard("Alpha"), QStringLiteral("available, favourite"));

    disk.release();
    f.select("Bravo");
    f.w().pm_FavouriteClick();
    QCOMPARE(readFile(f.historyFile()), QByteArray("alpha;1;2026-03-01 10:00:00;60;1\r\nbravo;0;;0;1\r\n"));
}

// A hidden column is no column at all for a screen reader; the choice is kept in a section of its own.
void TestPlayHistoryWindow::chosenColumnsAreKeptApart()
{
    Fixture f("bravo;2;2026-03-01 10:00:00;60;0\r\n", false);
    f.select("Bravo");
    QAccessibleTableInterface *table = QAccessible::queryAccessibleInterface(f.w().ListGames)->tableInterface();
    const auto shown = [&table] {
        QStringList captions;
        for (int column = 0; column < table->columnCount(); ++column)
            captions << table->columnDescription(column);
        return captions;
    };
    QCOMPARE(shown(), (QStringList{"Name", "Year", "Type", "Manufacturer"}));
    f.w().ListColumns->fillMenu();
    QStringList items;
    for (const QAction *item : f.w().ListColumns->menu()->actions())
        items << item->text() + (item->isChecked() ? "+" : "-") + (item->isEnabled() ? "" : " fixed");
    QCOMPARE(items, (QStringList{"Name+ fixed", "Year+", "Type+", "Manufacturer+", "Played-", "Last played-"}));
    f.w().ListColumns->menu()->actions().at(4)->trigger();
    f.w().ListColumns->menu()->actions().at(1)->trigger();
    QCOMPARE(shown(), (QStringList{"Name", "Type", "Manufacturer", "Played"}));
    QCoreApplication::processEvents();
    QAccessibleInterface *played = table->cellAt(1, 3);
    QVERIFY(played);
    QCOMPARE(played->text(QAccessible::Name), QStringLiteral("2"));
    QCOMPARE(f.w().emulateur->CurrentGame->RomSet, QStringLiteral("bravo")); // still selected
    QCOMPARE(f.w().ListGames->selectedRow(), 1);

    f.restart();
    table = QAccessible::queryAccessibleInterface(f.w().ListGames)->tableInterface();
    QCOMPARE(shown(), (QStringList{"Name", "Type", "Manufacturer", "Played"}));
    const QByteArray ini = readFile(f.Dir.filePath("Lanvo.ini"));
    QVERIFY2(ini.startsWith("[Lanvo]\r\n") && ini.indexOf("[Columns]") > ini.indexOf("AddParam="), ini.constData());
    QVERIFY2(ini.contains("[Columns]\r\nYear=OFF\r\nType=ON\r\nManufacturer=ON\r\nPlayed=ON\r\nLastPlayed=OFF\r\n"),
             ini.constData());
}

QTEST_MAIN(TestPlayHistoryWindow)
#include "tst_playhistorywindow.moc"
