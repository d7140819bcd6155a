#include "BuiltInCatalogue.h"
#include "Main.h"
#include "TestFakes.h"

#include <QAccessible>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestGamesList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void menusAsTheFormHasThem();
    void statusCounts_data();
    void statusCounts();
    void availableToMissingSelectsNothing();
    void missingToAllReselectsButRunStaysOff();
    void availableToAllReselectsAndKeepsRun();
    void choosingTheFilterInForceRebuildsNothing();
    void refreshKeepsFilterAndReselectsIgnoringCase();
    void vanishedGamesFileDuringRebuild();
    void refreshAfterSortingGivesFileOrder();
    void contextMenuStates();
    void emulatorMissing();
    void statusPanelsReadByScreenReader();
    void filterItemsAreRadioItems();
    void filterChosenThroughTheOpenMenu();
    void oneChangePerSelectionAndRebuild();
    void failedRunLeavesRunDisabledUntilTheSelectionChanges();
    void rightClickOpensTheContextMenu();
    void nameOrderIsTheCatalogueOrder_data();
    void nameOrderIsTheCatalogueOrder();
    void romSetShownAsWritten_data();
    void romSetShownAsWritten();

private:
    struct Fixture
    {
        QTemporaryDir Dir;
        RecordingPrompts Prompts;
        std::unique_ptr<TF_Lanvo> Window;

        explicit Fixture(const QByteArray &games, const QStringList &present, bool emulator = true,
                         const QStringList &biosSets = {})
        {
            for (const QString &set : biosSets)
                writeFile(Dir.filePath("lanvo/bios/" + set + "/bios.rom"), "bios");
            writeFile(Dir.filePath("Lanvo.ini"), "[Lanvo]\r\nVersion=1.61\r\n");
            writeFile(Dir.filePath("lanvo/GAMES.CSV"), games);
            if (emulator)
                writeFile(Dir.filePath("corvane.exe"), "MZ");
            for (const QString &set : present)
                makeDirectory(Dir.filePath(set));
            Window = std::make_unique<TF_Lanvo>(LanvoWindowSetup{Dir.path(), &Prompts, {}});
        }
        TF_Lanvo &w() { return *Window; }
        QStringList captions()
        {
            QStringList result;
            for (int row = 0; row < w().ListGames->rowCount(); ++row)
                result << w().ListGames->rowCaption(row);
            return result;
        }
        QString selected() { return w().ListGames->rowCaption(w().ListGames->selectedRow()); }
        void select(const QString &caption) { w().ListGames->selectRow(w().ListGames->findCaption(caption)); }
    };

    QString m_savedCurrent;
};

const QByteArray Games = "Alpha;1990;A;Sport;alpha\r\nBravo;1991;B;Puzzle;bravo\r\nCharlie;;C;;charlie\r\n";

void TestGamesList::menusAsTheFormHasThem()
{
    Fixture f(Games, {"alpha"});
    const TGamesMenus &m = *f.w().Menus;
    QStringList view;
    for (const QAction *action : m.Mn_View->actions())
        view << (action->isSeparator() ? QString(action->isEnabled() ? "+" : "-") : action->text());
    QCOMPARE(view, (QStringList{"&Show Snapshot", "-", "Show &available games", "Show &missing games",
                                "Show a&ll games", "Show &favourite games", "Show recently &played games", "-",
                                "Sort &by", "&Refresh list"}));
    QCOMPARE(m.Refreshlist1->shortcut(), QKeySequence(Qt::Key_F5));
    QVERIFY(m.Mn_ShowSnapshot->isChecked() && m.mn_availgames->isChecked());
    QCOMPARE(m.Mn_Help->title(), QStringLiteral("&Help"));
    QCOMPARE(m.About1->text(), QStringLiteral("&About"));
    QStringList bar;
    for (const QAction *action : f.w().menuBar()->actions())
        bar << action->text();
    QCOMPARE(bar, (QStringList{"&File", "&View", "&Corvane", "&Help"}));
    QStringList popup;
    for (const QAction *action : m.PopupMenuListGames->actions())
        popup << (action->isSeparator() ? "-" : action->text());
    QCOMPARE(popup, (QStringList{"&Run", "Favourite", "-", "&Show Snapshot", "Show &available games", "Show &missing games",
                                 "Show a&ll games", "-"}));
}

