#include "Main.h"

#include "U_textes_An.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace Lanvo {

TF_Lanvo *F_Lanvo = nullptr;

namespace {

// The form's own column captions, which the start-up replaces.
const std::vector<EnhListModel::Column> FormColumns = {
    {QStringLiteral("Games"), 200, Qt::AlignLeft},
    {QStringLiteral("Date"), 60, Qt::AlignLeft},
    {QStringLiteral("Type"), 100, Qt::AlignLeft},
    {QStringLiteral("Manufacturer"), 100, Qt::AlignLeft},
};

} // namespace

TF_Lanvo::TF_Lanvo(const Setup &setup, QWidget *parent)
    : QMainWindow(parent)
{
    m_platformPrompts = std::make_unique<QtPrompts>(this);
    m_prompts = setup.Prompts ? setup.Prompts : m_platformPrompts.get();
    emulateur = new TCorvane(this, setup.StartDirectory);
    emulateur->Prompts = m_prompts;
    buildControls();
    buildMenus();
    emulateur->ListGames = ListGames;
    emulateur->RunWindowHooks = {[this] { minimiseForRun(); }, [this] { restoreAfterRun(); }};
    FormCreate(setup);
}

TF_Lanvo::~TF_Lanvo()
{
    // The rows point into the catalogue: detach the list before the catalogue goes.
    emulateur->ListGames = nullptr;
}

void TF_Lanvo::buildControls()
{
    PageControl = new QTabWidget(this);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageGames = new QWidget(PageControl);
    PageOptions = new QWidget(PageControl);
    PageControl->addTab(PageGames, Texts::GamesPage);
    PageControl->addTab(PageOptions, Texts::OptionsPage);

    ListGames = new TEnhListView(PageGames);
    ListGames->setObjectName(QStringLiteral("ListGames"));
    ListGames->setAccessibleName(QStringLiteral("Games"));
    ListGames->setColumns(FormColumns);
    auto *gamesLayout = new QVBoxLayout(PageGames);
    gamesLayout->setContentsMargins(0, 0, 0, 0);
    gamesLayout->addWidget(ListGames);
    setCentralWidget(PageControl);

    SB_InfoBar = new TStatusPanels(this);
    SB_InfoBar->setObjectName(QStringLiteral("SB_InfoBar"));
    SB_InfoBar->setPanelText(0, Texts::GamesCountInitial);
    SB_InfoBar->setPanelText(1, QStringLiteral("HD"));
    setStatusBar(SB_InfoBar);

    connect(ListGames, &TEnhListView::rowStateChanged, this, &TF_Lanvo::ListGamesChange);
    connect(ListGames, &QAbstractItemView::doubleClicked, this, &TF_Lanvo::ListGamesDblClick);
    ListGames->installEventFilter(this);
}

void TF_Lanvo::buildMenus()
{
    Mn_File = menuBar()->addMenu(Texts::FileMenu);
    mnQuit = Mn_File->addAction(Texts::ExitItem);
    mnQuit->setObjectName(QStringLiteral("mnQuit"));
    connect(mnQuit, &QAction::triggered, this, &TF_Lanvo::Bt_QuitClick);

    Mn_Corvane = menuBar()->addMenu(Texts::CorvaneMenu);
    mnRun = Mn_Corvane->addAction(Texts::RunItem);
    mnRun->setObjectName(QStringLiteral("mnRun"));
    mnRun->setEnabled(false);
    connect(mnRun, &QAction::triggered, this, &TF_Lanvo::mnRunClick);
}

void TF_Lanvo::FormCreate(const Setup &setup)
{
    LanvoStartup startup(*emulateur, *m_prompts, *this);
    if (setup.WritabilityTest)
        startup.workDirectory().setMarkerTest(setup.WritabilityTest);
    m_outcome = startup.run();
    m_catalogueWritten = startup.catalogueWritten();
    m_pictureShown = startup.windowSettings().PictureShown;
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
    runGuarded(*m_prompts, [this] { WriteSettingsFile(*emulateur, currentWindowSettings(), m_catalogueWritten); });
    emulateur->WriteInitFile();
}

