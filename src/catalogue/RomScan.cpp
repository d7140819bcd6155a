#include "RomScan.h"

#include "AnyCaseFiles.h"
#include "DirectoryListing.h"
#include "FilesUtils.h"

namespace Lanvo {

namespace {

void probeDirectory(TGame &game, const QString &romDir)
{
    const QString candidate = joinPath(romDir, game.RomSet);
    if (directoryExists(candidate)) {
        game.Location = rlDirectory;
        game.FoundPath = candidate;
    }
}

void probeArchive(TGame &game, const QString &romDir)
{
    const QString candidate = joinPath(romDir, game.RomSet + QLatin1String(".zip"));
    if (fileExists(candidate)) {
        game.Location = rlZip;
        game.FoundPath = candidate;
    }
}

enum Find : quint8 { SetDirectory = 1, SetArchive = 2 };

void found(TGame &game, TRomLocation location, QString path)
{
    game.Location = location;
    game.FoundPath = std::move(path);
}

} // namespace

// What one ROM directory holds for each ROM set name: a directory of that name, an archive of it.
class RomScanner::Directory
{
public:
    explicit Directory(const QString &path)
        : m_path(path)
    {
        m_listing = listDirectory(path);
        m_finds.reserve(qsizetype(m_listing.Entries.size()));
        for (const DirectoryEntry &entry : m_listing.Entries) {
            if (entry.IsDirectory)
                m_finds[entry.Name] |= SetDirectory;
            else if (entry.Name.endsWith(QLatin1String(".zip")))
                m_finds[entry.Name.chopped(4)] |= SetArchive;
        }
    }

    const QString &path() const { return m_path; }
    // Kept for other look-ups in the same directory, such as the emulator's files in a start folder
    // that is also the ROM directory.
    const DirectoryListing &listing() const { return m_listing; }

    // SetDirectory and SetArchive as they hold for RomSet here.
    quint8 findsOf(const QString &romSet) const
    {
        if (m_listing.Complete)
            return m_finds.value(romSet);
        if (!m_listing.Searchable)
            return 0;
        quint8 finds = 0;
        if (directoryExists(joinPath(m_path, romSet)))
            finds |= SetDirectory;
        if (fileExists(joinPath(m_path, romSet + QLatin1String(".zip"))))
            finds |= SetArchive;
        return finds;
    }

private:
    QString m_path;
    DirectoryListing m_listing;
    QHash<QString, quint8> m_finds;
};

void ScanRomSet(TGame &game, const QString &romDir1, const QString &romDir2)
{
    game.Location = rlMissing;
    game.FoundPath.clear();
    // An empty name or one reaching outside the ROM directory would "find" the ROM directory itself
    // or another place: such a game is missing.
    if (isPlainFileName(game.RomSet)) {
        probeDirectory(game, romDir1);
        probeDirectory(game, romDir2);
        if (game.Location == rlMissing) {
            probeArchive(game, romDir1);
            probeArchive(game, romDir2);
        }
    }
    game.Available = game.Location != rlMissing;
}

RomScanner::RomScanner(const QString &romDir1, const QString &romDir2)
    : m_first(std::make_unique<Directory>(romDir1))
{
    if (romDir2 != romDir1)
        m_second = std::make_unique<Directory>(romDir2);
}

RomScanner::~RomScanner() = default;

void RomScanner::scan(TGame &game) const
{
    game.Location = rlMissing;
    game.FoundPath.clear();
    if (isPlainFileName(game.RomSet)) {
        const Directory &second = m_second ? *m_second : *m_first;
        const quint8 inFirst = m_first->findsOf(game.RomSet);
        const quint8 inSecond = m_second ? m_second->findsOf(game.RomSet) : inFirst;
        // The order of ScanRomSet: the second directory's find replaces the first's.
        if (inSecond & SetDirectory)
            found(game, rlDirectory, joinPath(second.path(), game.RomSet));
        else if (inFirst & SetDirectory)
            found(game, rlDirectory, joinPath(m_first->path(), game.RomSet));
        else if (inSecond & SetArchive)
            found(game, rlZip, joinPath(second.path(), game.RomSet + QLatin1String(".zip")));
        else if (inFirst & SetArchive)
            found(game, rlZip, joinPath(m_first->path(), game.RomSet + QLatin1String(".zip")));
    }
    game.Available = game.Location != rlMissing;
}

std::optional<QString> RomScanner::existingAnyCase(const QString &dir, const QString &name) const
{
    for (const Directory *listed : {m_first.get(), m_second.get()}) {
        if (listed && listed->path() == dir && listed->listing().Complete)
            return Lanvo::existingAnyCase(dir, listed->listing(), name);
    }
    return std::nullopt;
}

} // namespace Lanvo
