// What assistive technology and the keyboard meet in the real windows: every control read through
// its accessible interface as a screen reader reads it, every command and control reached by keys.
#include "AboutDialog.h"
#include "LinkLabel.h"
#include "Main.h"
#include "PictureSamples.h"
#include "OptionsDialog.h"
#include "TestFakes.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <optional>

using namespace Lanvo;
using namespace Lanvo::Test;

class TestAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { m_savedCurrent = QDir::currentPath(); }
    void cleanup();

    void gamesListIsATable();
    void gamesListCells_data();
    void gamesListCells();
    void selectionReadTheSameWhateverChangedIt_data();
    void selectionReadTheSameWhateverChangedIt();
    void pageAndPictureTabs_data();
    void pageAndPictureTabs();
    void pictureTellsWhatItShows();
    void optionsPageControls_data();
    void optionsPageControls();
    void optionsChangedFromTheKeyboard();
    void optionsDialogControls_data();
    void optionsDialogControls();
    void optionsDialogReachedByTab();
    void aboutDialogTextsAndLinks();
    void menuCommandsReachedByKeys();
    void menuBarOpenedFromTheKeyboard();
    void mainWindowReachedByTab();

private:
    QString m_savedCurrent;
};

namespace {

// A start directory with a game in a folder, one in a zip and one missing, a title and an in-game
// picture of the first, a BIOS set; the window shown with its two dialogs, as the program makes them.
struct Fixture
{
    QTemporaryDir Dir;
    RecordingPrompts Prompts;
    std::unique_ptr<TF_Lanvo> Window;

    explicit Fixture(const QByteArray &settings = {})
    {
        writeFile(Dir.filePath("Lanvo.ini"), "[Lanvo]\r\nVersion=1.61\r\n" + settings);
        writeFile(Dir.filePath("lanvo/GAMES.CSV"),
                  "Alpha;1990;Maker A;Sport;alpha\r\nBravo;1991;Maker B;Puzzle;bravo\r\nCharlie;;;;charlie\r\n");
        writeFile(Dir.filePath("corvane.exe"), "MZ");
        writeFile(Dir.filePath("lanvo/bios/set1/bios.rom"), "bios");
        writeFile(Dir.filePath("lanvo/TitlePic/alpha.bmp"), PictureSamples::solidBitmap(qRgb(255, 0, 0)));
        writeFile(Dir.filePath("lanvo/GamePic/alpha.bmp"), PictureSamples::solidBitmap(qRgb(0, 0, 255)));
        makeDirectory(Dir.filePath("alpha"));
        writeFile(Dir.filePath("bravo.zip"), "not read before a run");
        Window = std::make_unique<TF_Lanvo>(LanvoWindowSetup{Dir.path(), &Prompts, {}});
        F_About = new TF_About(Window.get());
        F_Options = new TF_Options(Window.get());
        Window->Menus->mn_allgames->trigger();
        Window->show();
    }
    ~Fixture()
    {
        F_About = nullptr;
        F_Options = nullptr;
    }
    TF_Lanvo &w() { return *Window; }
    void select(const QString &caption) { w().ListGames->selectRow(w().ListGames->findCaption(caption)); }
};

QAccessibleInterface *accessible(QObject *object)
{
    QAccessibleInterface *result = QAccessible::queryAccessibleInterface(object);
    if (!result)
        qWarning() << "no accessible interface for" << object;
    return result;
}

QString nameOf(QObject *object)
{
    QAccessibleInterface *i = accessible(object);
    return i ? i->text(QAccessible::Name) : QStringLiteral("<none>");
}

QAccessibleTableInterface *gamesTable(Fixture &f)
{
    QAccessibleInterface *list = accessible(f.w().ListGames);
    return list ? list->tableInterface() : nullptr;
}

// The texts of one row of the games list, as a screen reader walks them.
QStringList rowTexts(QAccessibleTableInterface *table, int row)
{
    QStringList texts;
    for (int column = 0; column < table->columnCount(); ++column)
        texts << table->cellAt(row, column)->text(QAccessible::Name);
    return texts;
}

// The names of a tab list's tabs and the tab a screen reader is told is the current one.
struct TabsRead
{
    QStringList Names;
    QString Current;
};

TabsRead readTabs(QTabBar *bar)
{
    TabsRead read;
    QAccessibleInterface *list = accessible(bar);
    if (!list)
        return read;
    for (int i = 0; i < list->childCount(); ++i) {
        QAccessibleInterface *tab = list->child(i);
        if (tab->role() != QAccessible::PageTab)
            continue;
        read.Names << tab->text(QAccessible::Name);
        if (tab->state().selected)
            read.Current += tab->text(QAccessible::Name);
    }
    return read;
}

QWidget *focusAfterTab()
{
    QWidget *focused = QApplication::focusWidget();
    if (!focused)
        return nullptr;
    QTest::keyClick(focused, Qt::Key_Tab);
    return QApplication::focusWidget();
}

// The widgets Tab visits from Start until it comes back to it (at most Limit presses).
QList<QWidget *> tabCycle(QWidget *start, int limit = 40)
{
    start->setFocus(Qt::TabFocusReason);
    QList<QWidget *> visited{QApplication::focusWidget()};
    for (int i = 0; i < limit; ++i) {
        QWidget *next = focusAfterTab();
        if (!next || next == visited.first())
            break;
        visited << next;
    }
    return visited;
}

} // namespace

