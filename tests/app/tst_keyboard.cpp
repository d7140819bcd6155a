// Everything the mouse does in the main window, done from the keyboard: where the focus starts, the
// menus' access keys, sorting by a column and the order Tab follows.
#include "FocusOrder.h"
#include "Main.h"
#include "TestFakes.h"

#include <QAccessible>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestKeyboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void focusStartsInTheGamesList();
    void menuTitlesOpenWithAltAndTheirLetter_data();
    void menuTitlesOpenWithAltAndTheirLetter();
    void sortBy_data();
    void sortBy();
    void tabFollowsTheGamesPage();

private:
    struct Fixture
    {
        QTemporaryDir Dir;
        RecordingPrompts Prompts;
        std::unique_ptr<TF_Lanvo> Window;

        Fixture()
        {
            writeFile(Dir.filePath("Lanvo.ini"), "[Lanvo]\r\nVersion=1.61\r\n");
            writeFile(Dir.filePath("lanvo/GAMES.CSV"), "Alpha Mission;1991;SNK;Shooter;alpham2\r\n"
                                                       "Blazing Star;1998;Yumekobo;Platform;blazstar\r\n"
                                                       "Crossed Swords;1990;ADK;Fighting;crsword\r\n"
                                                       "Double Dragon;1995;Technos;Sport;doubledr\r\n");
            writeFile(Dir.filePath("corvane.exe"), "MZ");
            for (const char *set : {"alpham2", "blazstar", "crsword", "doubledr"})
                makeDirectory(Dir.filePath(set));
            Window = std::make_unique<TF_Lanvo>(LanvoWindowSetup{Dir.path(), &Prompts, {}});
            Window->show();
        }
        TF_Lanvo &w() { return *Window; }
        // The Sort by items a screen reader reads as checked.
        QString checkedSortItem()
        {
            QStringList checked;
            QAccessibleInterface *menu = QAccessible::queryAccessibleInterface(w().Menus->Mn_SortBy);
            for (int i = 0; i < menu->childCount(); ++i) {
                if (menu->child(i)->state().checked)
                    checked << menu->child(i)->text(QAccessible::Name);
            }
            return checked.join('+');
        }
    };

    QString m_savedCurrent;
};

void TestKeyboard::focusStartsInTheGamesList()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.Window.get()));
    QCOMPARE(QApplication::focusWidget(), f.w().ListGames);
    QCOMPARE(f.w().ListGames->selectedRow(), -1);
    QTest::keyClick(f.w().ListGames, Qt::Key_Down); // and the arrows select a game at once
    QVERIFY(f.w().ListGames->selectedRow() >= 0);
    QCOMPARE(f.w().emulateur->CurrentGame, f.w().ListGames->rowGame(f.w().ListGames->selectedRow()));
}

void TestKeyboard::menuTitlesOpenWithAltAndTheirLetter_data()
{
    QTest::addColumn<Qt::Key>("letter");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("spoken");
    QTest::newRow("File") << Qt::Key_F << "Mn_File" << "File";
    QTest::newRow("View") << Qt::Key_V << "Mn_View" << "View";
    QTest::newRow("Corvane") << Qt::Key_C << "Mn_Corvane" << "Corvane";
    QTest::newRow("Help") << Qt::Key_H << "Mn_Help" << "Help";
    QTest::newRow("F10 opens the first") << Qt::Key_F10 << "Mn_File" << "File";
}

void TestKeyboard::menuTitlesOpenWithAltAndTheirLetter()
{
    QFETCH(Qt::Key, letter);
    QFETCH(QString, menu);
    QFETCH(QString, spoken);
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.Window.get()));
    QTest::keyClick(QApplication::focusWidget(), letter, letter == Qt::Key_F10 ? Qt::NoModifier : Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QCOMPARE(QApplication::activePopupWidget()->objectName(), menu);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    // A screen reader still reads the title's word, without the access key's mark.
    const QMenu *opened = f.w().findChild<QMenu *>(menu);
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(f.w().menuBar());
    const int index = int(f.w().menuBar()->actions().indexOf(opened->menuAction()));
    QCOMPARE(bar->child(index)->text(QAccessible::Name), spoken);
}

