#include "Main.h"

#include "AboutDialog.h"
#include "AfterFirstPaint.h"
#include "ColumnSettings.h"
#include "EnhListModel.h"
#include "OptionsDialog.h"
#include "OptionsDialogRun.h"
#include "PlayedTexts.h"
#include "StateImages.h"
#include "TabBarAccessible.h"
#include "Texts.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QShortcut>
#include <QTabWidget>

#include <utility>

namespace Lanvo {

TF_Lanvo *F_Lanvo = nullptr;

namespace {

// The form's own column captions, which the start-up replaces.
const std::vector<EnhListModel::Column> FormColumns = {
    {QStringLiteral("Games"), 200, Qt::AlignLeft},
    {QStringLiteral("Date"), 60, Qt::AlignLeft},
    {QStringLiteral("Type"), 100, Qt::AlignLeft},
    {QStringLiteral("Manufacturer"), 100, Qt::AlignLeft},
    {QStringLiteral("Played"), 60, Qt::AlignLeft},
    {QStringLiteral("Last played"), 150, Qt::AlignLeft},
};

// The columns shown until the settings file says otherwise: those of old, without the history.
const QList<bool> FormShownColumns = {true, true, true, true, false, false};

bool isMouseButtonEvent(const QEvent *event)
{
    const QEvent::Type type = event->type();
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick || type == QEvent::MouseButtonRelease;
}

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool onWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

// Wayland tells a client neither where its window is nor lets it un-minimise itself.
bool windowPositionKnown()
{
    return !onWayland();
}

bool canRestoreMinimised()
{
    return !onWayland();
}

TWindowState stateOf(Qt::WindowStates states)
{
    if (states & Qt::WindowMaximized)
        return TWindowState::Maximized;
    if (states & Qt::WindowMinimized)
        return TWindowState::Minimized;
    return TWindowState::Normal;
}

} // namespace

TF_Lanvo::TF_Lanvo(const Setup &setup, QWidget *parent)
    : QMainWindow(parent)
{
    installTabBarAccessibility(); // before any tab bar is asked for its accessible interface
    m_platformPrompts = std::make_unique<QtPrompts>(this);
    m_prompts = setup.Prompts ? setup.Prompts : m_platformPrompts.get();
    emulateur = new TCorvane(this, setup.StartDirectory);
    emulateur->Prompts = m_prompts;
    LanvoStartup startup(*emulateur, *m_prompts, *this);
    if (setup.WritabilityTest)
        startup.workDirectory().setMarkerTest(setup.WritabilityTest);
    // The games file is read while the controls are built.
    startup.prepare();
    buildControls();
    buildMenus();
    connectHandlers();
    emulateur->ListGames = ListGames;
    emulateur->PicDefault = SnapshotPanel->ImageDefault;
    emulateur->PicGame = SnapshotPanel->image;
    emulateur->RunWindowHooks = {[this] { minimiseForRun(); }, [this] { restoreAfterRun(); }};
    FormCreate(startup);
    new AfterFirstPaint(ListGames->viewport(), [this] {
        emulateur->NameGamesOutOfSight();
        makeDialogs();
    });
}

TF_Lanvo::~TF_Lanvo()
{
    // The rows point into the catalogue and their texts and marks come from it and from this window:
    // detach the list before they go, as closing the window still lays out and draws its rows.
    emulateur->ListGames = nullptr;
    ListGames->setGameTextOf({});
    ListGames->listModel()->setFavouriteOf({});
}

void TF_Lanvo::buildControls()
{
    auto *client = new QWidget(this);
    PageControl = new QTabWidget(client);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageGames = new QWidget(PageControl);
    PageOptions = new QWidget(PageControl);
    PageControl->addTab(PageGames, Texts::GamesPage);
    PageControl->addTab(PageOptions, Texts::OptionsPage);

    ListGames = new TEnhListView(PageGames);
    ListGames->setObjectName(QStringLiteral("ListGames"));
    ListGames->setAccessibleName(Texts::GamesPage);
    ListGames->setColumns(FormColumns);
    ListGames->SetAutoColumnSort(acsSortToggle);
    ListGames->SetAutoResort(false);
    ListGames->SetReverseSortArrows(true);
    ListGames->loaded();
    ListGames->setContextMenuPolicy(Qt::CustomContextMenu);
    ListGames->listModel()->setSearchKeyOf(
        [this, model = ListGames->listModel()](const EnhListModel::Row &row) {
            emulateur->FinishNames();
            return gameSearchKey(*model, row);
        });
    ListGames->listModel()->setFavouriteOf(
        [this](const EnhListModel::Row &row) { return row.Game && isFavourite(*row.Game); });
    ListGames->setIconSize(FavouriteIconSize);
    ListColumns = new TColumnChooser(ListGames);
    ListColumns->setShownColumns(FormShownColumns);
    SearchGames = new TGameSearchField(PageGames);
    auto *gamesLayout = new QVBoxLayout(PageGames);
    gamesLayout->setContentsMargins(0, 0, 0, 0);
    gamesLayout->addWidget(SearchGames);
    gamesLayout->addWidget(ListGames);
    setTabOrder(SearchGames, ListGames);

    OptionsPage = new TOptionsPage(*emulateur, PageOptions);
    auto *optionsLayout = new QVBoxLayout(PageOptions);
    optionsLayout->setContentsMargins(0, 0, 0, 0);
    optionsLayout->addWidget(OptionsPage);

    SnapshotPanel = new TSnapshotPanel(client);
    auto *clientLayout = new QHBoxLayout(client);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    clientLayout->setSpacing(0);
    clientLayout->addWidget(PageControl, 1);
    clientLayout->addWidget(SnapshotPanel);
    setCentralWidget(client);

    SB_InfoBar = new TStatusPanels(this);
    SB_InfoBar->setObjectName(QStringLiteral("SB_InfoBar"));
    SB_InfoBar->setPanelText(0, Texts::GamesCountInitial);
    SB_InfoBar->setPanelText(1, QStringLiteral("HD"));
    setStatusBar(SB_InfoBar);
}

void TF_Lanvo::buildMenus()
{
    Menus = new TGamesMenus(menuBar(), this);
    EmulatorMenu = new TEmulatorMenu(*emulateur, menuBar()->addMenu(Texts::CorvaneMenu));
    EmulatorMenu->Mn_Corvane->setObjectName(QStringLiteral("Mn_Corvane"));
    Menus->addHelpMenu(menuBar());
}

void TF_Lanvo::connectHandlers()
{
    connect(Menus->mnQuit, &QAction::triggered, this, &TF_Lanvo::Bt_QuitClick);
    connect(Menus->About1, &QAction::triggered, this, &TF_Lanvo::About1Click);
    connect(EmulatorMenu->Options1, &QAction::triggered, this, &TF_Lanvo::Options1Click);
    connect(Menus->Refreshlist1, &QAction::triggered, this, &TF_Lanvo::Refreshlist1Click);
    Menus->onChoice(Menus->mn_availgames, [this] { mn_availgamesClick(); });
    Menus->onChoice(Menus->mn_missgames, [this] { mn_missgamesClick(); });
    Menus->onChoice(Menus->mn_allgames, [this] { mn_allgamesClick(); });
    Menus->onChoice(Menus->mn_favgames, [this] { mn_favgamesClick(); });
    Menus->onChoice(Menus->mn_recentgames, [this] { mn_recentgamesClick(); });
    connect(Menus->pm_Favourite, &QAction::triggered, this, &TF_Lanvo::pm_FavouriteClick);
    connect(emulateur, &TEmulators::playHistoryChanged, this, &TF_Lanvo::showPlayHistory);
    connect(ListColumns, &TColumnChooser::columnsChosen, this, [this] { m_columnsChosen = true; });
    Menus->onChoice(Menus->PmShowavailablegames, [this] { mn_availgamesClick(); });
    Menus->onChoice(Menus->PmShowmissinggames, [this] { mn_missgamesClick(); });
    Menus->onChoice(Menus->PmShowallgames, [this] { mn_allgamesClick(); });
    Menus->onChoice(Menus->Mn_ShowSnapshot, [this] { Mn_ShowSnapshotClick(); });
    Menus->onChoice(Menus->PmShowSnapshot, [this] { Mn_ShowSnapshotClick(); });
    // The context menu's Run runs the selected game as the main menu's does.
    connect(Menus->pm_Run, &QAction::triggered, this, &TF_Lanvo::mnRunClick);
    connect(EmulatorMenu->mnRun, &QAction::triggered, this, &TF_Lanvo::mnRunClick);
    for (int column = 0; column < Menus->mnSortBy.size(); ++column)
        connect(Menus->mnSortBy.at(column), &QAction::triggered, this, [this, column] { sortByColumn(column); });
    connect(ListGames, &TEnhListView::sortFinished, this, &TF_Lanvo::checkSortItemOf);

    connect(ListGames, &TEnhListView::rowStateChanged, this, &TF_Lanvo::ListGamesChange);
    connect(ListGames, &QAbstractItemView::doubleClicked, this, &TF_Lanvo::ListGamesDblClick);
    connect(ListGames, &QWidget::customContextMenuRequested, this, &TF_Lanvo::showContextMenu);
    ListGames->installEventFilter(this);
    ListGames->viewport()->installEventFilter(this);
    connect(PageControl, &QTabWidget::currentChanged, this, &TF_Lanvo::PageControlChange);
    connect(SearchGames, &QLineEdit::textChanged, this, &TF_Lanvo::SearchGamesChange);
    connect(SearchGames, &TGameSearchField::listRequested, this, &TF_Lanvo::leaveSearchForList);
    connect(SearchGames, &TGameSearchField::runRequested, this, &TF_Lanvo::runSelectedIfAvailable);
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, &TF_Lanvo::focusSearch);
    // F10 opens the menu bar's first menu, as in the desktop's other programs.
    connect(new QShortcut(Qt::Key_F10, this), &QShortcut::activated, this,
            [this] { menuBar()->setActiveAction(Menus->Mn_File->menuAction()); });
    connect(SnapshotPanel, &TSnapshotPanel::tabChosen, this, &TF_Lanvo::TabControlPicChange);
}

