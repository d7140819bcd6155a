#pragma once

#include "ColumnChooser.h"
#include "Corvane.h"
#include "EmulatorMenu.h"
#include "EnhListView.h"
#include "GameSearchField.h"
#include "GamesMenus.h"
#include "OptionsPage.h"
#include "QtPrompts.h"
#include "SnapshotPanel.h"
#include "StatusBar.h"
#include "Startup.h"

#include <QMainWindow>

#include <functional>
#include <memory>

class QTabWidget;

namespace Lanvo {

// What a main window is started with; tests name their own start directory and message boxes.
struct LanvoWindowSetup
{
    QString StartDirectory;                            // empty: the current directory
    IPrompts *Prompts = nullptr;                       // empty: the platform's message boxes
    WorkDirectoryDecision::MarkerTest WritabilityTest; // empty: the marker file
};

// The main window: the games list with its filters, the picture panel, the options page and the
// menus; start-up and shutdown. The pieces are classes of their own; this one connects them.
class TF_Lanvo : public QMainWindow, private IStartupWindow
{
    Q_OBJECT

public:
    using Setup = LanvoWindowSetup;

    explicit TF_Lanvo(const Setup &setup = Setup(), QWidget *parent = nullptr);
    ~TF_Lanvo() override;

    // Whether the start-up ended the program before the window was ever shown.
    const StartupOutcome &startupOutcome() const { return m_outcome; }
    bool catalogueWritten() const { return m_catalogueWritten; }
    WindowSettings currentWindowSettings() const;
    // Make builds the about and options dialogs: once the window has drawn its first frame, or as soon
    // as one of them is asked for before that, so that building them does not delay that frame.
    void setDialogsMaker(std::function<void()> make) { m_makeDialogs = std::move(make); }

    TCorvane *emulateur;
    TEnhListView *ListGames;
    TGameSearchField *SearchGames;
    QTabWidget *PageControl;
    QWidget *PageGames;
    QWidget *PageOptions;
    TOptionsPage *OptionsPage;
    TSnapshotPanel *SnapshotPanel;
    TStatusPanels *SB_InfoBar;
    TGamesMenus *Menus;
    TEmulatorMenu *EmulatorMenu;
    TColumnChooser *ListColumns;

    // Whether the user marked Game, as the play history says.
    bool isFavourite(const TGame &game) const;
    // Gives the list's context menu the states of the selected game and the views, as before it opens.
    void updateContextMenu();

public Q_SLOTS:
    void Bt_QuitClick();
    void About1Click();
    void Options1Click();
    void Refreshlist1Click();
    void mn_availgamesClick();
    void mn_missgamesClick();
    void mn_allgamesClick();
    void mn_favgamesClick();
    void mn_recentgamesClick();
    void pm_FavouriteClick();
    void mnRunClick();
    void ListGamesDblClick();
    void ListGamesChange();
    void PageControlChange();
    void Mn_ShowSnapshotClick();
    void TabControlPicChange();
    void SearchGamesChange();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void connectHandlers();
    void FormCreate(LanvoStartup &startup);
    void FormClose();
    void ApplyFilter(TGameFilter filter);
    void sortByColumn(int source);
    void checkSortItemOf(int shownColumn);
    void showGamesCount();
    void chooseView(QAction *item, TGameFilter filter);
    void showPlayHistory(const TGame *game);
    void focusSearch();
    void leaveSearchForList();
    void ListGamesKeyDown(int key);
    void ListGamesMouseDown(Qt::MouseButton button);
    void showContextMenu(const QPoint &at);
    void togglePictureTab();
    void runSelectedIfAvailable();
    void ShowSnapshotPanel();
    void HideSnapshotPanel();
    void minimiseForRun();
    void restoreAfterRun();
    void guarded(const std::function<void()> &handler);

    // IStartupWindow
    void applyWindowSettings(const WindowSettings &settings) override;
    void setCaption(const QString &caption) override;
    void setColumnCaptions(const QStringList &captions) override;
    void applyLayout() override;
    void showInstallType(const QString &text) override;
    void selectPictureTab(bool inGamePictures) override;
    void activateGamesPage() override;
    void setControlsFromProperties() override;
    void refreshList() override;

    std::unique_ptr<QtPrompts> m_platformPrompts;
    IPrompts *m_prompts = nullptr;
    void makeDialogs();

    StartupOutcome m_outcome;
    bool m_catalogueWritten = false;
    std::function<void()> m_makeDialogs; // empty once called
    bool m_columnsChosen = false; // the user showed or hid a column: saved at close
    Qt::WindowStates m_stateBeforeRun;
    bool m_hiddenForRun = false;       // hidden rather than minimised for the running emulator
    QPoint m_storedPosition;           // Top and Left as read, kept where the platform can't tell them
};

extern TF_Lanvo *F_Lanvo;

} // namespace Lanvo