// Steps: "menu N" chooses the Nth item of View > Sort by, "header N" clicks the Nth column's header,
// "keys L" goes Alt+V, B, L.
void TestKeyboard::sortBy_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("column");
    QTest::addColumn<bool>("ascending");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("first");
    QTest::newRow("at start: by name") << QStringList{} << 0 << true << "Name" << "Alpha Mission";
    QTest::newRow("year from the menu") << QStringList{"menu 1"} << 1 << true << "Year" << "Crossed Swords";
    QTest::newRow("chosen again, reversed") << QStringList{"menu 1", "menu 1"} << 1 << false << "Year" << "Blazing Star";
    QTest::newRow("name again reverses the start") << QStringList{"menu 0"} << 0 << false << "Name" << "Double Dragon";
    QTest::newRow("a header click moves the check") << QStringList{"header 2"} << 2 << true << "Type" << "Crossed Swords";
    QTest::newRow("the menu after a header click on it reverses")
        << QStringList{"header 3", "menu 3"} << 3 << false << "Manufacturer" << "Blazing Star";
    QTest::newRow("a header click after the menu reverses")
        << QStringList{"menu 2", "header 2"} << 2 << false << "Type" << "Double Dragon";
    QTest::newRow("by keys alone") << QStringList{"keys M"} << 3 << true << "Manufacturer" << "Crossed Swords";
    QTest::newRow("by keys, twice") << QStringList{"keys Y", "keys Y"} << 1 << false << "Year" << "Blazing Star";
    // The menu names the list's columns; the header counts only those shown.
    QTest::newRow("Year hidden: Type from the menu") << QStringList{"hide 1", "menu 2"} << 1 << true << "Type" << "Crossed Swords";
    QTest::newRow("Year hidden: a header click on Type") << QStringList{"hide 1", "header 1"} << 1 << true << "Type" << "Crossed Swords";
    QTest::newRow("a hidden column chosen is shown again") << QStringList{"hide 1", "menu 1"} << 1 << true << "Year" << "Crossed Swords";
}

void TestKeyboard::sortBy()
{
    QFETCH(QStringList, steps);
    QFETCH(int, column);
    QFETCH(bool, ascending);
    QFETCH(QString, checked);
    QFETCH(QString, first);
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.Window.get()));
    for (const QString &step : steps) {
        const QString kind = step.section(' ', 0, 0);
        const QString argument = step.section(' ', 1);
        if (kind == "hide") {
            f.w().ListGames->setColumnShown(argument.toInt(), false);
        } else if (kind == "menu") {
            f.w().Menus->mnSortBy.at(argument.toInt())->trigger();
        } else if (kind == "header") {
            QHeaderView *header = f.w().ListGames->header();
            const int section = argument.toInt();
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(section) + 5, header->height() / 2));
        } else {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::AltModifier);
            QTRY_COMPARE(QApplication::activePopupWidget(), f.w().Menus->Mn_View);
            QTest::keyClick(f.w().Menus->Mn_View, Qt::Key_B);
            QTRY_COMPARE(QApplication::activePopupWidget(), f.w().Menus->Mn_SortBy);
            QTest::keyClick(f.w().Menus->Mn_SortBy, argument.at(0).toLatin1());
            QTRY_VERIFY(!QApplication::activePopupWidget());
        }
    }
    QCOMPARE(f.w().ListGames->SortColumn(), column);
    QCOMPARE(f.w().ListGames->SortAscending(), ascending);
    QCOMPARE(f.checkedSortItem(), checked);
    QCOMPARE(f.w().ListGames->rowCaption(0), first);
}

// The pages' tabs, the search field above the list, then the list.
void TestKeyboard::tabFollowsTheGamesPage()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.Window.get()));
    QTabBar *tabs = f.w().PageControl->tabBar();
    const QList<QWidget *> chain = tabChain(tabs, f.w().PageControl);
    QCOMPARE(chain, (QList<QWidget *>{tabs, f.w().SearchGames, f.w().ListGames}));
    QCOMPARE(stepAgainstLayout(chain), QString());
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