void TF_Lanvo::guarded(const std::function<void()> &handler)
{
    runGuarded(*m_prompts, handler);
}

void TF_Lanvo::FormCreate(LanvoStartup &startup)
{
    m_outcome = startup.finish();
    m_catalogueWritten = startup.catalogueWritten();
    if (!m_outcome.EndProgram)
        ListColumns->setShownColumns(readShownColumns(settingsFilePath(emulateur->WorkDir)));
}

void TF_Lanvo::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TF_Lanvo::FormClose()
{
    // A settings file that can't be written is reported; the window still closes and the
    // initialisation file is still patched, so the one failure loses nothing else.
    guarded([this] { WriteSettingsFile(*emulateur, currentWindowSettings(), m_catalogueWritten); });
    if (m_columnsChosen)
        guarded([this] { writeShownColumns(settingsFilePath(emulateur->WorkDir), ListColumns->shownColumns()); });
    emulateur->WriteInitFile();
}

WindowSettings TF_Lanvo::currentWindowSettings() const
{
    WindowSettings settings;
    settings.State = stateOf(windowState());
    if (m_hiddenForRun)
        settings.State = stateOf(m_stateBeforeRun);
    // The client area in every state, as applyWindowSettings places it: a frame corner saved in one
    // state and a client corner in another would move the window by its frame at each start.
    const QRect normal = normalGeometry();
    // Where the platform never tells a window's position, what Qt reports is no position at all.
    const QPoint corner = windowPositionKnown() ? normal.topLeft() : m_storedPosition;
    settings.Top = corner.y();
    settings.Left = corner.x();
    settings.Height = normal.height();
    settings.Width = normal.width();
    settings.PictureShown = Menus->Mn_ShowSnapshot->isChecked();
    return settings;
}

