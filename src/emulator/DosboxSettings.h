#pragma once

#include <QString>

namespace Lanvo {

// When a DOS emulator program runs through DOSBox: when it is one (it starts with "MZ"), always,
// or never (the program is started directly).
enum TDosboxUse { duAuto, duAlways, duNever };

// The "Dosbox" section of the settings file; only the options dialog writes it.
struct DosboxSettings
{
    QString Program = QStringLiteral("dosbox"); // a bare name is looked for on PATH
    QString ConfigFile;                         // passed with -conf when set
    TDosboxUse Use = duAuto;
    bool Fullscreen = false;                    // DOSBox started with -fullscreen
};

inline constexpr const char *DosboxSection = "Dosbox";

// Reads "Program", "Config", "Use" ("AUTO", "ALWAYS", "NEVER") and "Fullscreen" ("ON", "OFF"),
// letter case ignored; a path is taken relative to the start directory, and anything unreadable
// keeps its default.
DosboxSettings readDosboxSettings(const QString &settingsFile, const QString &startDirectory);

} // namespace Lanvo