void TestAccessibility::cleanup()
{
    QDir::setCurrent(m_savedCurrent);
    QApplication::setActiveWindow(nullptr);
}

void TestAccessibility::gamesListIsATable()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(f.Window.get()));
    QAccessibleInterface *list = accessible(f.w().ListGames);
    QVERIFY(list);
    QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Games"));
    QAccessibleTableInterface *table = list->tableInterface();
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->columnCount(), 4);
    QStringList headers;
    for (int i = 0; i < list->childCount(); ++i) {
        if (list->child(i)->role() == QAccessible::ColumnHeader)
            headers << list->child(i)->text(QAccessible::Name);
    }
    QCOMPARE(headers, (QStringList{"Name", "Year", "Type", "Manufacturer"}));
    // The count follows the filter: the missing games only.
    f.w().Menus->mn_missgames->trigger();
    QTRY_COMPARE(table->rowCount(), 1); // the view lays its rows out when it next gets the chance
    QCOMPARE(rowTexts(table, 0).first(), QStringLiteral("Charlie"));
}

void TestAccessibility::gamesListCells_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("state");
    QTest::newRow("in a folder") << 0 << QStringList{"Alpha", "1990", "Sport", "Maker A"} << "available";
    QTest::newRow("in a zip") << 1 << QStringList{"Bravo", "1991", "Puzzle", "Maker B"} << "available, zipped";
    QTest::newRow("missing, empty fields") << 2 << QStringList{"Charlie", "", "", ""} << "missing";
}

// The state picture is told in words: the first cell describes where the game was found.
void TestAccessibility::gamesListCells()
{
    QFETCH(int, row);
    QFETCH(QStringList, texts);
    QFETCH(QString, state);
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(f.Window.get()));
    QAccessibleTableInterface *table = gamesTable(f);
    QVERIFY(table);
    QCOMPARE(rowTexts(table, row), texts);
    QCOMPARE(table->cellAt(row, 0)->text(QAccessible::Description), state);
    QAccessibleTableCellInterface *cell = table->cellAt(row, 2)->tableCellInterface();
    QVERIFY(cell);
    QCOMPARE(cell->rowIndex(), row);
    QCOMPARE(cell->columnIndex(), 2);
}

void TestAccessibility::selectionReadTheSameWhateverChangedIt_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("mouse") << "mouse";
    QTest::newRow("arrow key") << "key";
    QTest::newRow("quick search") << "search";
    QTest::newRow("sorted by a header click") << "sort";
    QTest::newRow("refresh") << "refresh";
}

