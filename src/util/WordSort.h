#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace Lanvo {

// The program's one order of texts, the same whatever the process locale (C included):
//  1. base letters without case or accents; apostrophes and hyphens carry no weight here; a space
//     sorts before other punctuation, punctuation before digits, digits before letters;
//  2. then accents;
//  3. then case, lower case first;
//  4. then code unit by code unit, so that only equal texts compare equal.
// A text sorts before any longer text it begins.

// Levels 1 to 3 as bytes: comparing two keys byte by byte (QByteArray::compare) gives the order of
// their texts up to step 4. Made once per text, it spares a sort from folding texts per comparison.
QByteArray wordSortKey(QStringView text);

// Compares two keys and, when they are equal, their texts: negative, 0 or positive.
int compareWordSortKeys(const QByteArray &keyA, QStringView a, const QByteArray &keyB, QStringView b);

// The whole order on two texts: negative, 0 or positive.
int compareWordSort(QStringView a, QStringView b);

} // namespace Lanvo
