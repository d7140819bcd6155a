#include "GameLines.h"

#include <algorithm>
#include <cstring>

namespace Lanvo {

std::pair<QByteArrayView, QByteArrayView> cutGamesFileText(QByteArrayView content, qsizetype offset)
{
    const qsizetype nul = content.indexOf('\0');
    const QByteArrayView text = nul < 0 ? content : content.first(nul);
    for (qsizetype i = std::max<qsizetype>(offset, 0); i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n')
            continue;
        const qsizetype next = c == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? i + 2 : i + 1;
        return {text.first(next), text.sliced(next)};
    }
    return {text, {}};
}

namespace {

bool isBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

// The first Wanted in [From, To), or To; memchr is quicker than a loop over every byte.
const char *find(const char *from, const char *to, char wanted)
{
    const void *found = from < to ? std::memchr(from, wanted, size_t(to - from)) : nullptr;
    return found ? static_cast<const char *>(found) : to;
}

bool hasSpaceRun(QByteArrayView text)
{
    const char *const end = text.data() + text.size();
    for (const char *space = find(text.data(), end, ' '); space != end; space = find(space + 1, end, ' ')) {
        if (space + 1 != end && space[1] == ' ')
            return true;
    }
    return false;
}

// NormalizeSpaces as a view: trimming only narrows it; only a run of inner spaces needs a copy.
QByteArrayView normalized(QByteArrayView text, QByteArray &scratch)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlankOrControl(text[first]))
        ++first;
    while (last > first && isBlankOrControl(text[last - 1]))
        --last;
    const QByteArrayView trimmed = text.sliced(first, last - first);
    if (!hasSpaceRun(trimmed))
        return trimmed;
    scratch.resize(0); // keeps its capacity from line to line
    char previous = 0;
    for (const char c : trimmed) {
        if (!(c == ' ' && previous == ' '))
            scratch.append(c);
        previous = c;
    }
    return scratch;
}

} // namespace

QByteArrayView cutGameField(QByteArrayView field)
{
    constexpr qsizetype MaxFieldBytes = 4096;
    if (field.size() <= MaxFieldBytes)
        return field;
    qsizetype end = MaxFieldBytes;
    for (int back = 0; back < 3 && (static_cast<unsigned char>(field[end]) & 0xC0) == 0x80; ++back)
        --end;
    while (end > 0 && isBlankOrControl(field[end - 1]))
        --end;
    return field.first(end);
}

// Each field is the text between two ";" normalised on its own, which is what splitting the normalised
// rest of the line again and again gives: normalising never moves a ";" nor joins two fields.
GameLineFields splitGameLine(QByteArrayView line, GameLineFields::Scratch &scratch)
{
    GameLineFields result;
    const char *start = line.data();
    const char *const lineEnd = start + line.size();
    for (size_t field = 0; field < GameLineFields::Count; ++field) {
        const char *const end = find(start, lineEnd, ';');
        result.Fields[field] = cutGameField(normalized(QByteArrayView(start, end), scratch[field]));
        if (end == lineEnd)
            break;
        start = end + 1;
    }
    return result;
}

QByteArrayView gameLineRomSet(QByteArrayView line, QByteArray &scratch)
{
    const char *start = line.data();
    const char *const lineEnd = start + line.size();
    for (int field = 0; field < GameLineFields::Count - 1; ++field) {
        const char *const end = find(start, lineEnd, ';');
        if (end == lineEnd)
            return {};
        start = end + 1;
    }
    return cutGameField(normalized(QByteArrayView(start, find(start, lineEnd, ';')), scratch));
}

} // namespace Lanvo
