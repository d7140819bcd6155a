#include "CatalogueRead.h"

#include "FilesUtils.h"
#include "GameLines.h"
#include "LanvoError.h"
#include "OnAnotherThread.h"
#include "RomScan.h"
#include "TextDecoding.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <memory>
#include <tuple>
#include <utility>

namespace Lanvo {

namespace {

// Years, makers and types repeat from game to game: equal texts share one string.
class SharedTexts
{
public:
    QString text(QByteArrayView bytes)
    {
        const QByteArray key = QByteArray::fromRawData(bytes.data(), bytes.size());
        const auto found = m_texts.constFind(key);
        if (found != m_texts.cend())
            return *found;
        QString decoded = displayText(bytes);
        if (m_texts.size() < MaxShared)
            m_texts.insert(bytes.toByteArray(), decoded);
        return decoded;
    }

private:
    static constexpr qsizetype MaxShared = 4096; // a column of unique texts gains nothing by sharing
    QHash<QByteArray, QString> m_texts;
};

// The details of each year, maker and type met, made once; only kept while the file is read.
class DetailsPool
{
public:
    explicit DetailsPool(std::deque<TGameDetails> &details)
        : m_details(details)
    {
    }

    const TGameDetails *details(const GameLineFields &fields)
    {
        makeKey(fields);
        const auto found = m_index.constFind(m_key);
        if (found != m_index.cend())
            return *found;
        const TGameDetails *made = &m_details.emplace_back(TGameDetails{
            m_texts.text(fields.year()), m_texts.text(fields.manufacturer()), m_texts.text(fields.gameType())});
        m_index.insert(m_key, made);
        return made;
    }

private:
    // Year, maker and type joined by NULs, which no field holds. Written in place: appending part by
    // part took a seventh of all the reading of a line.
    void makeKey(const GameLineFields &fields)
    {
        const std::array<QByteArrayView, 3> parts = {fields.year(), fields.manufacturer(), fields.gameType()};
        m_key.resize(parts[0].size() + parts[1].size() + parts[2].size() + 2);
        char *out = std::copy(parts[0].begin(), parts[0].end(), m_key.data());
        *out++ = '\0';
        out = std::copy(parts[1].begin(), parts[1].end(), out);
        *out++ = '\0';
        std::copy(parts[2].begin(), parts[2].end(), out);
    }

