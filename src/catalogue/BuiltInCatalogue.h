#pragma once

#include <QByteArray>
#include <QList>

namespace Lanvo {

// The 148 built-in games-file lines, without line ends, in their added order (= sorted order).
const QList<QByteArray> &DefaultGameLines();

// Word-sort comparison of two lines: negative, 0 or positive.
// Apostrophes and hyphens are ignored at first; letters compare without case; space sorts before
// other punctuation, punctuation before digits, digits before letters, bytes >= 0x80 last. Ties are
// broken with apostrophes and hyphens weighed as punctuation, then byte by byte, so the order is total.
int WordSortCompare(const QByteArray &a, const QByteArray &b);

// Appends the 148 lines to List one at a time, then sorts the whole list with WordSortCompare
// (stable sort). Does not clear the list first, does not remove duplicates.
void FillDefaultGames(QList<QByteArray> &List);

} // namespace Lanvo
