#pragma once

#include "Corvane.h"
#include "EnhListView.h"
#include "QtPrompts.h"
#include "StatusBar.h"
#include "Startup.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QMenu;
class QTabWidget;

namespace Lanvo {

// What a main window is started with; tests name their own start directory and message boxes.
struct LanvoWindowSetup
{
    QString StartDirectory;                            // empty: the current directory
    IPrompts *Prompts = nullptr;                       // empty: the platform's message boxes
    WorkDirectoryDecision::MarkerTest WritabilityTest; // empty: the marker file
};

// The main window: the games list, its pages and menus, start-up and shutdown.
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

    TCorvane *emulateur;
    TEnhListView *ListGames;
    QTabWidget *PageControl;
    QWidget *PageGames;
    QWidget *PageOptions;
    TStatusPanels *SB_InfoBar;
    QMenu *Mn_File;
    QAction *mnQuit;
    QMenu *Mn_Corvane;
    QAction *mnRun;

public Q_SLOTS:
    void Bt_QuitClick();
    void Refreshlist1Click();
    void mnRunClick();
    void ListGamesDblClick();
    void ListGamesChange();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void FormCreate(const Setup &setup);
    void FormClose();
    void ApplyFilter(TGameFilter filter);
    TGameFilter filterInForce() const;
    void ListGamesKeyDown(int key);
    void runSelectedIfAvailable();
    void minimiseForRun();
    void restoreAfterRun();

    // IStartupWindow
    void applyWindowSettings(const WindowSettings &settings) override;
    void setCaption(const QString &caption) override;
    void setColumnCaptions(const QStringList &captions) override;
    void applyLayout() override;
    void showInstallType(const QString &text) override;
    void activateGamesPage() override;
    void refreshList() override;

    std::unique_ptr<QtPrompts> m_platformPrompts;
    IPrompts *m_prompts = nullptr;
    StartupOutcome m_outcome;
    bool m_catalogueWritten = false;
    bool m_pictureShown = true; // "Picture", kept until the snapshot panel shows it
    Qt::WindowStates m_stateBeforeRun;
};

extern TF_Lanvo *F_Lanvo;

} // namespace Lanvo
