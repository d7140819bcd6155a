#include "ColumnSettings.h"

#include "ProfileFile.h"

#include <array>

namespace Lanvo {

namespace {

struct ColumnKey
{
    const char *Key;
    bool Shown; // at first start
};

constexpr std::array<ColumnKey, 5> Keys = {{
    {"Year", true},
    {"Type", true},
    {"Manufacturer", true},
    {"Played", false},
    {"LastPlayed", false},
}};

} // namespace

QList<bool> readShownColumns(const QString &settingsFile)
{
    const ProfileSnapshot file(settingsFile);
    QList<bool> shown{true};
    for (const ColumnKey &column : Keys) {
        const QByteArray value = file.readString(ColumnsSection, column.Key, QByteArray()).trimmed().toUpper();
        shown << (value == "ON" || (value != "OFF" && column.Shown));
    }
    return shown;
}

void writeShownColumns(const QString &settingsFile, const QList<bool> &shown)
{
    const ProfileFile file(settingsFile);
    for (size_t i = 0; i < Keys.size(); ++i) {
        const qsizetype column = qsizetype(i) + 1;
        const bool on = column < shown.size() ? shown.at(column) : Keys[i].Shown;
        file.writeString(ColumnsSection, Keys[i].Key, on ? "ON" : "OFF");
    }
}

} // namespace Lanvo
