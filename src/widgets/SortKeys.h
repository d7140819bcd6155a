#pragma once

#include "EnhListTypes.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

namespace Lanvo {

// The locale services a sort needs, read once per sort: the separators of the short date and time
// formats, and the formats a date or time may be written in. Texts compare in the program's one
// order (WordSort.h), whatever the locale.
struct SortLocale
{
    explicit SortLocale(const QLocale &locale = QLocale()); // the application's, the system's unless set

    QLocale Locale;
    QString DateSeparator; // empty when the short date format has none
    QString TimeSeparator;
    // What the regional settings accept: the short date with a two- or four-digit year, the short
    // time with or without seconds, in 12- or 24-hour form.
    QStringList DateFormats;
    QStringList TimeFormats;
    // For each format, how many separate runs of digits a text needs to convert with it; -1 where
    // that can't be told. Most names have fewer, and are spared the parser.
    QList<int> DateDigitRuns;
    QList<int> TimeDigitRuns;
};

// A text that reads wholly as a decimal number with "." as the separator, or nothing. Texts that
// follow the grammar but overflow or underflow a double do not convert, so they are no numbers.
std::optional<double> parseSortNumber(QStringView text);

// A text holding the locale's date or time separator that converts with one of the locale's formats:
// its value in milliseconds from 30 December 1899, so a time alone counts as that day's time.
std::optional<qint64> parseSortDate(const QString &text, const SortLocale &locale);

// Everything one text contributes to a comparison, computed once per text.
struct TextKey
{
    std::optional<qint64> Date;
    std::optional<double> Number;
    QString Text;
    QByteArray Order; // wordSortKey of Text
};

TextKey makeTextKey(const QString &text, TAutoSortStyle style, const SortLocale &locale);

// -1, 0 or 1: as dates when both are dates, else as numbers when both are numbers, else as text
// (assSmart); as text only (assDefault).
int compareTextKeys(const TextKey &a, const TextKey &b, TAutoSortStyle style);

// The pairwise rule on two texts, for callers without precomputed keys.
int compareSortTexts(const QString &a, const QString &b, TAutoSortStyle style, const SortLocale &locale);

} // namespace Lanvo
