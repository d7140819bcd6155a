#include "StartFolder.h"

#include "DirectoryListing.h"
#include "ScratchDialogSettings.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

namespace Lanvo {

namespace {

const QString LastFolderKey = QStringLiteral("LastFolder");

} // namespace

TStartFolder::TStartFolder(const QString &settingsFile, Chooser chooser, IPrompts &prompts)
    : SettingsFile(settingsFile), Choose(std::move(chooser)), Prompts(prompts)
{
}

bool TStartFolder::enter(TCommandLine::TFolderChoice choice) const
{
    switch (choice) {
    case TCommandLine::TFolderChoice::Current:
        return true;
    case TCommandLine::TFolderChoice::LastChosen:
        if (IsCorvaneFolder(QDir::currentPath()))
            return true;
        if (const QString last = remembered(); !last.isEmpty() && QDir::setCurrent(last))
            return true;
        return askAndEnter();
    case TCommandLine::TFolderChoice::AskAgain:
        return askAndEnter();
    }
    return true;
}

QString TStartFolder::remembered() const
{
    return QSettings(SettingsFile, QSettings::IniFormat).value(LastFolderKey).toString();
}

bool TStartFolder::askAndEnter() const
{
    const QString last = remembered();
    QString proposed = !last.isEmpty() && QDir(last).exists() ? last : QDir::homePath();
    for (;;) {
        const QString chosen = Choose(proposed);
        if (chosen.isEmpty())
            return false;
        // A folder the chooser shows but that can't be entered, or one the user did not mean after
        // all: ask again rather than start elsewhere.
        if (confirmedForUse(chosen) && QDir::setCurrent(chosen)) {
            QSettings settings(SettingsFile, QSettings::IniFormat);
            settings.setValue(LastFolderKey, QDir::currentPath());
            return true;
        }
        proposed = chosen;
    }
}

// Lanvo fills the folder it starts in; an Enter too many in the chooser must not fill the home folder.
bool TStartFolder::confirmedForUse(const QString &chosen) const
{
    return !QFileInfo(chosen).isDir() || IsCorvaneFolder(chosen)
        || Prompts.showMessage(PromptKind::Warning, NoCorvaneFilesQuestion, PromptButtons::YesNo) == PromptAnswer::Yes;
}

bool IsCorvaneFolder(const QString &folder)
{
    // Letter case is ignored, as for the emulator's own files. Only names are read until one matches:
    // the folder may also hold the ROM sets, by the thousand.
    const auto isMark = [](const QString &name) {
        return name.compare(QLatin1String("Lanvo.ini"), Qt::CaseInsensitive) == 0
            || name.compare(QLatin1String("corvane.exe"), Qt::CaseInsensitive) == 0;
    };
    const std::vector<QString> names = directoryNames(folder);
    return std::any_of(names.begin(), names.end(), [&](const QString &name) {
        return isMark(name) && QFileInfo(QDir(folder).filePath(name)).isFile();
    });
}

QString DefaultStartFolderSettings()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/lanvo/lanvo.conf");
}

QString ChooseFolderWithDialog(const QString &proposed)
{
    const TScratchDialogSettings scratch;
    return QFileDialog::getExistingDirectory(nullptr, ChooseCorvaneFolderTitle, proposed);
}

} // namespace Lanvo