void TF_Lanvo::Bt_QuitClick()
{
    close();
}

void TF_Lanvo::makeDialogs()
{
    if (const std::function<void()> make = std::exchange(m_makeDialogs, {}))
        make();
}

void TF_Lanvo::About1Click()
{
    makeDialogs();
    if (F_About)
        F_About->exec();
}

void TF_Lanvo::Options1Click()
{
    makeDialogs();
    if (!F_Options)
        return;
    // The refresh reports its own failure through this guard, so that no key is written after it.
    guarded([this] { RunOptionsDialog(*F_Options, *emulateur, [this] { ApplyFilter(Menus->filterInForce()); }); });
}

// --- the filters ---------------------------------------------------------------------------------

void TF_Lanvo::ApplyFilter(TGameFilter filter)
{
    emulateur->RefreshList(filter);
    showGamesCount();
}

void TF_Lanvo::showGamesCount()
{
    SB_InfoBar->setPanelText(0, Texts::GamesCount.arg(ListGames->rowCount()));
}

// --- the quick search ------------------------------------------------------------------------------

// The rows are filtered, not rebuilt. The first one found is selected so that Enter runs it; when the
// search is emptied the game last selected stays selected in the whole list.
void TF_Lanvo::SearchGamesChange()
{
    const TGame *selected = ListGames->rowGame(ListGames->selectedRow());
    if (!ListGames->listModel()->setSearchText(SearchGames->text()))
        return;
    int row = ListGames->rowCount() > 0 ? 0 : -1;
    if (SearchGames->text().trimmed().isEmpty() && selected) {
        for (int i = 0; i < ListGames->rowCount(); ++i) {
            if (ListGames->rowGame(i) == selected) {
                row = i;
                break;
            }
        }
    }
    if (row < 0) {
        // The selected game is hidden: nothing names it or runs it until a game is selected again.
        emulateur->CurrentGame = nullptr;
        SB_InfoBar->setPanelText(2, QString());
        EmulatorMenu->mnRun->setEnabled(false);
    } else if (ListGames->rowGame(row) == selected) {
        // The same game again: its picture and Run state stand, so typing does not reload the picture.
        const QSignalBlocker quiet(ListGames);
        ListGames->selectRow(row);
    } else {
        ListGames->selectRow(row);
    }
    showGamesCount();
}

