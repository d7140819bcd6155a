#pragma once

#include "Corvane.h"

namespace Lanvo {

enum class TWindowState { Normal, Minimized, Maximized };

// What the settings file holds for the main window itself.
struct WindowSettings
{
    TWindowState State = TWindowState::Normal;
    int Top = 192;
    int Left = 232;
    int Height = 470;
    int Width = 914;
    bool PictureShown = true; // "Picture"
};

inline constexpr const char *SettingsFileName = "Lanvo.ini";
inline constexpr const char *SettingsSection = "Lanvo";
inline constexpr const char *ProgramVersion = "1.61";

QString settingsFilePath(const QString &directory);

// Reads the work directory's settings file into the emulator's properties and the window settings.
// Returns CatalogueWritten: true when the stored version is not the program's.
bool ReadSettingsFile(TCorvane &emulator, WindowSettings &window);

// Empty when every folder the settings file names can be held as Qt's file names; otherwise the
// message that refuses the first one that can't.
QString settingsFolderNameRefusal(const QString &workDirectory);

// Writes every key the program owns, one update each, "Version" only when CatalogueWritten.
// Throws LanvoError naming the file when a key can't be written; later keys are then not written.
void WriteSettingsFile(const TCorvane &emulator, const WindowSettings &window, bool catalogueWritten);

// Reading rules of single values, shared with the work-directory decision.
int readIntegerValue(const QByteArray &text, int defaultValue);

} // namespace Lanvo
