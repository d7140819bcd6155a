#include "OptionsDialogRun.h"

#include "Corvane.h"
#include "DosboxPage.h"
#include "OptionsDialog.h"
#include "ProfileFile.h"
#include "SettingsFile.h"
#include "TextDecoding.h"

#include <QDir>

namespace Lanvo {

namespace {

OptionsValues valuesOf(const TCorvane &emulator)
{
    return {emulator.RomPath1.Path, emulator.RomPath2.Path, emulator.AltPath.Path,
            displayFileText(emulator.AdditionalParameters)};
}

// The alternate directory is only stored: the running program keeps the work directory it
// started with, which is decided from the start directory's settings file.
void applyValues(TCorvane &emulator, const OptionsValues &values)
{
    emulator.RomPath1 = emulator.makePath(values.RomPath1);
    emulator.RomPath2 = emulator.makePath(values.RomPath2);
    emulator.AdditionalParameters = editedFileText(emulator.AdditionalParameters, values.AddParam);
}

void writeDirectories(const ProfileFile &settings, const OptionsValues &values)
{
    const QByteArray section(SettingsSection);
    settings.writeString(section, "RomPath1", settingsPathValue(values.RomPath1));
    settings.writeString(section, "RomPath2", settingsPathValue(values.RomPath2));
    settings.writeString(section, "AltPath", settingsPathValue(values.AltPath));
}

const QString DefaultDosbox = DosboxSettings().Program;

DosboxChoices dosboxChoicesOf(const DosboxSettings &settings)
{
    const QString program = settings.Program == DefaultDosbox ? QString() : settings.Program;
    return {program, settings.ConfigFile, settings.Use, settings.Fullscreen};
}

void applyDosboxChoices(DosboxSettings &settings, const DosboxChoices &choices)
{
    settings.Program = choices.Program.isEmpty() ? DefaultDosbox : choices.Program;
    settings.ConfigFile = choices.Config;
    settings.Use = choices.Use;
    settings.Fullscreen = choices.Fullscreen;
}

QByteArray useText(TDosboxUse use)
{
    switch (use) {
    case duAlways:
        return "ALWAYS";
    case duNever:
        return "NEVER";
    case duAuto:
        break;
    }
    return "AUTO";
}

// Only the keys the user changed: a key the page shows in another form (a relative path made
// absolute) keeps its line when it was left alone.
void writeDosboxChanges(const ProfileFile &settings, const DosboxChoices &shown, const DosboxChoices &chosen)
{
    const QByteArray section(DosboxSection);
    if (chosen.Program != shown.Program)
        settings.writeString(section, "Program", settingsPathValue(chosen.Program));
    if (chosen.Config != shown.Config)
        settings.writeString(section, "Config", settingsPathValue(chosen.Config));
    if (chosen.Use != shown.Use)
        settings.writeString(section, "Use", useText(chosen.Use));
    if (chosen.Fullscreen != shown.Fullscreen)
        settings.writeString(section, "Fullscreen", chosen.Fullscreen ? "ON" : "OFF");
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool readsBackChanged(const QString &value)
{
    if (value.isEmpty())
        return false;
    const QChar first = value.front();
    const bool quoted = value.size() >= 2 && (first == QLatin1Char('"') || first == QLatin1Char('\''))
        && value.back() == first;
    return isBlank(first) || isBlank(value.back()) || quoted;
}

} // namespace

int execOptionsDialog(TF_Options &dialog)
{
    return dialog.exec();
}

QByteArray settingsPathValue(const QString &path)
{
    const QByteArray bytes = path.toUtf8();
    return readsBackChanged(path) ? '"' + bytes + '"' : bytes;
}

bool RunOptionsDialog(TF_Options &dialog, TCorvane &emulator, const std::function<void()> &refresh,
                      const ShowOptionsDialog &showModal)
{
    QDir::setCurrent(emulator.StartDir.FullPath);
    const ProfileFile settings(settingsFilePath(emulator.WorkDir));
    dialog.setValues(valuesOf(emulator));
    const DosboxChoices shownDosbox = dosboxChoicesOf(emulator.Dosbox);
    dialog.Dosbox->setChoices(shownDosbox);
    if (showModal(dialog) != QDialog::Accepted)
        return false;
    const OptionsValues chosen = dialog.values();
    const DosboxChoices chosenDosbox = dialog.Dosbox->choices();
    applyValues(emulator, chosen);
    applyDosboxChoices(emulator.Dosbox, chosenDosbox);
    refresh();
    writeDirectories(settings, chosen);
    writeDosboxChanges(settings, shownDosbox, chosenDosbox);
    return true;
}

} // namespace Lanvo