void TF_Lanvo::focusSearch()
{
    PageControl->setCurrentWidget(PageGames);
    SearchGames->setFocus(Qt::ShortcutFocusReason);
    SearchGames->selectAll();
}

void TF_Lanvo::leaveSearchForList()
{
    ListGames->setFocus(Qt::OtherFocusReason);
    if (ListGames->selectedRow() < 0 && ListGames->rowCount() > 0)
        ListGames->selectRow(0);
}

// As a click on the column's header: the same column again reverses the order. The menu names the
// list's own columns, so a hidden one is shown first; the header counts only those shown.
void TF_Lanvo::sortByColumn(int source)
{
    guarded([this, source] {
        ListGames->setColumnShown(source, true);
        ListGames->clickColumn(ListGames->listModel()->shownColumn(source));
    });
    checkSortItemOf(ListGames->SortColumn());
}

void TF_Lanvo::checkSortItemOf(int shownColumn)
{
    const EnhListModel *model = ListGames->listModel();
    if (shownColumn >= 0 && shownColumn < model->columnCount())
        Menus->checkSortItem(model->sourceColumn(shownColumn));
}

void TF_Lanvo::Refreshlist1Click()
{
    guarded([this] { ApplyFilter(Menus->filterInForce()); });
}

void TF_Lanvo::mn_availgamesClick()
{
    guarded([this] {
        if (!Menus->mn_availgames->isChecked())
            ApplyFilter(gfAvailable);
        Menus->checkFilterItem(Menus->mn_availgames);
    });
}

void TF_Lanvo::mn_missgamesClick()
{
    guarded([this] {
        if (!Menus->mn_missgames->isChecked())
            ApplyFilter(gfMissing);
        Menus->checkFilterItem(Menus->mn_missgames);
        EmulatorMenu->mnRun->setEnabled(false); // a missing game can't be run
    });
}

void TF_Lanvo::mn_allgamesClick()
{
    guarded([this] {
        if (!Menus->mn_allgames->isChecked())
            ApplyFilter(gfAll);
        Menus->checkFilterItem(Menus->mn_allgames);
    });
}

void TF_Lanvo::mn_favgamesClick()
{
    chooseView(Menus->mn_favgames, gfFavourites);
}