    std::deque<TGameDetails> &m_details;
    SharedTexts m_texts;
    QHash<QByteArray, const TGameDetails *> m_index;
    QByteArray m_key;
};

// Below this a second thread costs more than it saves.
constexpr qsizetype MinBytesForTwoThreads = qsizetype(256) * 1024;

size_t countGamesFileLines(QByteArrayView text)
{
    size_t lines = 0;
    forEachGamesFileLine(text, [&lines](QByteArrayView) { ++lines; });
    return lines;
}

void nameGame(const GameLineFields &fields, TGame &game, DetailsPool &pool)
{
    game.Name = displayText(fields.name());
    game.Details = pool.details(fields);
}

// The games of Text's lines into the records from Games on, one per line; found once all are read.
void readGames(QByteArrayView text, TGame *games, std::deque<TGameDetails> &details, const RomScanner &scanner)
{
    DetailsPool pool(details);
    GameLineFields::Scratch scratch;
    TGame *game = games;
    forEachGamesFileLine(text, [&](QByteArrayView line) {
        const GameLineFields fields = splitGameLine(line, scratch);
        nameGame(fields, *game, pool);
        game++->RomSet = displayText(fields.romSet());
    });
    scanner.scan(games, size_t(game - games));
}

// The same without the names and details.
void locateGames(QByteArrayView text, TGame *games, const RomScanner &scanner)
{
    QByteArray scratch;
    TGame *game = games;
    forEachGamesFileLine(text,
                         [&](QByteArrayView line) { game++->RomSet = displayText(gameLineRomSet(line, scratch)); });
    scanner.scan(games, size_t(game - games));
}

} // namespace

CatalogueFiles::CatalogueFiles() = default;
CatalogueFiles::CatalogueFiles(CatalogueFiles &&) noexcept = default;
CatalogueFiles &CatalogueFiles::operator=(CatalogueFiles &&) noexcept = default;
CatalogueFiles::~CatalogueFiles() = default;

namespace {

// The ROM directories are listed on a thread of their own while the games file is read and counted.
CatalogueFiles readCatalogueFiles(const CatalogueSource &source)
{
    auto scanner = onAnotherThread(
        [source] { return std::make_unique<const RomScanner>(source.RomDir1, source.RomDir2); });
    CatalogueFiles files;
    files.Content = readWholeFile(source.GamesFile);
    std::tie(files.First, files.Second) = files.Content.size() < MinBytesForTwoThreads
                                              ? std::pair<QByteArrayView, QByteArrayView>{files.Content, {}}
                                              : cutGamesFileText(files.Content, files.Content.size() / 2);
    files.FirstCount = countGamesFileLines(files.First);
    files.Games.resize(files.FirstCount + countGamesFileLines(files.Second));
    files.Scanner = scanner.get();
    return files;
}

enum class Naming { Now, Later };

// The halves' games take their places in the catalogue as the file orders them.
CatalogueRead readCatalogue(CatalogueFiles files, Naming naming)
{
    CatalogueRead read;
    read.Games = std::move(files.Games);
    read.Details.resize(2); // the pools' references stay valid: nothing is added to Details after this
    const RomScanner &scanner = *files.Scanner;
    const auto readPart = [&](QByteArrayView part, size_t at, std::deque<TGameDetails> &details) {
        if (naming == Naming::Now)
            readGames(part, read.Games.data() + at, details, scanner);
        else
            locateGames(part, read.Games.data() + at, scanner);
    };
    std::future<void> other;
    if (!files.Second.isEmpty())
        other = onAnotherThread([&, part = files.Second] { readPart(part, files.FirstCount, read.Details[1]); });
    readPart(files.First, 0, read.Details[0]);
    if (other.valid())
        other.get(); // rethrows what the other thread threw
    if (naming == Naming::Later) {
        read.Details.clear();
        read.Names = std::make_unique<CatalogueNames>(std::move(files.Content), files.First, files.Second,
                                                      read.Games.data(), read.Games.size(), std::move(files.Scanner));
    }
    return read;
}

} // namespace

CatalogueRead readCatalogue(const CatalogueSource &source)
{
    return readCatalogue(readCatalogueFiles(source), Naming::Now);
}

CatalogueRead::CatalogueRead() = default;
CatalogueRead::CatalogueRead(CatalogueRead &&) noexcept = default;
CatalogueRead &CatalogueRead::operator=(CatalogueRead &&) noexcept = default;
CatalogueRead::~CatalogueRead() = default;

CatalogueNames::CatalogueNames(QByteArray content, QByteArrayView first, QByteArrayView second, TGame *games,
                               size_t count, std::unique_ptr<const RomScanner> scanner)
    : m_content(std::move(content)) // moved, its bytes stay where First and Second point
    , m_first(first)
    , m_second(second)
    , m_games(games)
    , m_count(count)
    , m_scanner(std::move(scanner))
{
}

// The future of a thread's task waits for it; one deferred for want of a thread is never run.
CatalogueNames::~CatalogueNames() = default;

void CatalogueNames::nameFirst(size_t count)
{
    if (m_rest.valid() || m_finished)
        return; // the thread naming the rest may be at any game
    const size_t to = std::min(count, m_count);
    nameGames(m_namedFirst, to, m_firstDetails);
    m_namedFirst = std::max(m_namedFirst, to);
}

void CatalogueNames::nameRest()
{
    if (!m_rest.valid())
        m_rest = onAnotherThread([this, from = m_namedFirst] {
            nameGames(from, m_count, m_restDetails);
            m_scanner.reset();
        });
}

std::vector<std::deque<TGameDetails>> CatalogueNames::finish()
{
    if (m_finished)
        return {};
    nameRest(); // where no thread could be had, run here
    m_rest.get();
    m_finished = true;
    std::vector<std::deque<TGameDetails>> details;
    details.push_back(std::move(m_firstDetails));
    details.push_back(std::move(m_restDetails));
    return details;
}

// The lines of both parts are counted again to find the games' own: a few hundred microseconds for
// many thousands, against a list of where each line begins held for every game.
void CatalogueNames::nameGames(size_t from, size_t to, std::deque<TGameDetails> &details) const
{
    if (from >= to)
        return;
    DetailsPool pool(details);
    GameLineFields::Scratch scratch;
    size_t index = 0;
    // The walk stops at To: the first rows' games are named without reading the rest of the file.
    const auto nameLine = [&](QByteArrayView line) {
        if (index >= from)
            nameGame(splitGameLine(line, scratch), m_games[index], pool);
        return ++index < to;
    };
    forEachGamesFileLine(m_first, nameLine);
    if (index < to)
        forEachGamesFileLine(m_second, nameLine);
}

// Only the disk is read ahead: the games' texts are made where the catalogue is taken, since memory a
// thread of its own allocates costs more to grow.
CatalogueReadAhead::CatalogueReadAhead(const CatalogueSource &source)
    : m_source(source)
    , m_reading(onAnotherThread([source] { return readCatalogueFiles(source); }))
{
}

// The future of a thread's task waits for it; a read deferred for want of a thread is never run.
CatalogueReadAhead::~CatalogueReadAhead() = default;

// A failed read fails every later question the same way.
CatalogueFiles &CatalogueReadAhead::files()
{
    if (m_failure)
        std::rethrow_exception(m_failure);
    if (!m_files) {
        try {
            m_files = m_reading.get();
        } catch (...) {
            m_failure = std::current_exception();
            throw;
        }
    }
    return *m_files;
}

CatalogueRead CatalogueReadAhead::take()
{
    return readCatalogue(std::move(files()), Naming::Later);
}

std::optional<QString> CatalogueReadAhead::existingAnyCase(const QString &dir, const QString &name)
{
    try {
        const RomScanner *scanner = files().Scanner.get();
        return scanner ? scanner->existingAnyCase(dir, name) : std::nullopt;
    } catch (const LanvoError &) {
        return std::nullopt; // the failure is the refresh's to report
    }
}

} // namespace Lanvo
