#pragma once

#include "CommandLine.h"

#include <QString>

#include <functional>

namespace Lanvo {

// A start from the desktop menu happens in the home folder, not in a Corvane folder: the folder the
// user chose last time is remembered and entered, and the user is asked for one at the first start.
class TStartFolder
{
public:
    // Shows a folder chooser opening at the proposed folder; an empty answer means cancelled.
    using Chooser = std::function<QString(const QString &proposed)>;

    TStartFolder(const QString &settingsFile, Chooser chooser);

    // Makes the start folder current as the command line asked. False when the user cancelled the
    // chooser: the program then ends without having written anything.
    bool enter(TCommandLine::TFolderChoice choice) const;

private:
    QString remembered() const;
    bool askAndEnter() const;

    QString SettingsFile;
    Chooser Choose;
};

// True when the folder already holds Lanvo's settings or the emulator: a start there is a start
// inside a Corvane folder, which keeps it.
bool IsCorvaneFolder(const QString &folder);

// The user's own settings file of the desktop start, beside other programs' settings.
QString DefaultStartFolderSettings();

// The desktop's folder chooser.
QString ChooseFolderWithDialog(const QString &proposed);

} // namespace Lanvo