void TF_Lanvo::mn_recentgamesClick()
{
    chooseView(Menus->mn_recentgames, gfRecentlyPlayed);
}

void TF_Lanvo::chooseView(QAction *item, TGameFilter filter)
{
    guarded([this, item, filter] {
        if (!item->isChecked())
            ApplyFilter(filter);
        Menus->checkFilterItem(item);
    });
}

void TF_Lanvo::pm_FavouriteClick()
{
    TGame *game = emulateur->CurrentGame;
    if (!game)
        return;
    const bool favourite = isFavourite(*game);
    guarded([this, game, favourite] { emulateur->SetFavourite(*game, !favourite); });
}

void TF_Lanvo::showPlayHistory(const TGame *game)
{
    if (game == emulateur->CurrentGame)
        SB_InfoBar->setPanelText(3, PlayedTexts().summary(game ? emulateur->PlayRecordOf(*game) : nullptr));
}

void TF_Lanvo::ListGamesChange()
{
    const int row = ListGames->selectedRow();
    if (row < 0)
        return; // nothing selected: the last game's panel text and Run state stay
    emulateur->FinishNames();
    emulateur->CurrentGame = ListGames->rowGame(row);
    const TGame *game = emulateur->CurrentGame;
    SB_InfoBar->setPanelText(2, game ? game->RomSet : QString());
    showPlayHistory(game);
    if (Menus->Mn_ShowSnapshot->isChecked())
        emulateur->ShowPicture();
    EmulatorMenu->mnRun->setEnabled(game && game->available() && emulateur->EmulatorFound());
}

bool TF_Lanvo::isFavourite(const TGame &game) const
{
    const PlayRecord *played = emulateur->PlayRecordOf(game);
    return played && played->Favourite;
}

void TF_Lanvo::updateContextMenu()
{
    const TGame *game = emulateur->CurrentGame;
    Menus->PopupMenuListGamesPopup(game, game && isFavourite(*game));
}

void TF_Lanvo::showContextMenu(const QPoint &at)
{
    updateContextMenu();
    Menus->PopupMenuListGames->popup(ListGames->viewport()->mapToGlobal(at));
}

void TF_Lanvo::PageControlChange()
{
    if (PageControl->currentWidget() == PageOptions) {
        OptionsPage->pageShown();
        ListGames->hide();
        return;
    }
    ListGames->show();
    OptionsPage->pageHidden();
    if (isVisible())
        ListGames->setFocus();
}

// --- running ---------------------------------------------------------------------------------------

void TF_Lanvo::mnRunClick()
{
    if (!emulateur->CurrentGame)
        return;
    EmulatorMenu->mnRun->setEnabled(false);
    guarded([this] {
        emulateur->Run();
        EmulatorMenu->mnRun->setEnabled(emulateur->EmulatorFound());
        emulateur->HarvestSnapshots(emulateur->CurrentGame->RomSet);
        emulateur->ShowPicture();
    });
}

void TF_Lanvo::ListGamesDblClick()
{
    runSelectedIfAvailable();
}

// Double click and Enter look only at the game; the menu item also needs the emulator.
void TF_Lanvo::runSelectedIfAvailable()
{
    if (ListGames->selectedRow() >= 0 && emulateur->CurrentGame && emulateur->CurrentGame->available())
        mnRunClick();
}

// A Wayland client may ask to be minimised but can never bring itself back, so there the window
// is hidden for the run and shown again after it.
void TF_Lanvo::minimiseForRun()
{
    m_stateBeforeRun = windowState();
    if (!canRestoreMinimised() && isVisible()) {
        m_hiddenForRun = true;
        hide();
        return;
    }
    setWindowState((m_stateBeforeRun & ~Qt::WindowActive) | Qt::WindowMinimized);
}

void TF_Lanvo::restoreAfterRun()
{
    setWindowState(m_stateBeforeRun & ~(Qt::WindowMinimized | Qt::WindowActive));
    if (m_hiddenForRun) {
        m_hiddenForRun = false;
        show();
    }
    if (isVisible()) {
        raise();
        activateWindow();
    }
}

// --- keys and buttons in the games list -----------------------------------------------------------------