void TestGamesList::statusCounts_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << QStringList{} << "0 games";
    QTest::newRow("one, no singular") << QStringList{"bravo"} << "1 games";
    QTest::newRow("two") << QStringList{"alpha", "charlie"} << "2 games";
}

void TestGamesList::statusCounts()
{
    QFETCH(QStringList, present);
    QFETCH(QString, text);
    Fixture f(Games, present);
    QCOMPARE(f.w().SB_InfoBar->panelText(0), text);
    f.w().Menus->mn_allgames->trigger();
    QCOMPARE(f.w().SB_InfoBar->panelText(0), QStringLiteral("3 games"));
    QCOMPARE(f.w().SB_InfoBar->panelText(3), QString());
}

void TestGamesList::availableToMissingSelectsNothing()
{
    Fixture f(Games, {"alpha", "charlie"});
    f.select("Charlie");
    QVERIFY(f.w().EmulatorMenu->mnRun->isEnabled());
    f.w().Menus->mn_missgames->trigger();
    QCOMPARE(f.captions(), QStringList{"Bravo"});
    QCOMPARE(f.w().ListGames->selectedRow(), -1);
    QVERIFY(!f.w().emulateur->CurrentGame);
    QVERIFY(!f.w().EmulatorMenu->mnRun->isEnabled());
    QCOMPARE(f.w().SB_InfoBar->panelText(2), QStringLiteral("charlie"));
    QVERIFY(f.w().Menus->mn_missgames->isChecked() && !f.w().Menus->mn_availgames->isChecked());
}

void TestGamesList::missingToAllReselectsButRunStaysOff()
{
    Fixture f(Games, {"alpha"});
    f.w().Menus->mn_missgames->trigger();
    f.select("Bravo");
    QVERIFY(!f.w().EmulatorMenu->mnRun->isEnabled());
    f.w().Menus->mn_allgames->trigger();
    QCOMPARE(f.selected(), QStringLiteral("Bravo"));
    QCOMPARE(f.w().emulateur->CurrentGame->RomSet, QStringLiteral("bravo"));
    QVERIFY(!f.w().EmulatorMenu->mnRun->isEnabled());
}

void TestGamesList::availableToAllReselectsAndKeepsRun()
{
    Fixture f(Games, {"charlie"});
    f.select("Charlie");
    f.w().Menus->PmShowallgames->trigger(); // the context menu's item acts on the View menu's filter
    QVERIFY(f.w().Menus->mn_allgames->isChecked());
    QCOMPARE(f.captions().size(), 3);
    QCOMPARE(f.selected(), QStringLiteral("Charlie"));
    QVERIFY(f.w().EmulatorMenu->mnRun->isEnabled());
}

void TestGamesList::choosingTheFilterInForceRebuildsNothing()
{
    Fixture f(Games, {"alpha", "bravo"});
    f.select("Bravo");
    writeFile(f.Dir.filePath("lanvo/GAMES.CSV"), "Other;;;;other\r\n");
    f.w().Menus->mn_availgames->trigger();
    QCOMPARE(f.captions(), (QStringList{"Alpha", "Bravo"}));
    QCOMPARE(f.selected(), QStringLiteral("Bravo"));
    QVERIFY(f.w().Menus->mn_availgames->isChecked());
    f.w().Menus->mn_missgames->trigger();
    f.w().Menus->mn_missgames->trigger(); // again: nothing rebuilt, Run still switched off
    QVERIFY(f.w().Menus->mn_missgames->isChecked());
    QVERIFY(!f.w().EmulatorMenu->mnRun->isEnabled());
}

void TestGamesList::refreshKeepsFilterAndReselectsIgnoringCase()
{
    Fixture f(Games, {"alpha", "bravo"});
    f.select("Bravo");
    writeFile(f.Dir.filePath("lanvo/GAMES.CSV"), "BRAVO;1991;B;Puzzle;bravo\r\nAlpha;1990;A;Sport;alpha\r\n");
    f.w().Menus->Refreshlist1->trigger();
    QCOMPARE(f.captions(), (QStringList{"BRAVO", "Alpha"}));
    QCOMPARE(f.selected(), QStringLiteral("BRAVO"));
    QVERIFY(f.w().Menus->mn_availgames->isChecked());
}

