#pragma once

#include <QByteArray>
#include <QList>

namespace Lanvo {

// The 148 built-in games-file lines, without line ends, in their added order (= sorted order).
const QList<QByteArray> &DefaultGameLines();

// Word-sort comparison of two lines (the program's one text order, WordSort.h, on their display
// text): negative, 0 or positive. Apostrophes and hyphens carry no weight at first; letters compare
// without case and accents; space sorts before other punctuation, punctuation before digits, digits
// before letters.
int WordSortCompare(const QByteArray &a, const QByteArray &b);

// Appends the 148 lines to List one at a time, then sorts the whole list with WordSortCompare
// (stable sort). Does not clear the list first, does not remove duplicates.
void FillDefaultGames(QList<QByteArray> &List);

} // namespace Lanvo