// Whatever moved the selection, the table, the status panel and the picture tell the same game.
void TestAccessibility::selectionReadTheSameWhateverChangedIt()
{
    QFETCH(QString, way);
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(f.Window.get()));
    TEnhListView &list = *f.w().ListGames;
    f.select("Alpha");
    if (way == "mouse") {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(list.listModel()->index(1, 1)).center());
    } else if (way == "key") {
        list.setFocus();
        QTest::keyClick(&list, Qt::Key_Down);
    } else if (way == "search") {
        QTest::keyClicks(f.w().SearchGames, "brav");
    } else if (way == "sort") {
        f.select("Bravo");
        QHeaderView *header = list.header();
        const int x = header->sectionViewportPosition(1) + header->sectionSize(1) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    } else if (way == "refresh") {
        f.select("Bravo");
        QTest::keyClick(f.Window.get(), Qt::Key_F5);
    }
    QAccessibleTableInterface *table = gamesTable(f);
    QVERIFY(table);
    QCOMPARE(table->selectedRowCount(), 1);
    const int row = table->selectedRows().first();
    QCOMPARE(row, list.selectedRow());
    QCOMPARE(rowTexts(table, row), (QStringList{"Bravo", "1991", "Puzzle", "Maker B"}));
    QVERIFY(table->cellAt(row, 0)->state().selected);
    QCOMPARE(nameOf(f.w().SB_InfoBar->panel(2)), QStringLiteral("bravo"));
    QCOMPARE(nameOf(f.w().SB_InfoBar->panel(0)),
             QStringLiteral("%1 games").arg(way == "search" ? 1 : 3));
    // Bravo has no picture: the default one is what is shown and what is read.
    QAccessibleInterface *picture = accessible(f.w().SnapshotPanel->ImageDefault);
    QVERIFY(picture && !picture->state().invisible);
    QCOMPARE(picture->text(QAccessible::Description), QStringLiteral("Default picture"));
    QVERIFY(accessible(f.w().SnapshotPanel->image)->state().invisible);
}

void TestAccessibility::pageAndPictureTabs_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QStringList>("pages");  // the page tabs, then the current one
    QTest::addColumn<QStringList>("kinds");  // the picture tabs, then the current one
    const QStringList games{"Games", "Options", "Games"};
    const QStringList title{"Title", "In-Game", "Title"};
    const QStringList inGame{"Title", "In-Game", "In-Game"};
    QTest::newRow("at start") << "" << games << title;
    QTest::newRow("page by Ctrl+Tab") << "ctrl+tab" << QStringList{"Games", "Options", "Options"} << title;
    QTest::newRow("picture by arrow key") << "right" << games << inGame;
    QTest::newRow("picture by Delete in the list") << "delete" << games << inGame;
    QTest::newRow("picture by a left click") << "click" << games << inGame;
    QTest::newRow("picture pressed by a screen reader") << "press" << games << inGame;
}

void TestAccessibility::pageAndPictureTabs()
{
    QFETCH(QString, way);
    QFETCH(QStringList, pages);
    QFETCH(QStringList, kinds);
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.Window.get()));
    f.select("Alpha");
    QTabBar *pictureTabs = f.w().SnapshotPanel->TabControlPic;
    if (way == "ctrl+tab") {
        f.w().ListGames->setFocus();
        QTest::keyClick(f.w().ListGames, Qt::Key_Tab, Qt::ControlModifier);
    } else if (way == "right") {
        pictureTabs->setFocus();
        QTest::keyClick(pictureTabs, Qt::Key_Right);
    } else if (way == "delete") {
        f.w().ListGames->setFocus();
        QTest::keyClick(f.w().ListGames, Qt::Key_Delete);
    } else if (way == "click") {
        QTest::mouseClick(pictureTabs, Qt::LeftButton, {}, pictureTabs->tabRect(1).center());
    } else if (way == "press") {
        QAccessibleInterface *inGameTab = accessible(pictureTabs)->child(1);
        QVERIFY(inGameTab && inGameTab->actionInterface());
        inGameTab->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    }
    const TabsRead pageTabs = readTabs(f.w().PageControl->tabBar());
    QCOMPARE(pageTabs.Names, pages.mid(0, 2));
    QCOMPARE(pageTabs.Current, pages.at(2));
    const TabsRead pictureKinds = readTabs(pictureTabs);
    QCOMPARE(pictureKinds.Names, kinds.mid(0, 2));
    QCOMPARE(pictureKinds.Current, kinds.at(2));
    QCOMPARE(nameOf(pictureTabs), QStringLiteral("Picture kind")); // what the two tabs choose
    QCOMPARE(nameOf(f.w().PageControl->tabBar()), pages.at(2));     // unnamed: read by its current tab
    // The picture read is the one of the tab read.
    if (pages.at(2) == "Games") {
        QAccessibleInterface *picture = accessible(f.w().SnapshotPanel->image);
        QVERIFY(!picture->state().invisible);
        QCOMPARE(picture->text(QAccessible::Description), QStringLiteral("alpha.bmp"));
        QCOMPARE(f.w().emulateur->PictureDir,
                 kinds.at(2) == "Title" ? f.w().emulateur->TitlePicDir : f.w().emulateur->GamePicDir);
    }
}

