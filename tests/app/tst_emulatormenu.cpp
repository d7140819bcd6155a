#include "EmulatorMenu.h"
#include "TestFakes.h"

#include <QAction>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestEmulatorMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void itemsInOrder();
    void biosSubmenu_data();
    void biosSubmenu();
    void biosItemClickSetsBios();
    void radioGroupsStayApart();
    void checksFollowProperties_data();
    void checksFollowProperties();

private:
    struct Fixture
    {
        QTemporaryDir Dir;
        TCorvane Emulator{nullptr, Dir.path()};
        QMenu Menu;
        TEmulatorMenu Items{Emulator, &Menu};
    };
};

void TestEmulatorMenu::itemsInOrder()
{
    Fixture f;
    QStringList captions;
    for (const QAction *action : f.Menu.actions())
        captions << (action->isSeparator() ? "-" : action->text());
    QCOMPARE(captions, (QStringList{"&Options", "-", "&Bios", "&Language", "&System", "-", "&Run"}));
    QVERIFY(!f.Items.mnRun->isEnabled());
    QVERIFY(f.Items.mnUs->isChecked() && f.Items.mnConsole->isChecked()); // the form's checks
    QCOMPARE(f.Items.mnLanguage->actions().size(), 3);
    QCOMPARE(f.Items.mnJapaneze->text(), QStringLiteral("&Japaneze"));
}

void TestEmulatorMenu::biosSubmenu_data()
{
    QTest::addColumn<QStringList>("entries"); // a trailing "/" makes a directory
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("bios");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<int>("items");

    QTest::newRow("no sets: disabled, Bios kept") << QStringList{"notes.txt"} << "" << "" << "" << 0;
    QTest::newRow("empty Bios takes the first") << QStringList{"only/"} << "" << "only" << "only" << 1;
    QTest::newRow("stored set checked, not the first") << QStringList{"a/", "b/", "c/"} << "b" << "b" << "b" << 3;
    QTest::newRow("stored naming nothing keeps first checked") << QStringList{"a/", "b/"} << "zz" << "zz" << "?" << 2;
    QTest::newRow("files, dots, spaces, ampersand")
        << QStringList{"set.v2/", "my set/", "a&b/", "file.rom"} << "a&b" << "a&b" << "a&b" << 3;
}

void TestEmulatorMenu::biosSubmenu()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, stored);
    QFETCH(QString, bios);
    QFETCH(QString, checked);
    QFETCH(int, items);
    Fixture f;
    for (const QString &entry : entries) {
        const QString path = f.Emulator.BiosDir() + "/" + entry;
        if (entry.endsWith('/'))
            makeDirectory(path);
        else
            writeFile(path, "x");
    }
    f.Emulator.Bios = stored;
    f.Items.setFromProperties();
    QCOMPARE(f.Emulator.Bios, bios);
    const QList<QAction *> list = f.Items.biosItems();
    QCOMPARE(list.size(), items);
    QCOMPARE(f.Items.Mn_bios->isEnabled(), items > 0);
    QStringList checkedItems;
    for (const QAction *item : list) {
        if (item->isChecked())
            checkedItems << item->data().toString();
    }
    if (items > 0) {
        QCOMPARE(checkedItems.size(), 1);
        // The first listed set stays checked when the stored one names nothing.
        QCOMPARE(checkedItems.first(), checked == "?" ? list.first()->data().toString() : checked);
        QCOMPARE(list.first()->objectName(), QStringLiteral("BiosFile1"));
    }
}

void TestEmulatorMenu::biosItemClickSetsBios()
{
    Fixture f;
    makeDirectory(f.Emulator.BiosDir() + "/euro");
    makeDirectory(f.Emulator.BiosDir() + "/japan");
    f.Items.setFromProperties();
    QAction *other = nullptr;
    for (QAction *item : f.Items.biosItems()) {
        if (item->data().toString() != f.Emulator.Bios)
            other = item;
    }
    QVERIFY(other);
    other->trigger();
    QCOMPARE(f.Emulator.Bios, other->data().toString());
    QVERIFY(other->isChecked());
}

void TestEmulatorMenu::radioGroupsStayApart()
{
    Fixture f;
    f.Items.mnArcade->trigger();
    f.Items.mnConsole->trigger();
    QCOMPARE(f.Emulator.System, ctConsole);
    QVERIFY(f.Items.mnConsole->isChecked() && !f.Items.mnArcade->isChecked());
    QVERIFY(f.Items.mnUs->isChecked()); // the other submenu is not touched
    f.Items.mnJapaneze->trigger();
    QCOMPARE(f.Emulator.Language, glJapaneze);
    QVERIFY(!f.Items.mnUs->isChecked() && !f.Items.mnEuropean->isChecked());
    f.Items.mnEuropean->trigger();
    QCOMPARE(f.Emulator.Language, glEuropean);
    f.Items.mnUs->trigger();
    QCOMPARE(f.Emulator.Language, glUs);
    QVERIFY(f.Items.mnConsole->isChecked());
}

void TestEmulatorMenu::checksFollowProperties_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("system");
    QTest::newRow("japanese arcade") << int(glJapaneze) << int(ctArcade);
    QTest::newRow("european console") << int(glEuropean) << int(ctConsole);
    QTest::newRow("us arcade") << int(glUs) << int(ctArcade);
}

void TestEmulatorMenu::checksFollowProperties()
{
    QFETCH(int, language);
    QFETCH(int, system);
    Fixture f;
    f.Emulator.Language = TGameLanguage(language);
    f.Emulator.System = TConsoleType(system);
    f.Items.setFromProperties();
    QCOMPARE(f.Items.mnJapaneze->isChecked(), language == glJapaneze);
    QCOMPARE(f.Items.mnUs->isChecked(), language == glUs);
    QCOMPARE(f.Items.mnEuropean->isChecked(), language == glEuropean);
    QCOMPARE(f.Items.mnArcade->isChecked(), system == ctArcade);
    QCOMPARE(f.Items.mnConsole->isChecked(), system == ctConsole);
    QCOMPARE(int(f.Emulator.Language), language);
    QCOMPARE(int(f.Emulator.System), system);
}

QTEST_MAIN(TestEmulatorMenu)
#include "tst_emulatormenu.moc"