void TestGamesList::vanishedGamesFileDuringRebuild()
{
    Fixture f(Games, {"alpha"});
    f.select("Alpha");
    QVERIFY(QFile::remove(f.Dir.filePath("lanvo/GAMES.CSV")));
    f.w().Menus->mn_allgames->trigger();
    QCOMPARE(f.Prompts.texts(), QStringList{"Impossible d'ouvrir le fichier " + f.Dir.filePath("lanvo/GAMES.CSV")});
    QCOMPARE(f.Prompts.Messages.first().Kind, PromptKind::Error);
    QCOMPARE(f.w().ListGames->rowCount(), 0);
    QVERIFY(!f.w().emulateur->CurrentGame);
    QCOMPARE(f.w().SB_InfoBar->panelText(0), QStringLiteral("1 games")); // not reached
    QVERIFY(f.w().Menus->mn_availgames->isChecked());                      // the chosen one is not checked
    QVERIFY(!f.w().Menus->mn_allgames->isChecked());
    QCOMPARE(f.Prompts.BusyDepth, 0);
}

void TestGamesList::refreshAfterSortingGivesFileOrder()
{
    Fixture f("Zulu;1995;Z;;zulu\r\nAlpha;;A;;alpha\r\nMike;1990;M;;mike\r\n", {"zulu", "alpha", "mike"});
    f.w().show();
    QVERIFY(QTest::qWaitForWindowExposed(f.Window.get()));
    QHeaderView *header = f.w().ListGames->header();
    const int x = header->sectionViewportPosition(1) + header->sectionSize(1) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    QCOMPARE(f.captions(), (QStringList{"Alpha", "Mike", "Zulu"})); // the empty year first
    QTest::keyClick(f.Window.get(), Qt::Key_F5);
    QCOMPARE(f.captions(), (QStringList{"Zulu", "Alpha", "Mike"}));
    QCOMPARE(f.w().ListGames->SortColumn(), 1); // the Year header keeps its arrow
}

void TestGamesList::contextMenuStates()
{
    Fixture f(Games, {"alpha"});
    TGamesMenus &m = *f.w().Menus;
    f.w().updateContextMenu();
    QVERIFY(!m.pm_Run->isEnabled()); // no game yet
    f.select("Alpha");
    f.w().Menus->Mn_ShowSnapshot->trigger(); // hides the panel
    f.w().Menus->mn_allgames->trigger();
    f.w().updateContextMenu();
    QVERIFY(m.pm_Run->isEnabled());
    QVERIFY(!m.PmShowSnapshot->isChecked());
    QVERIFY(m.PmShowallgames->isChecked() && !m.PmShowavailablegames->isChecked() && !m.PmShowmissinggames->isChecked());
}

void TestGamesList::emulatorMissing()
{
    Fixture f(Games, {"alpha"}, false);
    QCOMPARE(f.Prompts.Messages.size(), 1); // the start-up told the user
    f.select("Alpha");
    QVERIFY(!f.w().EmulatorMenu->mnRun->isEnabled());
    f.w().updateContextMenu();
    QVERIFY(f.w().Menus->pm_Run->isEnabled());
}

void TestGamesList::statusPanelsReadByScreenReader()
{
    Fixture f(Games, {"alpha", "bravo"});
    f.select("Bravo");
    const QStringList shown{"2 games", "HD", "bravo", "Never played"};
    const QStringList purposes{"Games listed", "Install type", "ROM set", "Play history"};
    for (int i = 0; i < TStatusPanels::PanelCount; ++i) {
        QAccessibleInterface *panel = QAccessible::queryAccessibleInterface(f.w().SB_InfoBar->panel(i));
        QVERIFY(panel);
        QCOMPARE(panel->text(QAccessible::Name), shown.at(i));
        QCOMPARE(panel->text(QAccessible::Description), purposes.at(i));
    }
    f.w().Menus->mn_allgames->trigger();
    QCOMPARE(QAccessible::queryAccessibleInterface(f.w().SB_InfoBar->panel(0))->text(QAccessible::Name),
             QStringLiteral("3 games"));
}

