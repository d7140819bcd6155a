#include "HistoryLine.h"

#include "TextLines.h"

#include <array>
#include <cstring>

namespace Lanvo {

namespace {

int digitsAt(QByteArrayView text, qsizetype at, qsizetype count)
{
    int value = 0;
    for (qsizetype i = at; i < at + count; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The days from 1970-01-01 to a date of the Gregorian calendar from year 1 on, or none for a date that
// does not exist. Counted rather than asked of QDate, whose calendar look-ups were a twentieth of a load.
std::optional<qint64> daysSinceEpoch(int year, int month, int day)
{
    static constexpr std::array<int, 12> MonthLengths = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1)
        return std::nullopt;
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    if (day > MonthLengths[size_t(month - 1)] + (month == 2 && leap ? 1 : 0))
        return std::nullopt;
    // Years counted from March on, so that a leap day ends its year: 400 years are 146,097 days.
    const int marchYear = month > 2 ? year : year - 1;
    const int era = marchYear / 400;
    const int yearOfEra = marchYear - era * 400;
    const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    constexpr qint64 EpochFromMarchZero = 719468; // the days from 0000-03-01 to 1970-01-01
    return qint64(era) * 146097 + dayOfEra - EpochFromMarchZero;
}

// "YYYY-MM-DD hh:mm:ss", read by position: no parser set-up per line.
std::optional<qint64> readWallClock(QByteArrayView field)
{
    if (field.size() != 19 || field[4] != '-' || field[7] != '-' || field[10] != ' ' || field[13] != ':'
        || field[16] != ':')
        return std::nullopt;
    const std::optional<qint64> day =
        daysSinceEpoch(digitsAt(field, 0, 4), digitsAt(field, 5, 2), digitsAt(field, 8, 2));
    const int hour = digitsAt(field, 11, 2);
    const int minute = digitsAt(field, 14, 2);
    const int second = digitsAt(field, 17, 2);
    if (!day || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    return *day * PlayRecord::SecondsPerDay + hour * 3600 + minute * 60 + second;
}

// Reads a line's fields from its start, each with the blanks around it and the separator after it, in
// one pass: looking for every separator first and reading the fields then went over the bytes twice,
// and the searches were a sixth of a load. Once a field can't be read, every later one reads as nothing.
class FieldReader
{
public:
    explicit FieldReader(QByteArrayView line)
        : m_at(line.begin())
        , m_end(line.end())
    {
    }

    bool ok() const { return !m_failed; }

    // Everything up to the next separator, without the blanks around it.
    QByteArrayView text()
    {
        const void *separator = m_failed ? nullptr : std::memchr(m_at, ';', size_t(m_end - m_at));
        if (!separator)
            return fail(QByteArrayView());
        const QByteArrayView field = trimBlanks(QByteArrayView(m_at, static_cast<const char *>(separator)));
        m_at = static_cast<const char *>(separator) + 1;
        return field;
    }

    // Decimal digits only, no sign, within qint64.
    qint64 count()
    {
        skipBlanks();
        const char *const first = m_at;
        qint64 value = 0;
        for (; m_at != m_end && *m_at >= '0' && *m_at <= '9'; ++m_at) {
            if (qMulOverflow(value, qint64(10), &value) || qAddOverflow(value, qint64(*m_at - '0'), &value))
                return fail(qint64(0));
        }
        return m_at == first ? fail(qint64(0)) : endOfField(value);
    }

    // A wall-clock time as readWallClock reads it, or, for an empty field, NeverPlayed.
    qint64 lastPlayed()
    {
        skipBlanks();
        if (!m_failed && m_at != m_end && *m_at == ';')
            return endOfField(PlayRecord::NeverPlayed);
        constexpr qsizetype Length = 19;
        if (m_end - m_at < Length)
            return fail(qint64(0));
        const std::optional<qint64> time = readWallClock(QByteArrayView(m_at, Length));
        m_at += Length;
        return time ? endOfField(*time) : fail(qint64(0));
    }

    // "0" or "1", the line's last field.
    bool lastFlag()
    {
        skipBlanks();
        if (m_failed || m_at == m_end || (*m_at != '0' && *m_at != '1'))
            return fail(false);
        const bool set = *m_at++ == '1';
        skipBlanks();
        return m_at == m_end ? set : fail(false);
    }

private:
    template<typename Value>
    Value fail(Value nothing)
    {
        m_failed = true;
        m_at = m_end;
        return nothing;
    }

    template<typename Value>
    Value endOfField(Value value)
    {
        skipBlanks();
        if (m_at == m_end || *m_at != ';')
            return fail(Value());
        ++m_at;
        return value;
    }

    void skipBlanks()
    {
        while (m_at != m_end && isBlank(*m_at))
            ++m_at;
    }

    const char *m_at;
    const char *const m_end;
    bool m_failed = false;
};

} // namespace

std::optional<HistoryLine> readHistoryLine(QByteArrayView line)
{
    FieldReader fields(line);
    const QByteArrayView romSet = fields.text();
    const qint64 times = fields.count();
    const qint64 lastPlayed = fields.lastPlayed();
    const qint64 seconds = fields.count();
    const bool favourite = fields.lastFlag();
    if (!fields.ok() || romSet.isEmpty())
        return std::nullopt;
    return HistoryLine{romSet, {times, lastPlayed, seconds, favourite}};
}

} // namespace Lanvo
