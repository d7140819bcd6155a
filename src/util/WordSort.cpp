#include "WordSort.h"

#include <QChar>
#include <QVarLengthArray>

#include <algorithm>

namespace Lanvo {

namespace {

// First-level weights: a class in the high bits, a value within the class below. Every weight is
// above 0x200000, so its first key byte is never 0, the byte that ends the level.
enum WeightClass : char32_t { Space = 1, Symbol = 2, Digit = 3, Letter = 4 };

constexpr char32_t primary(WeightClass weightClass, char32_t value)
{
    return (char32_t(weightClass) << 21) | value;
}

// Second level: 0 ends the level, Plain is a letter or sign without accent, marks weigh more.
constexpr quint16 Plain = 1;

// Third level, lowest first. A variant is a letter written as one that reads as two (ß, æ).
enum CaseWeight : quint8 { Lower = 1, LowerVariant = 2, Upper = 3, UpperVariant = 4 };

struct Levels
{
    QVarLengthArray<char32_t, 64> First;
    QVarLengthArray<quint16, 64> Second;
    QVarLengthArray<quint8, 64> Third;

    void add(char32_t weight, quint16 accent, quint8 letterCase)
    {
        First.append(weight);
        Second.append(accent);
        Third.append(letterCase);
    }
};

constexpr bool isIgnorable(char32_t c)
{
    return c == u'\'' || c == u'-' || c == 0x00AD || c == 0x2010 || c == 0x2011 || c == 0x2019;
}

bool isMark(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
        || category == QChar::Mark_Enclosing;
}

quint16 markWeight(char32_t mark)
{
    return quint16(std::min<char32_t>(mark, 0xFFFF)); // marks start at U+0300, well above Plain
}

void addAscii(Levels &levels, char32_t c)
{
    if (c >= u'a' && c <= u'z')
        levels.add(primary(Letter, c), Plain, Lower);
    else if (c >= u'A' && c <= u'Z')
        levels.add(primary(Letter, c - u'A' + u'a'), Plain, Upper);
    else if (c >= u'0' && c <= u'9')
        levels.add(primary(Digit, c - u'0'), Plain, Lower);
    else if (c == u' ' || (c >= u'\t' && c <= u'\r'))
        levels.add(primary(Space, c), Plain, Lower);
    else if (!isIgnorable(c))
        levels.add(primary(Symbol, c), Plain, Lower);
}

// Latin letters that have no decomposition but read as a base letter with a stroke, or as two letters.
struct Reading
{
    char32_t Letter;
    const char *Base;
    quint16 Accent;
    bool Upper;
};

constexpr Reading Readings[] = {
    {0x00C6, "ae", Plain, true},  {0x00D8, "o", 0x0338, true},  {0x00DF, "ss", Plain, false},
    {0x00E6, "ae", Plain, false}, {0x00F8, "o", 0x0338, false}, {0x0110, "d", 0x0335, true},
    {0x0111, "d", 0x0335, false}, {0x0126, "h", 0x0335, true},  {0x0127, "h", 0x0335, false},
    {0x0141, "l", 0x0335, true},  {0x0142, "l", 0x0335, false}, {0x0152, "oe", Plain, true},
    {0x0153, "oe", Plain, false},
};

bool addReading(Levels &levels, char32_t c)
{
    const auto *found = std::find_if(std::begin(Readings), std::end(Readings),
                                     [c](const Reading &reading) { return reading.Letter == c; });
    if (found == std::end(Readings))
        return false;
    const bool variant = found->Base[1] != '\0';
    const quint8 letterCase = found->Upper ? (variant ? UpperVariant : Upper) : (variant ? LowerVariant : Lower);
    for (const char *base = found->Base; *base; ++base)
        levels.add(primary(Letter, char32_t(*base)), found->Accent, letterCase);
    return true;
}

void addCodePoint(Levels &levels, char32_t c, int depth);

// An accented or compatibility letter counts as what it decomposes into: "é" as "e" and an accent.
bool addDecomposition(Levels &levels, char32_t c, int depth)
{
    if (depth > 4)
        return false;
    const QString parts = QChar::decomposition(c);
    if (parts.isEmpty())
        return false;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        char32_t part = parts.at(i).unicode();
        if (QChar::isHighSurrogate(part) && i + 1 < parts.size() && parts.at(i + 1).isLowSurrogate())
            part = QChar::surrogateToUcs4(char16_t(part), parts.at(++i).unicode());
        addCodePoint(levels, part, depth + 1);
    }
    return true;
}

void addCodePoint(Levels &levels, char32_t c, int depth)
{
    if (c < 0x80) {
        addAscii(levels, c);
        return;
    }
    if (isIgnorable(c))
        return;
    if (isMark(c)) {
        levels.Second.append(markWeight(c));
        return;
    }
    if (addReading(levels, c) || addDecomposition(levels, c, depth))
        return;
    if (QChar::isSpace(c))
        levels.add(primary(Space, c), Plain, Lower);
    else if (QChar::category(c) == QChar::Number_DecimalDigit)
        levels.add(primary(Digit, char32_t(QChar::digitValue(c))), Plain, Lower);
    else if (QChar::isLetter(c))
        levels.add(primary(Letter, QChar::toCaseFolded(c)), Plain,
                   QChar::isUpper(c) || QChar::isTitleCase(c) ? Upper : Lower);
    else
        levels.add(primary(Symbol, c), Plain, Lower);
}

template<typename Weights, typename Weight>
qsizetype lengthWithout(const Weights &weights, Weight trailing)
{
    qsizetype length = weights.size();
    while (length > 0 && weights[length - 1] == trailing)
        --length;
    return length;
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

} // namespace

QByteArray wordSortKey(QStringView text)
{
    Levels levels;
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (c < 0x80) {
            addAscii(levels, c);
            continue;
        }
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text[++i].unicode());
        addCodePoint(levels, c, 0);
    }
    // Trailing plain accents and lower case weigh least, so leaving them out keeps the order.
    const qsizetype accents = lengthWithout(levels.Second, Plain);
    const qsizetype cases = lengthWithout(levels.Third, quint8(Lower));
    QByteArray key(levels.First.size() * 3 + 1 + accents * 2 + 2 + cases, Qt::Uninitialized);
    char *out = key.data();
    for (const char32_t weight : levels.First) {
        *out++ = char(weight >> 16);
        *out++ = char(weight >> 8);
        *out++ = char(weight);
    }
    *out++ = 0;
    for (qsizetype i = 0; i < accents; ++i) {
        *out++ = char(levels.Second[i] >> 8);
        *out++ = char(levels.Second[i]);
    }
    *out++ = 0;
    *out++ = 0;
    for (qsizetype i = 0; i < cases; ++i)
        *out++ = char(levels.Third[i]);
    return key;
}

int compareWordSortKeys(const QByteArray &keyA, QStringView a, const QByteArray &keyB, QStringView b)
{
    if (const int byKey = keyA.compare(keyB))
        return sign(byKey);
    return sign(a.compare(b, Qt::CaseSensitive));
}

int compareWordSort(QStringView a, QStringView b)
{
    return compareWordSortKeys(wordSortKey(a), a, wordSortKey(b), b);
}

} // namespace Lanvo
