#include "PlayHistory.h"

#include "FilesUtils.h"
#include "HistoryLine.h"
#include "RegularFile.h"
#include "TextDecoding.h"
#include "TextLines.h"

#include <QDir>
#include <QFileInfo>

#include <utility>

#include <algorithm>
#include <limits>
#include <optional>

namespace Lanvo {

namespace {

const qint64 EpochDay = QDate(1970, 1, 1).toJulianDay();

QByteArray wallClockText(qint64 seconds)
{
    // Date and time apart: a local time that a clock change skips is still written as it was read.
    const PlayRecord record{0, seconds, 0, false};
    return (record.lastPlayedDate().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ')
            + record.lastPlayedTimeOfDay().toString(QStringLiteral("HH:mm:ss")))
        .toLatin1();
}

bool isAsciiText(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

bool sameAsciiName(QByteArrayView bytes, QStringView text)
{
    return text == QLatin1String(bytes.constData(), bytes.size());
}

qint64 saturatedAdd(qint64 a, qint64 b)
{
    qint64 sum = 0;
    return qAddOverflow(a, b, &sum) ? std::numeric_limits<qint64>::max() : sum;
}

qint64 dayOf(qint64 wallClock)
{
    constexpr qint64 Day = PlayRecord::SecondsPerDay;
    return wallClock >= 0 ? wallClock / Day : -((-wallClock - 1) / Day) - 1;
}

} // namespace

QDate PlayRecord::lastPlayedDate() const
{
    return hasLastPlayed() ? QDate::fromJulianDay(EpochDay + dayOf(LastPlayed)) : QDate();
}

QTime PlayRecord::lastPlayedTimeOfDay() const
{
    if (!hasLastPlayed())
        return {};
    const qint64 second = LastPlayed - dayOf(LastPlayed) * PlayRecord::SecondsPerDay;
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(second * 1000));
}

QDateTime PlayRecord::lastPlayedTime() const
{
    if (!hasLastPlayed())
        return {};
    return QDateTime(lastPlayedDate(), lastPlayedTimeOfDay());
}

qint64 wallClockSeconds(const QDateTime &localTime)
{
    const QDate date = localTime.date();
    return (date.toJulianDay() - EpochDay) * PlayRecord::SecondsPerDay + localTime.time().msecsSinceStartOfDay() / 1000;
}

void PlayHistory::clear()
{
    m_asciiSets.clear();
    m_byOtherSet.clear();
    m_readLines = {};
    m_newLines.clear();
    m_content.clear();
    m_addedSets.clear();
    m_unsaved = false;
    m_writable = true;
}

PlayHistory::LoadStatus PlayHistory::load(const QString &path)
{
    clear();
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return LoadStatus::Missing;
    const RegularFileRead read = readRegularFile(path, MaxFileSize);
    if (!read.ok()) {
        m_writable = false;
        return LoadStatus::Unreadable;
    }
    m_content = read.Bytes;
    const QByteArrayView content(m_content);
    // Room for the lines Lanvo writes (about 40 bytes), without a first pass to count them.
    const size_t likelyLines = size_t(content.size() / 32 + 1);
    m_readLines.reserve(likelyLines);
    std::vector<PendingIndex> toIndex;
    toIndex.reserve(likelyLines);
    forEachTextLine(content, [this, &toIndex](QByteArrayView line) { addLine(line, toIndex); });
    indexAsciiSets(toIndex);
    return LoadStatus::Read;
}

void PlayHistory::addLine(QByteArrayView bytes, std::vector<PendingIndex> &toIndex)
{
    Line &line = m_readLines.emplace_back();
    const auto offsetOf = [this](QByteArrayView part) { return quint32(part.data() - m_content.constData()); };
    line.Begin = offsetOf(bytes);
    line.Length = quint32(bytes.size());
    const std::optional<HistoryLine> read = readHistoryLine(bytes);
    if (!read)
        return;
    const QByteArrayView romSet = read->RomSet;
    line.SetBegin = offsetOf(romSet);
    line.SetLength = quint32(romSet.size());
    line.Record = read->Record;
    indexReadLine(romSet, quint32(m_readLines.size() - 1), toIndex);
}

// A second line of one set is kept as it is, like any line Lanvo can't use: only the first is indexed.
void PlayHistory::indexReadLine(QByteArrayView romSet, quint32 number, std::vector<PendingIndex> &toIndex)
{
    if (!isAscii(romSet)) {
        const QString text = displayText(romSet);
        if (!m_byOtherSet.contains(text))
            m_byOtherSet.insert(text, number);
        return;
    }
    toIndex.push_back({AsciiSetIndex::hashOf(romSet), number});
}

// After all lines are read, in their order, each slot asked for a few sets ahead: the slots lie
// scattered over a table larger than a core's cache, and waiting for each in turn was a fifth of the load.
void PlayHistory::indexAsciiSets(const std::vector<PendingIndex> &toIndex)
{
    constexpr size_t Ahead = 8;
    m_asciiSets.reserve(qsizetype(toIndex.size())); // sized for the sets there are, not for a guess
    for (size_t i = 0; i < toIndex.size(); ++i) {
        if (i + Ahead < toIndex.size())
            m_asciiSets.prefetch(toIndex[i + Ahead].Hash);
        const auto [hash, number] = toIndex[i];
        const QByteArrayView romSet = romSetOf(number);
        const auto sameBytes = [this, romSet](quint32 added) { return romSetOf(added) == romSet; };
        if (m_asciiSets.find(hash, sameBytes) == AsciiSetIndex::None)
            m_asciiSets.insert(hash, number);
    }
}

QByteArrayView PlayHistory::romSetOf(quint32 number) const
{
    const Line &line = lineAt(number);
    const QByteArray &bytes = number < m_readLines.size() ? m_content : m_addedSets;
    return QByteArrayView(bytes).sliced(line.SetBegin, line.SetLength);
}

PlayHistory::Line &PlayHistory::lineAt(quint32 number)
{
    return number < m_readLines.size() ? m_readLines[number] : m_newLines[number - m_readLines.size()];
}

const PlayHistory::Line &PlayHistory::lineAt(quint32 number) const
{
    return number < m_readLines.size() ? m_readLines[number] : m_newLines[number - m_readLines.size()];
}

const PlayHistory::Line *PlayHistory::indexed(const QString &romSet) const
{
    quint32 number = AsciiSetIndex::None;
    if (isAsciiText(romSet)) {
        const auto sameName = [this, &romSet](quint32 added) {
            return sameAsciiName(romSetOf(added), romSet);
        };
        number = m_asciiSets.find(AsciiSetIndex::hashOf(romSet), sameName);
    } else {
        number = m_byOtherSet.value(romSet, AsciiSetIndex::None);
    }
    return number == AsciiSetIndex::None ? nullptr : &lineAt(number);
}

PlayHistory::Line *PlayHistory::indexed(const QString &romSet)
{
    return const_cast<Line *>(std::as_const(*this).indexed(romSet));
}

const PlayRecord *PlayHistory::find(const QString &romSet) const
{
    const Line *line = indexed(romSet);
    return line ? &line->Record : nullptr;
}

PlayHistory::Line &PlayHistory::lineFor(const QString &romSet)
{
    Line *found = indexed(romSet);
    if (!found) {
        const QByteArray romSetBytes = romSet.toUtf8();
        found = &m_newLines.emplace_back();
        found->SetBegin = quint32(m_addedSets.size());
        found->SetLength = quint32(romSetBytes.size());
        m_addedSets += romSetBytes;
        if (isAscii(romSetBytes))
            m_asciiSets.insert(AsciiSetIndex::hashOf(romSet), numberOfNewLine());
        else
            m_byOtherSet.insert(romSet, numberOfNewLine());
    }
    found->Changed = true;
    m_unsaved = true;
    return *found;
}

const PlayRecord &PlayHistory::recordPlay(const QString &romSet, const QDateTime &start, qint64 seconds)
{
    PlayRecord &record = lineFor(romSet).Record;
    record.Times = saturatedAdd(record.Times, 1);
    record.LastPlayed = wallClockSeconds(start);
    record.Seconds = saturatedAdd(record.Seconds, std::max<qint64>(0, seconds));
    return record;
}

const PlayRecord &PlayHistory::setFavourite(const QString &romSet, bool favourite)
{
    PlayRecord &record = lineFor(romSet).Record;
    record.Favourite = favourite;
    return record;
}

QByteArray PlayHistory::toBytes() const
{
    QByteArray bytes;
    const auto writeFrom = [&bytes](const QByteArray &source) {
        return [&bytes, &source](const Line &line) {
            if (line.Changed) {
                const PlayRecord &record = line.Record;
                bytes += QByteArrayView(source).sliced(line.SetBegin, line.SetLength);
                bytes += ';' + QByteArray::number(record.Times) + ';'
                         + (record.hasLastPlayed() ? wallClockText(record.LastPlayed) : QByteArray()) + ';'
                         + QByteArray::number(record.Seconds) + ';' + (record.Favourite ? '1' : '0');
            } else {
                bytes += QByteArrayView(source).sliced(line.Begin, line.Length);
            }
            bytes += "\r\n";
        };
    };
    std::for_each(m_readLines.cbegin(), m_readLines.cend(), writeFrom(m_content));
    std::for_each(m_newLines.cbegin(), m_newLines.cend(), writeFrom(m_addedSets));
    return bytes;
}

bool PlayHistory::save(const QString &path)
{
    if (!m_writable)
        return false;
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        return false;
    if (!saveAtomically(path, toBytes()))
        return false;
    m_unsaved = false;
    return true;
}

} // namespace Lanvo
