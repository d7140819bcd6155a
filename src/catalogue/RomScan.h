#pragma once

#include "Emulators.h"

#include <QHash>

#include <memory>
#include <optional>

namespace Lanvo {

// Looks for the game's ROM set in the two ROM directories and sets Location and FoundDir.
// A directory in either ROM directory wins over an archive; between two finds of one kind the second
// ROM directory wins. Asks the file system once per candidate path.
void ScanRomSet(TGame &game, const QString &romDir1, const QString &romDir2);

// The same answers as ScanRomSet, from one listing of each ROM directory read at construction, so a
// catalogue of many games costs one directory read instead of up to four look-ups per game. A directory
// whose listing can't answer exactly (see DirectoryListing) is asked name by name instead. Build one per
// refresh: nothing on disk is remembered longer.
class RomScanner
{
public:
    RomScanner(const QString &romDir1, const QString &romDir2);
    ~RomScanner();
    RomScanner(const RomScanner &) = delete;
    RomScanner &operator=(const RomScanner &) = delete;

    void scan(TGame &game) const;
    // Scans Count games from Games on, each as scan does.
    void scan(TGame *games, size_t count) const;

    // existingAnyCase(Dir, Name) answered from the listing of Dir when Dir is a ROM directory whose
    // listing is complete; nothing otherwise.
    std::optional<QString> existingAnyCase(const QString &dir, const QString &name) const;

private:
    class Directory;

    void scan(TGame &game, size_t hash) const;

    std::unique_ptr<Directory> m_first;
    std::unique_ptr<Directory> m_second; // null when both names are one directory
};

} // namespace Lanvo
