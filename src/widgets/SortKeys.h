#pragma once

#include "EnhListTypes.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <QString>

#include <optional>

namespace Lanvo {

// The locale services a sort needs, read once per sort: text collation and the short date and time
// formats with their separators.
struct SortLocale
{
    explicit SortLocale(const QLocale &locale = QLocale::system());

    QLocale Locale;
    QCollator Collator;
    QString DateSeparator; // empty when the short date format has none
    QString TimeSeparator;
    // The C locale collates by code units; its sort keys would not agree with its comparison.
    bool PlainCollation = false;
};

// A text that reads wholly as a decimal number with "." as the separator, or nothing. Texts that
// follow the grammar but overflow or underflow a double do not convert, so they are no numbers.
std::optional<double> parseSortNumber(QStringView text);

// A text holding the locale's date or time separator that converts with the locale's short formats:
// its value in milliseconds from 30 December 1899, so a time alone counts as that day's time.
std::optional<qint64> parseSortDate(const QString &text, const SortLocale &locale);

// Everything one text contributes to a comparison, computed once per text.
struct TextKey
{
    std::optional<qint64> Date;
    std::optional<double> Number;
    QString Plain; // used with plain collation
    std::optional<QCollatorSortKey> Collated;
};

TextKey makeTextKey(const QString &text, TAutoSortStyle style, const SortLocale &locale);

// -1, 0 or 1: as dates when both are dates, else as numbers when both are numbers, else as text
// (assSmart); as text only (assDefault).
int compareTextKeys(const TextKey &a, const TextKey &b, TAutoSortStyle style);

// The pairwise rule on two texts, for callers without precomputed keys.
int compareSortTexts(const QString &a, const QString &b, TAutoSortStyle style, const SortLocale &locale);

} // namespace Lanvo
