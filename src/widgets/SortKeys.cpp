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

bool holdsDigit(QStringView text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar ch) { return ch.isDigit(); });
}

int digitRunsOf(QStringView text)
{
    int runs = 0;
    bool inRun = false;
    for (const QChar ch : text) {
        const bool digit = ch.isDigit();
        runs += digit && !inRun;
        inRun = digit;
    }
    return runs;
}

// Whether a month or day name or a day-half text of the locale has a digit: such a field could join
// the digits on either side of it into one run. Formats name months and days in their long or short
// form only (the narrow ones are digits in some locales).
bool namesHoldDigits(const QLocale &locale)
{
    for (const QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
        for (int month = 1; month <= 12; ++month) {
            if (holdsDigit(locale.monthName(month, type)) || holdsDigit(locale.standaloneMonthName(month, type)))
                return true;
        }
        for (int day = 1; day <= 7; ++day) {
            if (holdsDigit(locale.dayName(day, type)) || holdsDigit(locale.standaloneDayName(day, type)))
                return true;
        }
    }
    return holdsDigit(locale.amText()) || holdsDigit(locale.pmText());
}

// Each numeric field reads at least one digit, and a literal or a name between two of them parts
// their digits, so a text with fewer runs of digits than the format's groups of adjacent numeric
// fields can't convert. -1 for formats with letters of other fields or quoted digits.
int digitRunsNeeded(const QString &format, bool namesMayHoldDigits)
{
    int runs = 0;
    bool inRun = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format.at(i);
        qsizetype length = 1;
        while (i + length < format.size() && format.at(i + length) == c)
            ++length;
        bool numeric = false;
        switch (c.unicode()) {
        case u'd':
        case u'M':
            numeric = length <= 2; // three or more letters: a day or month name
            break;
        case u'y':
        case u'h':
        case u'H':
        case u'm':
        case u's':
        case u'z':
            numeric = true;
            break;
        case u'A':
        case u'a':
        case u'P':
        case u'p':
            break;
        default:
            if (c.isLetter() || c.isDigit() || c == u'\'')
                return -1;
        }
        if (!numeric && c.isLetter() && namesMayHoldDigits)
            return -1;
        runs += numeric && !inRun;
        inRun = numeric;
        i += length;
    }
    return runs;
}

QList<int> digitRunsNeeded(const QStringList &formats, const QLocale &locale)
{
    const bool namesMayHoldDigits = namesHoldDigits(locale);
    QList<int> runs;
    for (const QString &format : formats)
        runs << digitRunsNeeded(format, namesMayHoldDigits);
    return runs;
}

bool mayConvert(int textRuns, int neededRuns)
{
    return neededRuns < 0 || textRuns >= neededRuns;
}

template<typename Value, typename Convert>
Value firstValid(const QStringList &formats, const QList<int> &neededRuns, int textRuns, Convert convert)
{
    for (qsizetype i = 0; i < formats.size(); ++i) {
        if (!mayConvert(textRuns, neededRuns.at(i)))
            continue;
        const Value value = convert(formats.at(i));
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
    , DateDigitRuns(digitRunsNeeded(DateFormats, locale))
    , TimeDigitRuns(digitRunsNeeded(TimeFormats, locale))
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
    const int textRuns = digitRunsOf(text);
    if (textRuns == 0)
        return std::nullopt;
    const QLocale &regional = locale.Locale;
    if (hasDate && hasTime) {
        QDateTime value;
        for (qsizetype d = 0; d < locale.DateFormats.size() && !value.isValid(); ++d) {
            const int dateRuns = locale.DateDigitRuns.at(d);
            if (!mayConvert(textRuns, dateRuns))
                continue;
            // The time's runs come after the date's, parted by the blank between them.
            const int timeRuns = dateRuns < 0 ? textRuns : textRuns - dateRuns;
            const QString &date = locale.DateFormats.at(d);
            value = firstValid<QDateTime>(locale.TimeFormats, locale.TimeDigitRuns, timeRuns, [&](const QString &time) {
                return regional.toDateTime(text, date + QLatin1Char(' ') + time);
            });
        }
        if (!value.isValid())
            return std::nullopt;
        return daysFromDayZero(value.date()) * MsecsPerDay + value.time().msecsSinceStartOfDay();
    }
    if (hasDate) {
        const QDate value = firstValid<QDate>(locale.DateFormats, locale.DateDigitRuns, textRuns,
                                              [&](const QString &format) { return regional.toDate(text, format); });
        if (!value.isValid())
            return std::nullopt;
        return daysFromDayZero(value) * MsecsPerDay;
    }
    const QTime value = firstValid<QTime>(locale.TimeFormats, locale.TimeDigitRuns, textRuns,
                                          [&](const QString &format) { return regional.toTime(text, format); });
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
