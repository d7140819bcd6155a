#include "RomScan.h"

#include "AnyCaseFiles.h"
#include "AsciiSetIndex.h"
#include "DirectoryListing.h"
#include "FilesUtils.h"

#include <algorithm>
#include <array>

namespace Lanvo {

namespace {

void probeDirectory(TGame &game, const QString &romDir)
{
    if (directoryExists(joinPath(romDir, game.RomSet))) {
        game.Location = rlDirectory;
        game.FoundDir = romDir;
    }
}

void probeArchive(TGame &game, const QString &romDir)
{
    if (fileExists(joinPath(romDir, game.RomSet + QLatin1String(".zip")))) {
        game.Location = rlZip;
        game.FoundDir = romDir;
    }
}

enum Find : quint8 { SetDirectory = 1, SetArchive = 2 };

void found(TGame &game, TRomLocation location, const QString &romDir)
{
    game.Location = location;
    game.FoundDir = romDir;
}

} // namespace

// What one ROM directory holds for each ROM set name: a directory of that name, an archive of it. The
// names are found through an index of their hashes: a table keyed by the names themselves compared a
// name's text at every occupied slot it passed, and most ROM sets of a large catalogue are missing.
class RomScanner::Directory
{
public:
    explicit Directory(const QString &path)
        : m_path(path)
    {
        m_listing = listDirectory(path);
        m_index.reserve(qsizetype(m_listing.Entries.size()));
        for (quint32 entry = 0; entry < m_listing.Entries.size(); ++entry) {
            if (m_listing.Entries[entry].IsDirectory)
                add(entry, SetDirectory);
            else if (m_listing.Entries[entry].Name.endsWith(QLatin1String(".zip")))
                add(entry, SetArchive);
        }
    }

    const QString &path() const { return m_path; }
    void prefetch(size_t hash) const { m_index.prefetch(hash); }
    // Kept for other look-ups in the same directory, such as the emulator's files in a start folder
    // that is also the ROM directory.
    const DirectoryListing &listing() const { return m_listing; }

    // SetDirectory and SetArchive as they hold for RomSet here; Hash is AsciiSetIndex::hashOf(RomSet).
    quint8 findsOf(const QString &romSet, size_t hash) const
    {
        if (m_listing.Complete) {
            const quint32 set = m_index.find(hash, [&](quint32 number) { return nameOf(number) == romSet; });
            return set == AsciiSetIndex::None ? 0 : m_sets[set].Finds;
        }
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
    // A ROM set named by an entry: "x" for a directory, "x.zip" for an archive; a set with both keeps
    // the entry met first.
    struct Set
    {
        quint32 Entry;
        quint8 Finds;
    };

    static QStringView setNameOf(const DirectoryEntry &entry)
    {
        return entry.IsDirectory ? QStringView(entry.Name) : QStringView(entry.Name).chopped(4);
    }

    QStringView nameOf(quint32 set) const { return setNameOf(m_listing.Entries[m_sets[set].Entry]); }

    void add(quint32 entry, Find find)
    {
        const QStringView name = setNameOf(m_listing.Entries[entry]);
        const size_t hash = AsciiSetIndex::hashOf(name);
        quint32 set = m_index.find(hash, [&](quint32 number) { return nameOf(number) == name; });
        if (set == AsciiSetIndex::None) {
            set = quint32(m_sets.size());
            m_sets.push_back({entry, 0});
            m_index.insert(hash, set);
        }
        m_sets[set].Finds |= find;
    }

    QString m_path;
    DirectoryListing m_listing;
    std::vector<Set> m_sets;
    AsciiSetIndex m_index;
};

void ScanRomSet(TGame &game, const QString &romDir1, const QString &romDir2)
{
    game.Location = rlMissing;
    game.FoundDir.clear();
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
    scan(game, AsciiSetIndex::hashOf(game.RomSet));
}

// Each set's slots are asked for a few games ahead: the index of a large ROM directory is larger than a
// core's cache, and waiting for each slot in turn was most of the scan.
void RomScanner::scan(TGame *games, size_t count) const
{
    constexpr size_t Ahead = 8;
    std::array<size_t, Ahead> hashes{};
    const auto askAhead = [&](size_t game) {
        const size_t hash = AsciiSetIndex::hashOf(games[game].RomSet);
        m_first->prefetch(hash);
        if (m_second)
            m_second->prefetch(hash);
        hashes[game % Ahead] = hash;
    };
    for (size_t game = 0; game < std::min(Ahead, count); ++game)
        askAhead(game);
    for (size_t game = 0; game < count; ++game) {
        const size_t hash = hashes[game % Ahead];
        if (game + Ahead < count)
            askAhead(game + Ahead);
        scan(games[game], hash);
    }
}

void RomScanner::scan(TGame &game, size_t hash) const
{
    game.Location = rlMissing;
    game.FoundDir.clear();
    if (isPlainFileName(game.RomSet)) {
        const Directory &second = m_second ? *m_second : *m_first;
        const quint8 inFirst = m_first->findsOf(game.RomSet, hash);
        const quint8 inSecond = m_second ? m_second->findsOf(game.RomSet, hash) : inFirst;
        // The order of ScanRomSet: the second directory's find replaces the first's.
        if (inSecond & SetDirectory)
            found(game, rlDirectory, second.path());
        else if (inFirst & SetDirectory)
            found(game, rlDirectory, m_first->path());
        else if (inSecond & SetArchive)
            found(game, rlZip, second.path());
        else if (inFirst & SetArchive)
            found(game, rlZip, m_first->path());
    }
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
