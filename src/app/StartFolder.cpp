#include "StartFolder.h"

#include "DirectoryListing.h"
#include "PathTrust.h"
#include "RegularFile.h"
#include "ScratchDialogSettings.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

namespace Lanvo {

namespace {

const QString LastFolderKey = QStringLiteral("LastFolder");

// The file holds one folder name; anything near this size is not Lanvo's.
constexpr qint64 MaxSettingsSize = 64 * 1024;

// A FIFO, a device or a huge file in its place is passed over rather than waited on or read whole.
bool isReadableSettings(const QString &file)
{
    return readRegularFile(file, MaxSettingsSize).ok();
}

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
        if (const QString last = remembered(); !last.isEmpty() && enterRemembered(last))
            return true;
        return askAndEnter();
    case TCommandLine::TFolderChoice::AskAgain:
        return askAndEnter();
    }
    return true;
}

QString TStartFolder::remembered() const
{
    if (!isReadableSettings(SettingsFile))
        return {};
    return QSettings(SettingsFile, QSettings::IniFormat).value(LastFolderKey).toString();
}

// The folder may have gone and been replaced by, or through a link to, another user's: it is entered
// only when its whole path is trusted, and through the folder the check opened.
bool TStartFolder::enterRemembered(const QString &folder) const
{
    const TrustRefusal refusal = enterTrustedFolder(folder);
    if (!refusal.refused())
        return true;
    if (Refused && QFileInfo::exists(folder))
        Refused(QStringLiteral("Lanvo did not enter %1, the Corvane folder chosen last time: %2, so another user "
                               "could have put his own emulator there. Choose the folder again to start in it this "
                               "time; to have it entered at once, make it and the folders above it yours and "
                               "writable by you alone.")
                    .arg(folder, refusal.text()));
    return false;
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
            // QSettings reads the old file before it writes: one that can't be read boundedly stays.
            if (!QFileInfo::exists(SettingsFile) || isReadableSettings(SettingsFile)) {
                QSettings settings(SettingsFile, QSettings::IniFormat);
                settings.setValue(LastFolderKey, QDir::currentPath());
            }
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

void ShowStartFolderNotice(const QString &text)
{
    QMessageBox::warning(nullptr, QString(), text);
}

void ShowStartFolderError(const QString &text)
{
    QMessageBox::critical(nullptr, QString(), text);
}

} // namespace Lanvo
