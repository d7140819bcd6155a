#pragma once

#include "SettingsFile.h"
#include "WorkDirectory.h"

namespace Lanvo {

// The main window's share of the start-up: what only a window can do.
class IStartupWindow
{
public:
    virtual ~IStartupWindow() = default;

    virtual void applyWindowSettings(const WindowSettings &settings) = 0;
    virtual void setCaption(const QString &caption) = 0;
    virtual void setColumnCaptions(const QStringList &captions) = 0; // and whole-row selection
    virtual void applyLayout() = 0;
    virtual void showInstallType(const QString &text) = 0;
    // Selects the picture tab that goes with the picture directory, without changing it.
    virtual void selectPictureTab(bool inGamePictures) = 0;
    virtual void activateGamesPage() = 0;
    // Sets the option controls and the emulator menu from the properties (Bios may be defaulted).
    virtual void setControlsFromProperties() = 0;
    // Fills the games list with the filter in force; throws when the games file can't be read.
    virtual void refreshList() = 0;
};

struct StartupOutcome
{
    bool EndProgram = false;
    int ExitCode = 0;
};

// The start-up sequence of the main window, in its fixed order.
class LanvoStartup
{
public:
    LanvoStartup(TCorvane &emulator, IPrompts &prompts, IStartupWindow &window);

    WorkDirectoryDecision &workDirectory() { return m_workDirectory; }

    // CatalogueWritten after the run: whether "Version" is to be saved at close.
    bool catalogueWritten() const { return m_catalogueWritten; }
    const WindowSettings &windowSettings() const { return m_windowSettings; }

    // Prepare, then Finish, with nothing between them.
    StartupOutcome run();
    // The steps that need no window: the work directory, the settings, the data directories and the
    // games file. The games file is then read on threads of their own; errors are shown as they come.
    void prepare();
    // The initialisation file, the window's steps, then the list filled with the games read, unless
    // Prepare ended or failed.
    StartupOutcome finish();

private:
    enum class Stage { Ended, Failed, Prepared };

    StartupOutcome finishWindow();
    void loadSettings();
    void createDataDirectories() const;
    void ensureGamesFile();
    void writeDefaultGamesFile();
    void prepareWindow();
    bool checkRomDirectory(const QString &path, const QString &which) const;
    StartupOutcome fillList();

    TCorvane &m_emulator;
    IPrompts &m_prompts;
    IStartupWindow &m_window;
    WorkDirectoryDecision m_workDirectory;
    WindowSettings m_windowSettings;
    bool m_settingsRead = false;
    bool m_catalogueWritten = false;
    Stage m_stage = Stage::Ended;
    StartupOutcome m_ending;
};

} // namespace Lanvo
