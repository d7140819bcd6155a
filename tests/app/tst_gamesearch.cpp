#include "Main.h"
#include "StandIn.h"
#include "TestFakes.h"

#include <QAccessible>
#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Lanvo;
using namespace Lanvo::Test;

// The quick search above the games list, driven by keys as a user types.
class TestGameSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(m_savedCurrent); }

    void typingNarrowsListAndCount_data();
    void typingNarrowsListAndCount();
    void escapeRestoresListAndFocusesIt();
    void keysReachTheField();
    void downMovesIntoTheList();
    void enterRunsTheFirstMatch();
    void hiddenGameRunsAgainOnlyOnceSelected();
    void searchSurvivesFiltersAndRefresh();
    void sortingWhileSearchingKeepsSelection();
    void searchIsNotSaved();
    void findsGamesPastTheFirstRowsAtOnce_data();
    void findsGamesPastTheFirstRowsAtOnce();
    void fieldIsAccessibleAndTabReachable();

private:
    struct Fixture
    {
        QTemporaryDir Dir;
        RecordingPrompts Prompts;
        std::unique_ptr<TF_Lanvo> Window;

        explicit Fixture(bool standIn = false)
        {
            writeFile(Dir.filePath("Lanvo.ini"), "[Lanvo]\r\nVersion=1.61\r\n");
            writeFile(Dir.filePath("lanvo/GAMES.CSV"),
                      "Mahjong Kyoretsuden ;1990;SNK     ;Mahjong;mahjong\r\n"
                      "Magician Lord;1990;ADK;Platform;maglord\r\n"
                      "\xc3\x89t\xc3\xa9 Soccer;1994;SNK;Sport;etesoc\r\n"
                      "Baseball Stars;1991;SNK;Sport;bstars\r\n"
                      "Ninja Combat;1990;ADK;Fighting;ncombat\r\n");
            if (standIn) {
                installStandIn(QStringLiteral(CORVANE_STANDIN_PATH), Dir.path());
                QByteArray init(24, '\x11');
                writeFile(Dir.filePath("corinit.dat"), init);
            } else {
                writeFile(Dir.filePath("corvane.exe"), "MZ");
            }
            for (const char *set : {"mahjong", "maglord", "etesoc", "bstars"})
                makeDirectory(Dir.filePath(set));
            Window = std::make_unique<TF_Lanvo>(LanvoWindowSetup{Dir.path(), &Prompts, {}});
            Window->show();
            QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
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
        void type(const QString &text)
        {
            w().SearchGames->setFocus();
            // Key by key as typed; letters beyond ASCII come as the text of a key event.
            for (const QChar c : text) {
                if (c.unicode() < 0x80)
                    QTest::keyClick(w().SearchGames, c.toLatin1());
                else
                    QTest::sendKeyEvent(QTest::Click, w().SearchGames, Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
        }
    };

    QString m_savedCurrent;
};

void TestGameSearch::typingNarrowsListAndCount_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("name and year") << "mahjong 1990" << QStringList{"Mahjong Kyoretsuden"};
    QTest::newRow("words in any order and case") << "1990 MAG" << QStringList{"Magician Lord"};
    QTest::newRow("ROM set") << "bstar" << QStringList{"Baseball Stars"};
    QTest::newRow("manufacturer") << "snk" << QStringList{"Mahjong Kyoretsuden", "\u00c9t\u00e9 Soccer", "Baseball Stars"};
    QTest::newRow("accent-free finds accented") << "ete" << QStringList{"\u00c9t\u00e9 Soccer"};
    QTest::newRow("accented finds it too") << "\u00e9t\u00e9" << QStringList{"\u00c9t\u00e9 Soccer"};
    QTest::newRow("type is not searched") << "platform" << QStringList{};
    QTest::newRow("a word matching nothing") << "mahjong 1991" << QStringList{};
}

void TestGameSearch::typingNarrowsListAndCount()
{
    QFETCH(QString, query);
    QFETCH(QStringList, listed);
    Fixture f;
    QCOMPARE(f.w().SB_InfoBar->panelText(0), QStringLiteral("4 games"));
    f.type(query);
    QCOMPARE(f.captions(), listed);
    QCOMPARE(f.w().SB_InfoBar->panelText(0), QStringLiteral("%1 games").arg(listed.size()));
    if (listed.isEmpty()) {
        // Nothing shown names or runs the game selected before.
        QCOMPARE(f.w().ListGames->selectedRow(), -1);
        QVERIFY(!f.w().emulateur->CurrentGame);
        QCOMPARE(f.w().SB_InfoBar->panelText(2), QString());
        QVERIFY(!f.w().EmulatorMenu->mnRun->isEnabled());
    } else {
        QCOMPARE(f.selected(), listed.first()); // the first match, ready for Enter
        QCOMPARE(f.w().emulateur->CurrentGame->Name, listed.first());
        QCOMPARE(f.w().SB_InfoBar->panelText(2), f.w().emulateur->CurrentGame->RomSet);
    }
}

void TestGameSearch::findsGamesPastTheFirstRowsAtOnce_data()
{
    QTest::addColumn<bool>("search"); // else the last row is selected
    QTest::newRow("search typed") << true;
    QTest::newRow("last row selected") << false;
}

// Only the games of the first rows are named before the window's first frame: a search typed or a
// row selected before it still finds the game's name, which the start-up had not made yet.
void TestGameSearch::findsGamesPastTheFirstRowsAtOnce()
{
    QFETCH(bool, search);
    const QTemporaryDir dir;
    writeFile(dir.filePath("Lanvo.ini"), "[Lanvo]\r\nVersion=1.61\r\n");
    writeFile(dir.filePath("corvane.exe"), "MZ");
    QByteArray games;
    for (int i = 0; i < 400; ++i) {
        games += "Filler " + QByteArray::number(i) + ";2000;Maker;Sport;fill" + QByteArray::number(i) + "\r\n";
        makeDirectory(dir.filePath("fill" + QString::number(i)));
    }
    games += "Zebra Quest;1995;Maker;Sport;zq\r\n";
    makeDirectory(dir.filePath("zq"));
    writeFile(dir.filePath("lanvo/GAMES.CSV"), games);
    RecordingPrompts prompts;
    TF_Lanvo window(LanvoWindowSetup{dir.path(), &prompts, {}});
    QCOMPARE(window.ListGames->rowCount(), 401);
    if (search) {
        window.SearchGames->setText(QStringLiteral("quest"));
        QCOMPARE(window.ListGames->rowCount(), 1);
        QCOMPARE(window.SB_InfoBar->panelText(0), QStringLiteral("1 games"));
    } else {
        window.ListGames->selectRow(400);
    }
    QVERIFY(window.emulateur->CurrentGame);
    QCOMPARE(window.emulateur->CurrentGame->Name, QStringLiteral("Zebra Quest"));
    QCOMPARE(window.emulateur->CurrentGame->year(), QStringLiteral("1995"));
}

void TestGameSearch::escapeRestoresListAndFocusesIt()
{
    Fixture f;
    f.type("soccer");
    QCOMPARE(f.captions().size(), 1);
    QTest::keyClick(f.w().SearchGames, Qt::Key_Escape);
    QVERIFY(f.w().SearchGames->text().isEmpty());
    QCOMPARE(f.captions(),
             (QStringList{"Mahjong Kyoretsuden", "Magician Lord", "\u00c9t\u00e9 Soccer", "Baseball Stars"}));
    QCOMPARE(f.w().SB_InfoBar->panelText(0), QStringLiteral("4 games"));
    QCOMPARE(f.selected(), QStringLiteral("\u00c9t\u00e9 Soccer")); // still the game found
    QVERIFY(f.w().ListGames->hasFocus());
}

void TestGameSearch::keysReachTheField()
{
    Fixture f;
    f.w().ListGames->setFocus();
    QTest::keyClick(f.w().ListGames, Qt::Key_Slash);
    QVERIFY(f.w().SearchGames->hasFocus());
    QVERIFY(f.w().SearchGames->text().isEmpty()); // the "/" itself is not typed
    f.w().PageControl->setCurrentWidget(f.w().PageOptions);
    QTest::keyClick(&f.w(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(f.w().PageControl->currentWidget(), f.w().PageGames);
    QVERIFY(f.w().SearchGames->hasFocus());
}

void TestGameSearch::downMovesIntoTheList()
{
    Fixture f;
    f.type("adk");
    QTest::keyClick(f.w().SearchGames, Qt::Key_Down);
    QVERIFY(f.w().ListGames->hasFocus());
    QCOMPARE(f.selected(), QStringLiteral("Magician Lord"));
    QCOMPARE(f.w().SearchGames->text(), QStringLiteral("adk")); // the search stays
}

void TestGameSearch::enterRunsTheFirstMatch()
{
    Fixture f(true);
    f.type("stars");
    QTest::keyClick(f.w().SearchGames, Qt::Key_Return);
    const QList<StandInRun> log = readStandInLog(f.Dir.path());
    QCOMPARE(log.size(), 1);
    QCOMPARE(log.first().Arguments.first(), f.Dir.filePath("bstars"));
    QVERIFY(f.Prompts.Messages.isEmpty());
}

void TestGameSearch::hiddenGameRunsAgainOnlyOnceSelected()
{
    Fixture f(true);
    f.type("stars");
    QVERIFY(f.w().EmulatorMenu->mnRun->isEnabled());
    f.type("x");
    QCOMPARE(f.captions(), QStringList());
    QTest::keyClick(f.w().SearchGames, Qt::Key_Return);
    f.w().EmulatorMenu->mnRun->trigger();
    QCOMPARE(readStandInLog(f.Dir.path()).size(), 0);

    QTest::keyClick(f.w().SearchGames, Qt::Key_Backspace);
    QCOMPARE(f.selected(), QStringLiteral("Baseball Stars"));
    QCOMPARE(f.w().SB_InfoBar->panelText(2), QStringLiteral("bstars"));
    QVERIFY(f.w().EmulatorMenu->mnRun->isEnabled());
    QTest::keyClick(f.w().SearchGames, Qt::Key_Return);
    QCOMPARE(readStandInLog(f.Dir.path()).size(), 1);
}

void TestGameSearch::searchSurvivesFiltersAndRefresh()
{
    Fixture f;
    f.type("adk");
    QCOMPARE(f.captions(), QStringList{"Magician Lord"});
    f.w().Menus->mn_allgames->trigger();
    QCOMPARE(f.captions(), (QStringList{"Magician Lord", "Ninja Combat"}));
    QCOMPARE(f.w().SB_InfoBar->panelText(0), QStringLiteral("2 games"));
    QCOMPARE(f.selected(), QStringLiteral("Magician Lord")); // reselected by name as after any rebuild
    f.w().Menus->mn_missgames->trigger();
    QCOMPARE(f.captions(), QStringList{"Ninja Combat"});
    makeDirectory(f.Dir.filePath("ncombat"));
    writeFile(f.Dir.filePath("lanvo/GAMES.CSV"), "Ninja Combat;1990;ADK;Fighting;ncombat\r\nNew one;2000;ADK;;new\r\n");
    f.w().Menus->Refreshlist1->trigger();
    QCOMPARE(f.captions(), QStringList{"New one"});
    QCOMPARE(f.w().SearchGames->text(), QStringLiteral("adk"));
    QCOMPARE(f.w().SB_InfoBar->panelText(0), QStringLiteral("1 games"));
}

void TestGameSearch::sortingWhileSearchingKeepsSelection()
{
    Fixture f;
    f.type("snk");
    f.w().ListGames->selectRow(1);
    QCOMPARE(f.selected(), QStringLiteral("\u00c9t\u00e9 Soccer"));
    f.w().ListGames->clickColumn(1); // by year
    QCOMPARE(f.captions(), (QStringList{"Mahjong Kyoretsuden", "Baseball Stars", "\u00c9t\u00e9 Soccer"}));
    QCOMPARE(f.selected(), QStringLiteral("\u00c9t\u00e9 Soccer"));
    QTest::keyClick(f.w().SearchGames, Qt::Key_Escape);
    QCOMPARE(f.captions().size(), 4);
    QCOMPARE(f.selected(), QStringLiteral("\u00c9t\u00e9 Soccer"));
}

void TestGameSearch::searchIsNotSaved()
{
    Fixture f;
    f.type("zzsearchzz");
    f.w().close();
    QFile ini(f.Dir.filePath("Lanvo.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray saved = ini.readAll();
    QVERIFY(saved.contains("Version"));
    QVERIFY(!saved.contains("zzsearchzz"));
}

void TestGameSearch::fieldIsAccessibleAndTabReachable()
{
    Fixture f;
    QAccessibleInterface *field = QAccessible::queryAccessibleInterface(f.w().SearchGames);
    QVERIFY(field);
    QCOMPARE(field->role(), QAccessible::EditableText);
    QCOMPARE(field->text(QAccessible::Name), QStringLiteral("Search games"));
    QVERIFY(field->text(QAccessible::Description).contains("every word"));
    QCOMPARE(f.w().SearchGames->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
    f.w().SearchGames->setFocus();
    QTest::keyClick(f.w().SearchGames, Qt::Key_Tab);
    QVERIFY(f.w().ListGames->hasFocus());
}

QTEST_MAIN(TestGameSearch)
#include "tst_gamesearch.moc"