void TestAccessibility::pictureTellsWhatItShows()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(f.Window.get()));
    TSnapshotPanel &panel = *f.w().SnapshotPanel;
    QCOMPARE(nameOf(panel.PanelPic), QStringLiteral("Snapshot - Press F8 during play to create"));
    f.select("Alpha");
    QAccessibleInterface *game = accessible(panel.image);
    QAccessibleInterface *fallback = accessible(panel.ImageDefault);
    QVERIFY(game && fallback);
    QCOMPARE(game->role(), QAccessible::Graphic);
    QVERIFY(!game->state().invisible && fallback->state().invisible);
    QCOMPARE(game->text(QAccessible::Description), QStringLiteral("alpha.bmp"));
    QVERIFY(game->imageInterface());
    QCOMPARE(game->imageInterface()->imageDescription(), QStringLiteral("alpha.bmp"));
    f.select("Charlie");
    QVERIFY(game->state().invisible && !fallback->state().invisible);
    QCOMPARE(fallback->text(QAccessible::Description), QStringLiteral("Default picture"));
}

void TestAccessibility::optionsPageControls_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("purpose"); // what the control is for: its caption or description
    QTest::addColumn<QString>("value");   // the current item of a drop-down list
    QTest::addColumn<bool>("checked");
    QTest::addColumn<bool>("enabled");
    const int box = QAccessible::CheckBox;
    const int list = QAccessible::ComboBox;
    const int group = QAccessible::Grouping;
    QTest::newRow("Options") << "Options" << group << "Corvane" << "" << false << true;
    QTest::newRow("Scanlines") << "Scanlines" << box << "Scanlines (Vesa)" << "" << true << true;
    QTest::newRow("CBScanlinesValue") << "CBScanlinesValue" << list << "Scanline mode" << "50%" << false << true;
    QTest::newRow("Frameskip") << "Frameskip" << box << "Frameskip" << "" << false << true;
    QTest::newRow("FrameskipValue") << "FrameskipValue" << list << "Frames to skip" << "3" << false << false;
    QTest::newRow("Vsync") << "Vsync" << box << "Vsync" << "" << false << true;
    QTest::newRow("Vga") << "Vga" << box << "VGA" << "" << true << true;
    QTest::newRow("Modex") << "Modex" << box << "Modex" << "" << false << true;
    QTest::newRow("Noanalyse") << "Noanalyse" << box << "Noanalyse" << "" << true << true;
    QTest::newRow("Snapshots") << "Snapshots" << group << "Snapshots" << "" << false << true;
    QTest::newRow("ProcessShots") << "ProcessShots" << box << "Move last snapshot into Lanvo Pic directory" << ""
                                  << false << true;
    QTest::newRow("Delete") << "Delete" << box << "Delete snapshot after moving it" << "" << true << false;
}

