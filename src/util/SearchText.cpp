#include "SearchText.h"

#include <algorithm>

namespace Lanvo {

namespace {

bool isMark(QChar c)
{
    const QChar::Category category = c.category();
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
        || category == QChar::Mark_Enclosing;
}

bool isAsciiWithoutAccents(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

} // namespace

QString foldForSearch(QString text)
{
    if (isAsciiWithoutAccents(text))
        return std::move(text).toLower(); // in place: a key costs no second string
    // Decomposed, an accented letter is its base letter followed by marks, which are dropped.
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (!isMark(c))
            folded.append(c);
    }
    return folded.toCaseFolded();
}

QStringList searchWords(const QString &query)
{
    // simplified() turns every kind of blank into one space.
    return foldForSearch(query).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool containsAllWords(QStringView foldedKey, const QStringList &words)
{
    for (const QString &word : words) {
        if (!foldedKey.contains(word))
            return false;
    }
    return true;
}

bool narrows(const QStringList &words, const QStringList &previous)
{
    for (const QString &old : previous) {
        const bool covered =
            std::any_of(words.begin(), words.end(), [&old](const QString &word) { return word.contains(old); });
        if (!covered)
            return false;
    }
    return true;
}

} // namespace Lanvo