bool TF_Lanvo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ListGames && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (isEnter(key) || key == Qt::Key_Delete) {
            ListGamesKeyDown(key);
            return true;
        }
        if (static_cast<QKeyEvent *>(event)->text() == QLatin1String("/")) {
            focusSearch();
            return true;
        }
    }
    if (watched == ListGames->viewport() && isMouseButtonEvent(event)) {
        const Qt::MouseButton button = static_cast<QMouseEvent *>(event)->button();
        if (event->type() != QEvent::MouseButtonRelease)
            ListGamesMouseDown(button);
        if (button == Qt::MiddleButton)
            return true; // the middle button only switches the tab: the selection stays where it is
    }
    return QMainWindow::eventFilter(watched, event);
}

void TF_Lanvo::ListGamesKeyDown(int key)
{
    if (isEnter(key))
        runSelectedIfAvailable();
    else if (key == Qt::Key_Delete)
        togglePictureTab();
}

void TF_Lanvo::ListGamesMouseDown(Qt::MouseButton button)
{
    if (button == Qt::MiddleButton)
        togglePictureTab();
}

// --- the picture panel --------------------------------------------------------------------------------

void TF_Lanvo::togglePictureTab()
{
    SnapshotPanel->selectTab(SnapshotPanel->selectedTab() == 0 ? 1 : 0);
    TabControlPicChange();
}

void TF_Lanvo::TabControlPicChange()
{
    emulateur->PictureDir = SnapshotPanel->selectedTab() == 0 ? emulateur->TitlePicDir : emulateur->GamePicDir;
    if (ListGames->isVisible())
        ListGames->setFocus();
    emulateur->ShowPicture();
}

void TF_Lanvo::Mn_ShowSnapshotClick()
{
    if (Menus->Mn_ShowSnapshot->isChecked()) {
        HideSnapshotPanel();
    } else {
        ShowSnapshotPanel();
        emulateur->ShowPicture();
    }
}

void TF_Lanvo::ShowSnapshotPanel()
{
    Menus->Mn_ShowSnapshot->setChecked(true);
    SnapshotPanel->show();
}

void TF_Lanvo::HideSnapshotPanel()
{
    Menus->Mn_ShowSnapshot->setChecked(false);
    SnapshotPanel->hide();
}

// --- start-up -----------------------------------------------------------------------------------------

void TF_Lanvo::applyWindowSettings(const WindowSettings &settings)
{
    m_storedPosition = QPoint(settings.Left, settings.Top);
    setGeometry(settings.Left, settings.Top, settings.Width, settings.Height);
    if (settings.State == TWindowState::Maximized)
        setWindowState(Qt::WindowMaximized);
    else if (settings.State == TWindowState::Minimized)
        setWindowState(Qt::WindowMinimized);
    if (settings.PictureShown)
        ShowSnapshotPanel();
    else
        HideSnapshotPanel();
}

void TF_Lanvo::setCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void TF_Lanvo::setColumnCaptions(const QStringList &captions)
{
    ListGames->setColumnCaptions(captions);
    ListGames->setSelectionBehavior(QAbstractItemView::SelectRows);
}

void TF_Lanvo::applyLayout()
{
    PageControl->setCurrentWidget(PageGames);
    ListGames->SetShowSortArrows(true);
    ListGames->Resort();
}

void TF_Lanvo::showInstallType(const QString &text)
{
    SB_InfoBar->setPanelText(1, text);
}

void TF_Lanvo::selectPictureTab(bool inGamePictures)
{
    SnapshotPanel->selectTab(inGamePictures ? 1 : 0);
}

void TF_Lanvo::activateGamesPage()
{
    PageControlChange();
    // The window is not shown yet: the list takes the focus when it is, rather than the first tab.
    ListGames->setFocus(Qt::OtherFocusReason);
}

void TF_Lanvo::setControlsFromProperties()
{
    OptionsPage->setControlsFromProperties();
    EmulatorMenu->setFromProperties();
}

void TF_Lanvo::refreshList()
{
    // Start-up needs the failure itself, not the error box of the menu command.
    ApplyFilter(Menus->filterInForce());
}

} // namespace Lanvo