// Set from the settings file, then shown: what each control reads is what it shows.
void TestAccessibility::optionsPageControls()
{
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, purpose);
    QFETCH(QString, value);
    QFETCH(bool, checked);
    QFETCH(bool, enabled);
    Fixture f("Scanlines=50\r\nFrameskip=OFF\r\nFrameskipValue=3\r\nVsync=OFF\r\nVga=ON\r\nNoanalysis=ON\r\n"
              "MoveShot=NO\r\n");
    QVERIFY(QTest::qWaitForWindowExposed(f.Window.get()));
    f.w().PageControl->setCurrentWidget(f.w().PageOptions);
    QWidget *widget = f.w().OptionsPage->findChild<QWidget *>(control);
    QVERIFY(widget);
    QAccessibleInterface *read = accessible(widget);
    QVERIFY(read);
    QCOMPARE(int(read->role()), role);
    QVERIFY(!read->state().invisible);
    QCOMPARE(read->state().disabled, !enabled);
    if (role == QAccessible::ComboBox) {
        QCOMPARE(read->text(QAccessible::Value), value);
        // A drop-down list is named by its value on some desktops: its purpose is also its description.
        QCOMPARE(read->text(QAccessible::Description), purpose);
        QCOMPARE(widget->accessibleName(), purpose);
    } else {
        QCOMPARE(read->text(QAccessible::Name), purpose);
        QCOMPARE(bool(read->state().checked), checked);
    }
}

// Space and the arrow keys change the options as clicks do: the emulator's settings and what the
// controls read agree.
void TestAccessibility::optionsChangedFromTheKeyboard()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.Window.get()));
    f.w().PageControl->setCurrentWidget(f.w().PageOptions);
    TOptionsPage &page = *f.w().OptionsPage;
    const TCorvane &emulator = *f.w().emulateur;
    page.Vga->setFocus(Qt::TabFocusReason);
    QTest::keyClick(page.Vga, Qt::Key_Space);
    QVERIFY(emulator.Vga);
    QVERIFY(accessible(page.Vga)->state().checked);
    page.CBScanlinesValue->setFocus(Qt::TabFocusReason);
    QTest::keyClick(page.CBScanlinesValue, Qt::Key_Down);
    QCOMPARE(emulator.Scanlines, sl25);
    QCOMPARE(accessible(page.CBScanlinesValue)->text(QAccessible::Value), QStringLiteral("25%"));
    page.Frameskip->setFocus(Qt::TabFocusReason);
    QTest::keyClick(page.Frameskip, Qt::Key_Space);
    QVERIFY(emulator.Frameskip);
    QVERIFY(!accessible(page.FrameskipValue)->state().disabled);
    QTest::keyClick(page.Frameskip, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), page.FrameskipValue);
    QTest::keyClick(page.FrameskipValue, Qt::Key_Down);
    QCOMPARE(emulator.FrameskipValue, 2);
}

void TestAccessibility::optionsDialogControls_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    const int field = QAccessible::EditableText;
    const int button = QAccessible::Button;
    QTest::newRow("dialog") << "F_Options" << int(QAccessible::Dialog) << "General options" << "";
    QTest::newRow("paths box") << "GroupBox1" << int(QAccessible::Grouping) << "Paths" << "";
    QTest::newRow("RomPath1") << "RomPath1" << field << "First ROM path" << "roms";
    QTest::newRow("BitBtn1") << "BitBtn1" << button << "Browse: First ROM path" << "";
    QTest::newRow("RomPath2") << "RomPath2" << field << "Second ROM path" << "More Roms";
    QTest::newRow("BitBtn2") << "BitBtn2" << button << "Browse: Second ROM path" << "";
    QTest::newRow("AltPath") << "AltPath" << field << "Alternate path" << "Alt Dir";
    QTest::newRow("BitBtn3") << "BitBtn3" << button << "Browse: Alternate path" << "";
    QTest::newRow("parameters box") << "GroupBox2" << int(QAccessible::Grouping) << "Additional corvane parameters"
                                    << "";
    QTest::newRow("AddParam") << "AddParam" << field << "Corvane.exe" << "-x 2";
    QTest::newRow("Ok") << "Ok" << button << "Ok" << "";
    QTest::newRow("Cancel") << "Cancel" << button << "Cancel" << "";
}

