#pragma once

#include <QString>

namespace Lanvo {

// When a DOS emulator program runs through DOSBox: when it is one (it starts with "MZ"), always,
// or never (the program is started directly).
enum TDosboxUse { duAuto, duAlways, duNever };

// The "Dosbox" section of the settings file; the program writes nothing there.
struct DosboxSettings
{
    QString Program = QStringLiteral("dosbox"); // a bare name is looked for on PATH
    QString ConfigFile;                         // passed with -conf when set
    TDosboxUse Use = duAuto;
};

inline constexpr const char *DosboxSection = "Dosbox";

// Reads "Program", "Config" and "Use" ("AUTO", "ALWAYS", "NEVER", letter case ignored); a path is
// taken relative to the start directory, and anything unreadable keeps its default.
DosboxSettings readDosboxSettings(const QString &settingsFile, const QString &startDirectory);

} // namespace Lanvo