void TestGamesList::filterItemsAreRadioItems()
{
    Fixture f(Games, {"alpha"});
    const TGamesMenus &m = *f.w().Menus;
    const QList<QList<QAction *>> groups{{m.mn_availgames, m.mn_missgames, m.mn_allgames},
                                         {m.PmShowavailablegames, m.PmShowmissinggames, m.PmShowallgames}};
    for (const QList<QAction *> &items : groups) {
        QActionGroup *group = items.first()->actionGroup();
        QVERIFY(group && group->isExclusive());
        for (const QAction *item : items)
            QCOMPARE(item->actionGroup(), group);
    }
    QVERIFY(m.mn_availgames->actionGroup() != m.PmShowavailablegames->actionGroup()); // a group each
    QVERIFY(!m.Mn_ShowSnapshot->actionGroup() && !m.PmShowSnapshot->actionGroup());
    // What a screen reader is told: a checkable item, checked for the filter in force only.
    QAccessibleInterface *view = QAccessible::queryAccessibleInterface(m.Mn_View);
    QVERIFY(view);
    QStringList checked;
    for (int i = 0; i < view->childCount(); ++i) {
        const QAccessibleInterface *item = view->child(i);
        if (item->state().checked)
            checked << item->text(QAccessible::Name);
    }
    QCOMPARE(checked, (QStringList{"Show Snapshot", "Show available games"}));
}

// The real menu: the handlers decide the checks, whatever the group did on the choice.
void TestGamesList::filterChosenThroughTheOpenMenu()
{
    Fixture f(Games, {"alpha"});
    f.w().show();
    QVERIFY(QTest::qWaitForWindowExposed(f.Window.get()));
    TGamesMenus &m = *f.w().Menus;
    const auto choose = [&](QAction *item) {
        m.Mn_View->popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(m.Mn_View));
        QTest::mouseClick(m.Mn_View, Qt::LeftButton, {}, m.Mn_View->actionGeometry(item).center());
    };
    choose(m.mn_allgames);
    QVERIFY(m.mn_allgames->isChecked() && !m.mn_availgames->isChecked() && !m.mn_missgames->isChecked());
    QCOMPARE(f.captions().size(), 3);
    choose(m.mn_allgames); // the filter in force: still checked
    QVERIFY(m.mn_allgames->isChecked() && !m.mn_availgames->isChecked());
    QVERIFY(QFile::remove(f.Dir.filePath("lanvo/GAMES.CSV")));
    choose(m.mn_missgames); // fails: the previous filter stays checked
    QVERIFY(m.mn_allgames->isChecked() && !m.mn_missgames->isChecked());
    QCOMPARE(f.Prompts.texts(), QStringList{"Impossible d'ouvrir le fichier " + f.Dir.filePath("lanvo/GAMES.CSV")});
}

void TestGamesList::oneChangePerSelectionAndRebuild()
{
    Fixture f(Games, {"alpha", "bravo"});
    QSignalSpy changes(f.w().ListGames, &TEnhListView::rowStateChanged);
    f.select("Bravo");
    QCOMPARE(changes.size(), 1);
    f.w().Menus->Refreshlist1->trigger();
    QCOMPARE(changes.size(), 2);
    QCOMPARE(f.selected(), QStringLiteral("Bravo"));
}

// The BIOS set vanishes between start-up and the run: the run stops before the emulator starts.
void TestGamesList::failedRunLeavesRunDisabledUntilTheSelectionChanges()
{
    Fixture f(Games, {"alpha", "bravo"}, true, {"set1"});
    QCOMPARE(f.w().emulateur->Bios, QStringLiteral("set1"));
    f.select("Alpha");
    QAction *run = f.w().EmulatorMenu->mnRun;
    QVERIFY(run->isEnabled());
    QVERIFY(QDir(f.Dir.filePath("lanvo/bios/set1")).removeRecursively());
    run->trigger();
    QCOMPARE(f.Prompts.Messages.size(), 1);
    QCOMPARE(f.Prompts.Messages.first().Kind, PromptKind::Error);
    QVERIFY2(f.Prompts.Messages.first().Text.contains("set1"), qPrintable(f.Prompts.Messages.first().Text));
    QVERIFY(!run->isEnabled());
    QCOMPARE(f.Prompts.BusyDepth, 0);
    f.w().show();
    QVERIFY(QTest::qWaitForWindowExposed(f.Window.get()));
    QVERIFY(!f.w().isMinimized());
    QTest::keyClick(f.w().ListGames, Qt::Key_Return); // Enter reaches the same failure
    QCOMPARE(f.Prompts.Messages.size(), 2);
    QVERIFY(!run->isEnabled());
    f.select("Bravo");
    QVERIFY(run->isEnabled());
}