// The dialog as the emulator menu opens it; the glyph-only browse buttons are named.
void TestAccessibility::optionsDialogControls()
{
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, name);
    QFETCH(QString, value);
    Fixture f("RomPath1=roms\r\nRomPath2=More Roms\r\nAltPath=Alt Dir\r\nAddParam=-x 2\r\n");
    QVERIFY(QTest::qWaitForWindowExposed(f.Window.get()));
    TF_Options &dialog = *F_Options;
    // Read while the dialog is open, then closed, so that a failed check never leaves it waiting.
    struct Read
    {
        int Role = -1;
        QString Name;
        QString Value;
        QString Description;
        bool Glyph = false;
    };
    std::optional<Read> read;
    QTimer::singleShot(0, &dialog, [&] {
        QWidget *widget = control == dialog.objectName() ? &dialog : dialog.findChild<QWidget *>(control);
        if (QAccessibleInterface *i = widget ? accessible(widget) : nullptr) {
            const auto *button = qobject_cast<QPushButton *>(widget);
            read = Read{int(i->role()), i->text(QAccessible::Name), i->text(QAccessible::Value),
                        i->text(QAccessible::Description), button && button->text().isEmpty()};
        }
        dialog.reject();
    });
    f.w().EmulatorMenu->Options1->trigger();
    QVERIFY(read);
    QCOMPARE(read->Role, role);
    QCOMPARE(read->Name, name);
    if (role == QAccessible::EditableText)
        QCOMPARE(read->Value, value);
    if (read->Glyph)
        QVERIFY(!read->Description.isEmpty()); // the long form of what it browses for
}

void TestAccessibility::optionsDialogReachedByTab()
{
    TF_Options dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    const QList<QWidget *> general{dialog.Onglet->tabBar(), dialog.RomPath1, dialog.BitBtn1, dialog.RomPath2,
                                   dialog.BitBtn2,          dialog.AltPath,  dialog.BitBtn3, dialog.Ok,
                                   dialog.Cancel};
    QCOMPARE(tabCycle(dialog.Onglet->tabBar()), general);
    // The other page, chosen from the keyboard on the page tabs.
    dialog.Onglet->tabBar()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(dialog.Onglet->tabBar(), Qt::Key_Right);
    QCOMPARE(dialog.Onglet->currentWidget(), dialog.corvane);
    QCOMPARE(tabCycle(dialog.Onglet->tabBar()), (QList<QWidget *>{dialog.Onglet->tabBar(), dialog.AddParam,
                                                                  dialog.Ok, dialog.Cancel}));
    // Enter confirms from a field, Escape cancels.
    dialog.AddParam->setFocus();
    QTest::keyClick(dialog.AddParam, Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestAccessibility::aboutDialogTextsAndLinks()
{
    TF_About dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QCOMPARE(nameOf(&dialog), QStringLiteral("About"));
    for (QLabel *label : {dialog.Titre, dialog.Label2, dialog.Label3, dialog.Label1, dialog.NewVersion, dialog.Thanks}) {
        QAccessibleInterface *read = accessible(label);
        QVERIFY(read);
        QCOMPARE(read->role(), QAccessible::StaticText);
        QCOMPARE(read->text(QAccessible::Name), label->text());
    }
    for (TURLLabel *link : {dialog.URLLabel2, dialog.URLLabel1}) {
        QAccessibleInterface *read = accessible(link);
        QVERIFY(read);
        QCOMPARE(read->role(), QAccessible::Link);
        QCOMPARE(read->text(QAccessible::Name), link->text());
        QVERIFY(read->state().linked && read->state().focusable);
        QVERIFY(read->actionInterface());
    }
    QCOMPARE(nameOf(dialog.Button1), QStringLiteral("Close"));
    QCOMPARE(tabCycle(dialog.Button1), (QList<QWidget *>{dialog.Button1, dialog.URLLabel2, dialog.URLLabel1}));
    QTest::keyClick(dialog.URLLabel1, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
}

// Inside every menu, each command has an access key of its own or a shortcut, and Down visits every
// command; the menus read their check marks.
void TestAccessibility::menuCommandsReachedByKeys()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.Window.get()));
    QList<QMenu *> menus{f.w().Menus->PopupMenuListGames};
    for (QAction *top : f.w().menuBar()->actions())
        menus << top->menu();
    for (qsizetype m = 0; m < menus.size(); ++m) {
        QMenu *menu = menus.at(m);
        QHash<QString, QString> keys;
        QStringList commands;
        for (QAction *action : menu->actions()) {
            if (action->isSeparator())
                continue;
            if (action->menu())
                menus << action->menu();
            commands << action->text();
            const QString key = QKeySequence::mnemonic(action->text()).toString();
            QVERIFY2(!key.isEmpty() || !action->shortcut().isEmpty() || menu == f.w().EmulatorMenu->Mn_bios,
                     qPrintable(action->text()));
            if (!key.isEmpty()) {
                QVERIFY2(!keys.contains(key), qPrintable(action->text() + " and " + keys.value(key)));
                keys.insert(key, action->text());
            }
        }
        // Down walks every enabled command of the open menu.
        menu->popup(QPoint(0, 0));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QStringList visited;
        for (qsizetype i = 0; i < commands.size() * 2 && menu->isVisible(); ++i) {
            QTest::keyClick(menu, Qt::Key_Down);
            if (menu->activeAction() && !visited.contains(menu->activeAction()->text()))
                visited << menu->activeAction()->text();
        }
        QStringList enabled;
        for (QAction *action : menu->actions()) {
            if (!action->isSeparator() && action->isEnabled())
                enabled << action->text();
        }
        QCOMPARE(visited, enabled);
        menu->close();
    }
    QAccessibleInterface *refresh = nullptr;
    QAccessibleInterface *view = accessible(f.w().Menus->Mn_View);
    for (int i = 0; i < view->childCount(); ++i) {
        if (view->child(i)->text(QAccessible::Name) == QStringLiteral("Refresh list"))
            refresh = view->child(i);
    }
    QVERIFY(refresh);
    QCOMPARE(refresh->text(QAccessible::Accelerator), QStringLiteral("F5"));
}

