#include "SortKeys.h"

#include "WordSort.h"

#include <QDateTime>

#include <algorithm>
#include <charconv>
#include <string>

namespace Lanvo {

namespace {

constexpr qint64 MsecsPerDay = 24 * 60 * 60 * 1000;

// The first character of a format that is neither a field letter nor quoted text: "M/d/yy" gives "/".
QString firstSeparator(const QString &format)
{
    bool quoted = false;
    for (const QChar ch : format) {
        if (ch == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && !ch.isLetter())
            return QString(ch);
    }
    return {};
}

int sign(qint64 value)
{
    return (value > 0) - (value < 0);
}

bool isAsciiDigit(QChar ch)
{
    return ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
}

// Reads the digits at Pos into Out and says how many there were.
qsizetype takeDigits(QStringView text, qsizetype &pos, std::string &out)
{
    const qsizetype start = pos;
    while (pos < text.size() && isAsciiDigit(text[pos]))
        out += static_cast<char>(text[pos++].unicode());
    return pos - start;
}

void takeSign(QStringView text, qsizetype &pos, std::string &out)
{
    if (pos < text.size() && (text[pos] == QLatin1Char('+') || text[pos] == QLatin1Char('-'))) {
        if (text[pos] == QLatin1Char('-'))
            out += '-';
        ++pos;
    }
}

// The short date format with a two-digit and with a four-digit year, in that order.
QStringList dateFormats(const QLocale &locale)
{
    const QString shortFormat = locale.dateFormat(QLocale::ShortFormat);
    QString longYear = shortFormat;
    if (!shortFormat.contains(QLatin1String("yyyy")))
        longYear.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    QString shortYear = shortFormat;
    shortYear.replace(QLatin1String("yyyy"), QLatin1String("yy"));
    QStringList formats{shortFormat, shortYear, longYear};
    formats.removeDuplicates();
    return formats;
}

// The blanks a format may hold around its day half.
bool isFormatBlank(QChar c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

// Format without its day-half fields (AP, ap, A or a) and the blanks on either side of each.
QString withoutDayHalf(const QString &format)
{
    QString kept;
    kept.reserve(format.size());
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        if (c != u'A' && c != u'a') {
            kept += c;
            ++i;
            continue;
        }
        const QChar secondLetter = c == u'A' ? u'P' : u'p';
        i += i + 1 < format.size() && format.at(i + 1) == secondLetter ? 2 : 1;
        while (!kept.isEmpty() && isFormatBlank(kept.back()))
            kept.chop(1);
        while (i < format.size() && isFormatBlank(format.at(i)))
            ++i;
    }
    return kept;
}

// The short time format, with seconds, and both again in 24-hour form without the day half.
QStringList timeFormats(const QLocale &locale)
{
    const QString shortFormat = locale.timeFormat(QLocale::ShortFormat);
    QString withSeconds = shortFormat;
    if (!shortFormat.contains(QLatin1String("ss")))
        withSeconds.replace(QLatin1String("mm"), QLatin1String("mm") + firstSeparator(shortFormat) + QLatin1String("ss"));
    QStringList formats{shortFormat, withSeconds};
    for (const QString &format : {shortFormat, withSeconds}) {
        QString dayLong = withoutDayHalf(format);
        dayLong.replace(QLatin1Char('h'), QLatin1Char('H'));
        formats << dayLong.trimmed();
    }
    formats.removeDuplicates();
    return formats;
}

template<typename Value, typename Convert>
Value firstValid(const QStringList &formats, Convert convert)
{
    for (const QString &format : formats) {
        const Value value = convert(format);
        if (value.isValid())
            return value;
    }
    return Value();
}

qint64 daysFromDayZero(const QDate &date)
{
    static const qint64 dayZero = QDate(1899, 12, 30).toJulianDay();
    return date.toJulianDay() - dayZero;
}

} // namespace

SortLocale::SortLocale(const QLocale &locale)
    : Locale(locale)
    , DateSeparator(firstSeparator(locale.dateFormat(QLocale::ShortFormat)))
    , TimeSeparator(firstSeparator(locale.timeFormat(QLocale::ShortFormat)))
    , DateFormats(dateFormats(locale))
    , TimeFormats(timeFormats(locale))
{
}

std::optional<double> parseSortNumber(QStringView text)
{
    qsizetype pos = 0;
    while (pos < text.size() && text[pos] == QLatin1Char(' '))
        ++pos;
    // Rebuilt in a form from_chars reads whatever the digits before or after the point.
    std::string normal;
    takeSign(text, pos, normal);
    const qsizetype whole = takeDigits(text, pos, normal);
    normal += '.';
    bool point = false;
    if (pos < text.size() && text[pos] == QLatin1Char('.')) {
        point = true;
        ++pos;
    }
    const qsizetype fraction = takeDigits(text, pos, normal);
    if (whole + fraction == 0 && !point)
        return std::nullopt;
    normal += '0';
    if (pos < text.size() && (text[pos] == QLatin1Char('e') || text[pos] == QLatin1Char('E'))) {
        ++pos;
        normal += 'e';
        takeSign(text, pos, normal);
        if (takeDigits(text, pos, normal) == 0)
            return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;
    // A leading "-" before "." would make "-.0": from_chars needs a digit before the point.
    if (whole == 0)
        normal.insert(normal.find('.'), 1, '0');
    double value = 0;
    const auto [end, error] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (error != std::errc() || end != normal.data() + normal.size())
        return std::nullopt;
    return value;
}

std::optional<qint64> parseSortDate(const QString &text, const SortLocale &locale)
{
    const bool hasDate = !locale.DateSeparator.isEmpty() && text.contains(locale.DateSeparator);
    const bool hasTime = !locale.TimeSeparator.isEmpty() && text.contains(locale.TimeSeparator);
    if (!hasDate && !hasTime)
        return std::nullopt;
    // Every short date or time has a numeric field; this spares the parser most names.
    if (std::none_of(text.cbegin(), text.cend(), [](QChar ch) { return ch.isDigit(); }))
        return std::nullopt;
    const QLocale &regional = locale.Locale;
    if (hasDate && hasTime) {
        QDateTime value;
        for (const QString &date : locale.DateFormats) {
            value = firstValid<QDateTime>(locale.TimeFormats, [&](const QString &time) {
                return regional.toDateTime(text, date + QLatin1Char(' ') + time);
            });
            if (value.isValid())
                break;
        }
        if (!value.isValid())
            return std::nullopt;
        return daysFromDayZero(value.date()) * MsecsPerDay + value.time().msecsSinceStartOfDay();
    }
    if (hasDate) {
        const QDate value =
            firstValid<QDate>(locale.DateFormats, [&](const QString &format) { return regional.toDate(text, format); });
        if (!value.isValid())
            return std::nullopt;
        return daysFromDayZero(value) * MsecsPerDay;
    }
    const QTime value =
        firstValid<QTime>(locale.TimeFormats, [&](const QString &format) { return regional.toTime(text, format); });
    if (!value.isValid())
        return std::nullopt;
    return value.msecsSinceStartOfDay();
}

TextKey makeTextKey(const QString &text, TAutoSortStyle style, const SortLocale &locale)
{
    TextKey key;
    if (style == assSmart) {
        key.Date = parseSortDate(text, locale);
        key.Number = parseSortNumber(text);
    }
    key.Text = text;
    key.Order = wordSortKey(text);
    return key;
}

int compareTextKeys(const TextKey &a, const TextKey &b, TAutoSortStyle style)
{
    if (style == assSmart) {
        if (a.Date && b.Date)
            return sign(*a.Date - *b.Date);
        if (a.Number && b.Number)
            return (*a.Number > *b.Number) - (*a.Number < *b.Number);
    }
    return compareWordSortKeys(a.Order, a.Text, b.Order, b.Text);
}

int compareSortTexts(const QString &a, const QString &b, TAutoSortStyle style, const SortLocale &locale)
{
    return compareTextKeys(makeTextKey(a, style, locale), makeTextKey(b, style, locale), style);
}

} // namespace Lanvo