void TestGamesList::rightClickOpensTheContextMenu()
{
    Fixture f(Games, {"alpha"});
    f.w().show();
    QVERIFY(QTest::qWaitForWindowExposed(f.Window.get()));
    f.w().Menus->mn_allgames->trigger();
    f.select("Alpha");
    TEnhListView &list = *f.w().ListGames;
    const QPoint bravo = list.visualRect(list.listModel()->index(1, 0)).center();
    QMenu *menu = f.w().Menus->PopupMenuListGames;
    // A right click: the press and release, then the context menu request the platform makes of it.
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, bravo);
    QContextMenuEvent request(QContextMenuEvent::Mouse, bravo, list.viewport()->mapToGlobal(bravo));
    QApplication::sendEvent(list.viewport(), &request);
    QVERIFY(menu->isVisible());
    // The press selected the missing Bravo, as the list usually does; the menu's states were set as
    // it opened: Run follows that game, the checks the View menu.
    QCOMPARE(f.selected(), QStringLiteral("Bravo"));
    QVERIFY(!f.w().Menus->pm_Run->isEnabled());
    QVERIFY(f.w().Menus->PmShowallgames->isChecked() && !f.w().Menus->PmShowavailablegames->isChecked());
    QVERIFY(f.w().Menus->PmShowSnapshot->isChecked());
    QVERIFY(menu->geometry().contains(list.viewport()->mapToGlobal(bravo)));
    menu->close();
}

void TestGamesList::nameOrderIsTheCatalogueOrder_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::newRow("process locale") << QLocale::system(); // C.UTF-8 as the tests run
    QTest::newRow("C") << QLocale::c();
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany);
    QTest::newRow("Swedish") << QLocale(QLocale::Swedish, QLocale::Sweden);
}

// Sorted by Name, descending then ascending, the built-in games come back in their written order.
void TestGamesList::nameOrderIsTheCatalogueOrder()
{
    QFETCH(QLocale, locale);
    QLocale::setDefault(locale);
    const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
    QByteArray games;
    for (const QByteArray &line : DefaultGameLines())
        games += line + "\r\n";
    Fixture f(games, {});
    f.w().Menus->mn_allgames->trigger();
    const QStringList written = f.captions(); // games-file order
    QCOMPARE(written.size(), DefaultGameLines().size());
    f.w().show();
    QVERIFY(QTest::qWaitForWindowExposed(f.Window.get()));
    QHeaderView *header = f.w().ListGames->header();
    const QPoint name(header->sectionViewportPosition(0) + header->sectionSize(0) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, name);
    QCOMPARE(f.captions(), QStringList(written.crbegin(), written.crend()));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, name);
    QCOMPARE(f.captions(), written);
}

void TestGamesList::romSetShownAsWritten_data()
{
    QTest::addColumn<QString>("romSet");
    QTest::newRow("tag") << "<b>rich";
    QTest::newRow("picture tag") << "<img src=x>pic";
    QTest::newRow("font tag") << "<font color=red>red";
}

// The status panel shows a ROM set name as it stands in the games file, never as markup.
void TestGamesList::romSetShownAsWritten()
{
    QFETCH(QString, romSet);
    Fixture f("Plain;1990;P;Sport;plain\r\nMarked;1991;M;Sport;" + romSet.toUtf8() + "\r\n", {"plain"});
    f.w().Menus->mn_allgames->trigger();
    f.select("Marked");
    const QLabel *panel = f.w().SB_InfoBar->panel(2);
    QCOMPARE(panel->text(), romSet);
    QCOMPARE(QAccessible::queryAccessibleInterface(const_cast<QLabel *>(panel))->text(QAccessible::Name), romSet);
}

QTEST_MAIN(TestGamesList)
#include "tst_gameslist.moc"