// Alt and the arrows reach every entry of the menu bar, besides their access keys.
void TestAccessibility::menuBarOpenedFromTheKeyboard()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.Window.get()));
    f.w().ListGames->setFocus();
    QMenuBar *bar = f.w().menuBar();
    QTest::keyClick(f.w().ListGames, Qt::Key_Alt);
    QStringList reached;
    for (int i = 0; i < bar->actions().size(); ++i) {
        QVERIFY(bar->activeAction());
        reached << bar->activeAction()->text();
        QTest::keyClick(bar, Qt::Key_Right);
    }
    QCOMPARE(reached, (QStringList{"&File", "&View", "&Corvane", "&Help"}));
    QTest::keyClick(bar, Qt::Key_Escape);
    // The context menu opens from the keyboard as well, at the selected game.
    f.select("Bravo");
    f.w().ListGames->setFocus();
    const QPoint at = f.w().ListGames->visualRect(f.w().ListGames->listModel()->index(1, 0)).center();
    QContextMenuEvent request(QContextMenuEvent::Keyboard, at, f.w().ListGames->mapToGlobal(at));
    QApplication::sendEvent(f.w().ListGames, &request);
    QMenu *menu = f.w().Menus->PopupMenuListGames;
    QVERIFY(menu->isVisible());
    QVERIFY(f.w().Menus->pm_Run->isEnabled());
    menu->close();
}

// Every control of the main window that takes keys is on the Tab chain, the page tabs and the
// picture tabs included.
void TestAccessibility::mainWindowReachedByTab()
{
    Fixture f;
    QVERIFY(QTest::qWaitForWindowActive(f.Window.get()));
    const QList<QWidget *> cycle = tabCycle(f.w().SearchGames);
    for (QWidget *control : QList<QWidget *>{f.w().SearchGames, f.w().ListGames, f.w().PageControl->tabBar(),
                                             f.w().SnapshotPanel->TabControlPic})
        QVERIFY2(cycle.contains(control), qPrintable(control->objectName()));
    // On the Options page the same chain reaches every option control.
    f.w().PageControl->setCurrentWidget(f.w().PageOptions);
    const QList<QWidget *> options = tabCycle(f.w().PageControl->tabBar());
    const TOptionsPage &page = *f.w().OptionsPage;
    for (QWidget *control : QList<QWidget *>{page.Scanlines, page.CBScanlinesValue, page.Frameskip, page.Vsync,
                                             page.Vga, page.Modex, page.Noanalyse, page.ProcessShots})
        QVERIFY2(options.contains(control), qPrintable(control->objectName()));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
