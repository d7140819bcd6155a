#pragma once

#include "CommandLine.h"
#include "Interfaces.h"

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

    // Prompts asks before a chosen folder without any Corvane file is taken.
    TStartFolder(const QString &settingsFile, Chooser chooser, IPrompts &prompts);

    // Tells the user why the remembered folder is not entered (another user could change it).
    using Notice = std::function<void(const QString &text)>;
    void setRefusalNotice(Notice notice) { Refused = std::move(notice); }

    // Makes the start folder current as the command line asked. False when the user cancelled the
    // chooser: the program then ends without having written anything.
    bool enter(TCommandLine::TFolderChoice choice) const;

private:
    QString remembered() const;
    bool enterRemembered(const QString &folder) const;
    bool askAndEnter() const;
    bool confirmedForUse(const QString &chosen) const;

    QString SettingsFile;
    Chooser Choose;
    IPrompts &Prompts;
    Notice Refused;
};

// True when the folder already holds Lanvo's settings or the emulator: a start there is a start
// inside a Corvane folder, which keeps it.
bool IsCorvaneFolder(const QString &folder);

// The user's own settings file of the desktop start, beside other programs' settings.
QString DefaultStartFolderSettings();

inline const QString ChooseCorvaneFolderTitle = QStringLiteral("Choose the folder that holds corvane.exe");

// The question asked before a folder without any Corvane file becomes the start folder.
inline const QString NoCorvaneFilesQuestion = QStringLiteral("This folder holds no Corvane files. Use it anyway?");

// The desktop's folder chooser. The file dialog's own history goes to a scratch folder while it is
// open, so that cancelling it writes nothing in the user's configuration.
QString ChooseFolderWithDialog(const QString &proposed);

// Message boxes of the start, shown before the main window exists.
void ShowStartFolderNotice(const QString &text);
void ShowStartFolderError(const QString &text);

} // namespace Lanvo
