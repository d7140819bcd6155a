#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <optional>

class QSettings;

namespace Lanvo {

// The sort a list view finds stored: the direction and the column.
struct TStoredSort
{
    bool Ascending = true;
    int SortColumn = 0;
};

// Optional persistence of a list view's column widths and sort, in the user's native settings store
// under RegistryKey. The list view owns one and uses it only while AutoSave is on.
class TEnhLVSaveSettings
{
public:
    bool AutoSave = false;
    QString RegistryKey;
    bool SaveColumnSizes = true;
    bool SaveCurrentSort = true;

    // The stored widths in column order; an entry that is no number is -1. Nothing when none are stored.
    std::optional<QList<int>> readColumnSizes() const;
    // The stored sort; absent values read as ascending and column 0.
    TStoredSort readSort() const;
    // Writes what SaveColumnSizes and SaveCurrentSort ask for.
    void write(const QList<int> &columnSizes, const TStoredSort &sort) const;

private:
    // Nothing when RegistryKey names no key.
    std::unique_ptr<QSettings> openStore() const;
};

} // namespace Lanvo