WindowSettings TF_Lanvo::currentWindowSettings() const
{
    WindowSettings settings;
    if (isMaximized())
        settings.State = TWindowState::Maximized;
    else if (isMinimized())
        settings.State = TWindowState::Minimized;
    const QRect normal = (settings.State == TWindowState::Normal) ? QRect(pos(), size()) : normalGeometry();
    settings.Top = normal.top();
    settings.Left = normal.left();
    settings.Height = normal.height();
    settings.Width = normal.width();
    settings.PictureShown = m_pictureShown;
    return settings;
}

void TF_Lanvo::Bt_QuitClick()
{
    close();
}

void TF_Lanvo::Refreshlist1Click()
{
    runGuarded(*m_prompts, [this] { ApplyFilter(filterInForce()); });
}

// The filter the form starts with; the View menu's filter items choose the others.
TGameFilter TF_Lanvo::filterInForce() const
{
    return gfAvailable;
}

void TF_Lanvo::ApplyFilter(TGameFilter filter)
{
    emulateur->RefreshList(filter);
    SB_InfoBar->setPanelText(0, Texts::GamesCount.arg(ListGames->rowCount()));
}

void TF_Lanvo::ListGamesChange()
{
    const int row = ListGames->selectedRow();
    if (row < 0)
        return; // nothing selected: the last game's panel text and Run state stay
    emulateur->CurrentGame = ListGames->rowGame(row);
    const TGame *game = emulateur->CurrentGame;
    SB_InfoBar->setPanelText(2, game ? game->RomSet : QString());
    mnRun->setEnabled(game && game->Available && emulateur->EmulatorFound());
}

void TF_Lanvo::mnRunClick()
{
    if (!emulateur->CurrentGame)
        return;
    mnRun->setEnabled(false);
    runGuarded(*m_prompts, [this] {
        emulateur->Run();
        mnRun->setEnabled(emulateur->EmulatorFound());
    });
}

void TF_Lanvo::ListGamesDblClick()
{
    runSelectedIfAvailable();
}

bool TF_Lanvo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ListGames && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ListGamesKeyDown(key);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TF_Lanvo::ListGamesKeyDown(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        runSelectedIfAvailable();
}

// Double click and Enter look only at the game; the menu item also needs the emulator.
void TF_Lanvo::runSelectedIfAvailable()
{
    if (ListGames->selectedRow() >= 0 && emulateur->CurrentGame && emulateur->CurrentGame->Available)
        mnRunClick();
}

void TF_Lanvo::minimiseForRun()
{
    m_stateBeforeRun = windowState();
    setWindowState((m_stateBeforeRun & ~Qt::WindowActive) | Qt::WindowMinimized);
}

void TF_Lanvo::restoreAfterRun()
{
    setWindowState(m_stateBeforeRun & ~Qt::WindowMinimized);
    if (isVisible()) {
        raise();
        activateWindow();
    }
}

void TF_Lanvo::applyWindowSettings(const WindowSettings &settings)
{
    move(settings.Left, settings.Top);
    resize(settings.Width, settings.Height);
    if (settings.State == TWindowState::Maximized)
        setWindowState(Qt::WindowMaximized);
    else if (settings.State == TWindowState::Minimized)
        setWindowState(Qt::WindowMinimized);
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
}

void TF_Lanvo::showInstallType(const QString &text)
{
    SB_InfoBar->setPanelText(1, text);
}

void TF_Lanvo::activateGamesPage()
{
    ListGames->show();
    if (isVisible())
        ListGames->setFocus();
}

void TF_Lanvo::refreshList()
{
    // Start-up needs the failure itself, not the error box of the menu command.
    ApplyFilter(filterInForce());
}

} // namespace Lanvo
