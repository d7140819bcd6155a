#pragma once

#include <QString>
#include <QStringList>

namespace Lanvo {

// Text as the quick search compares it: accents removed and letter case folded, so "Ecole" finds
// "École" and "ECOLE".
QString foldForSearch(QString text);

// The folded words of a query; blanks only separate them.
QStringList searchWords(const QString &query);

// True when every word occurs somewhere in the folded key.
bool containsAllWords(QStringView foldedKey, const QStringList &words);

// True when everything Words finds is also found by Previous: each earlier word lies inside a new one.
// Typing on narrows the list, so only the rows shown so far need testing again.
bool narrows(const QStringList &words, const QStringList &previous);

} // namespace Lanvo
