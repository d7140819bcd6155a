#pragma once

#include "AsciiSetIndex.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>

#include <deque>
#include <vector>
#include <limits>

namespace Lanvo {

// What Lanvo knows of one ROM set's play: how often and how long it ran, when it started last, and
// whether the user marked it.
struct PlayRecord
{
    static constexpr qint64 NeverPlayed = std::numeric_limits<qint64>::min();
    static constexpr qint64 SecondsPerDay = 24 * 60 * 60;

    qint64 Times = 0;
    // The local wall-clock time of the last run's start, in seconds from 1970-01-01 00:00:00, as the
    // file writes it (no time zone is involved, so reading 50,000 of them costs no zone look-ups).
    qint64 LastPlayed = NeverPlayed;
    qint64 Seconds = 0;
    bool Favourite = false;

    bool everPlayed() const { return Times > 0; }
    bool hasLastPlayed() const { return LastPlayed != NeverPlayed; }
    QDateTime lastPlayedTime() const; // invalid when never played
    // Its date and time of day apart, which cost no time zone look-up.
    QDate lastPlayedDate() const;
    QTime lastPlayedTimeOfDay() const;
};

qint64 wallClockSeconds(const QDateTime &localTime);

// The play history file: one line per ROM set, "romset;times;last;seconds;favourite" with "last" as
// "YYYY-MM-DD hh:mm:ss" (empty when never played) and "favourite" 0 or 1, each line ending in CR LF.
// Lines it can't read, and lines of ROM sets the catalogue no longer lists, are written back as they
// were read; so are the lines of sets that did not change.
class PlayHistory
{
public:
    static constexpr const char *FileName = "PLAYED.CSV";
    // No real history comes near it; a runaway file is refused rather than read into memory.
    static constexpr qint64 MaxFileSize = qint64(64) * 1024 * 1024;

    enum class LoadStatus { Read, Missing, Unreadable };

    PlayHistory() = default;
    PlayHistory(const PlayHistory &) = delete;
    PlayHistory &operator=(const PlayHistory &) = delete;

    // Replaces the history with the file's. A missing file is an empty history; any other failure
    // (no regular file, too large, a read error) leaves the history empty and refuses writes, so that
    // a file Lanvo can't read is never replaced.
    LoadStatus load(const QString &path);
    void clear();

    // The record of RomSet (exact letter case), or null when the set has none.
    const PlayRecord *find(const QString &romSet) const;
    // Counts one run that started at Start (local time) and lasted Seconds.
    const PlayRecord &recordPlay(const QString &romSet, const QDateTime &start, qint64 seconds);
    const PlayRecord &setFavourite(const QString &romSet, bool favourite);

    // Whether a change is not in the file yet (a write failed, or nothing was written since).
    bool hasUnsavedChanges() const { return m_unsaved; }
    // False when the file could not be read at the last load: writing would lose what it holds.
    bool writable() const { return m_writable; }

    // The file's bytes for the history as it is now.
    QByteArray toBytes() const;
    // Writes the whole file at once or nothing (the old file stays whole); false when it failed or
    // the history is not writable.
    bool save(const QString &path);

    int lineCount() const { return static_cast<int>(m_readLines.size() + m_newLines.size()); }

private:
    // Where a line's bytes lie: lines read lie in the file's bytes, the ROM sets of lines added since in
    // m_addedSets. Offsets rather than byte arrays keep a line small, and 50,000 of them quick to read.
    struct Line
    {
        quint32 Begin = 0; // the whole line as read; what is written while it is unchanged
        quint32 Length = 0;
        quint32 SetBegin = 0; // the ROM set field as read or, for a new line, as shown
        quint32 SetLength = 0;
        PlayRecord Record;
        bool Changed = false;
    };
    struct PendingIndex
    {
        size_t Hash;
        quint32 Number;
    };

    void addLine(QByteArrayView bytes, std::vector<PendingIndex> &toIndex);
    void indexReadLine(QByteArrayView romSet, quint32 number, std::vector<PendingIndex> &toIndex);
    void indexAsciiSets(const std::vector<PendingIndex> &toIndex);
    Line &lineFor(const QString &romSet);
    const Line *indexed(const QString &romSet) const;
    Line *indexed(const QString &romSet);
    // Read lines first, then new ones: the numbers the index keeps.
    Line &lineAt(quint32 number);
    const Line &lineAt(quint32 number) const;
    QByteArrayView romSetOf(quint32 number) const;
    quint32 numberOfNewLine() const { return quint32(m_readLines.size() + m_newLines.size() - 1); }

    QByteArray m_content;   // the file as read
    QByteArray m_addedSets; // the ROM sets of the lines added since, one after the other
    // Records keep their address once loaded: the file's lines are held in one block, the lines of sets
    // first played or marked since in a deque after them. The indexes hold their numbers.
    std::vector<Line> m_readLines;
    std::deque<Line> m_newLines;
    // Sets with ASCII names, nearly all of them, by their bytes: no text is made for each line read.
    // The others by their text, as the catalogue shows it.
    AsciiSetIndex m_asciiSets;
    QHash<QString, quint32> m_byOtherSet;
    bool m_unsaved = false;
    bool m_writable = true;
};

} // namespace Lanvo
