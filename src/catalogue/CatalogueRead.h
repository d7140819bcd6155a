#pragma once

#include "Emulators.h"

#include <QString>

#include <deque>
#include <exception>
#include <future>
#include <memory>
#include <optional>
#include <vector>

namespace Lanvo {

class CatalogueNames;
class RomScanner;

// The games of a games file, each found in the ROM directories or missing: what a refresh reads. The
// games point at Details, whose records keep their addresses when the read is moved. When Names is
// set, the games have their ROM sets and finds but their names and details are still to be made.
struct CatalogueRead
{
    CatalogueRead();
    CatalogueRead(CatalogueRead &&) noexcept;
    CatalogueRead &operator=(CatalogueRead &&) noexcept;
    ~CatalogueRead();

    std::vector<TGame> Games;
    std::vector<std::deque<TGameDetails>> Details;
    std::unique_ptr<CatalogueNames> Names;
};

// The names and details of games read without them: those of the first games at once, the others on
// a thread of their own, so that a list can show its first rows before the rest are named. The games
// must keep their addresses until it is finished or destroyed; destroying it waits for its thread.
class CatalogueNames
{
public:
    // Games are the records of the lines of First and then Second, which point into Content. Scanner,
    // which found them, is let go on the naming thread: freeing its many names takes a millisecond.
    CatalogueNames(QByteArray content, QByteArrayView first, QByteArrayView second, TGame *games, size_t count,
                   std::unique_ptr<const RomScanner> scanner);
    CatalogueNames(const CatalogueNames &) = delete;
    CatalogueNames &operator=(const CatalogueNames &) = delete;
    ~CatalogueNames();

    bool isNamed(size_t index) const { return m_finished || index < m_namedFirst; }
    // Names the games before Count at once; nothing once nameRest or finish was called.
    void nameFirst(size_t count);
    // Names the other games on a thread of their own.
    void nameRest();
    // Waits until every game is named (the rest from now, if nameRest was not called), then hands over
    // the details they point at.
    std::vector<std::deque<TGameDetails>> finish();

private:
    void nameGames(size_t from, size_t to, std::deque<TGameDetails> &details) const;

    QByteArray m_content;
    QByteArrayView m_first, m_second;
    TGame *m_games;
    size_t m_count;
    std::unique_ptr<const RomScanner> m_scanner; // only touched by the naming thread once made
    size_t m_namedFirst = 0;
    bool m_finished = false;
    std::deque<TGameDetails> m_firstDetails;
    std::deque<TGameDetails> m_restDetails;
    std::future<void> m_rest;
};

// Where a catalogue is read from.
struct CatalogueSource
{
    QString GamesFile;
    QString RomDir1;
    QString RomDir2;

    bool operator==(const CatalogueSource &) const = default;
};

// What a read needs from the disk: the games file, cut for two threads when large, a record for each
// of its lines, and the listings of the ROM directories.
struct CatalogueFiles
{
    CatalogueFiles();
    CatalogueFiles(CatalogueFiles &&) noexcept;
    CatalogueFiles &operator=(CatalogueFiles &&) noexcept;
    ~CatalogueFiles();

    QByteArray Content;
    QByteArrayView First, Second; // into Content; the second empty when one thread reads it all
    std::vector<TGame> Games;
    size_t FirstCount = 0;
    std::unique_ptr<const RomScanner> Scanner;
};

// Reads Source's games file and scans its ROM directories; throws when the file can't be read. A large
// file is read by two threads, one half each, and each half has its own details.
CatalogueRead readCatalogue(const CatalogueSource &source);

// A catalogue whose files are read on a thread of its own from the moment it is made, so that the
// start-up can build the window meanwhile. Destroying it waits for the read: nothing outlives what it reads into.
class CatalogueReadAhead
{
public:
    explicit CatalogueReadAhead(const CatalogueSource &source);
    CatalogueReadAhead(const CatalogueReadAhead &) = delete;
    CatalogueReadAhead &operator=(const CatalogueReadAhead &) = delete;
    ~CatalogueReadAhead();

    const CatalogueSource &source() const { return m_source; }
    // Waits for the read and hands it over with the games' names still to be made (see
    // CatalogueNames); rethrows what it threw. Once only.
    CatalogueRead take();
    // Waits for the read, then answers existingAnyCase(Dir, Name) from the listing of a ROM directory;
    // nothing when Dir is none of them, its listing is not complete, or the read failed.
    std::optional<QString> existingAnyCase(const QString &dir, const QString &name);

private:
    CatalogueFiles &files();

    CatalogueSource m_source;
    std::future<CatalogueFiles> m_reading;
    std::optional<CatalogueFiles> m_files; // once read
    std::exception_ptr m_failure;          // once the read failed
};

} // namespace Lanvo
