#pragma once

#include <QList>
#include <QString>

namespace Lanvo {

// Which columns of the games list are shown, kept in a section of the settings file of its own so the
// "Lanvo" section keeps its keys. The name column is always shown and has no key; the others are
// "Year", "Type", "Manufacturer", "Played" and "LastPlayed", each "ON" or "OFF".
inline constexpr const char *ColumnsSection = "Columns";

// One flag per column, the name's first: the file's choice, or the four columns of old where the file
// has none (a value other than ON or OFF, letter case aside, keeps its column's default).
QList<bool> readShownColumns(const QString &settingsFile);

// Writes every key but the name's; throws LanvoError naming the file when a key can't be written.
void writeShownColumns(const QString &settingsFile, const QList<bool> &shown);

} // namespace Lanvo
