#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>
#include <utility>

namespace Lanvo {

// The games file read without a copy per line or per field: the same lines and fields as
// splitGamesFileLines and parseGameLine give, as views into the file's bytes.

// Calls OnLine(QByteArrayView) for each line: CR LF, LF or CR end a line, a last line without an
// ending counts, and a NUL byte ends the text. An OnLine that returns a bool stops the walk with false.
// The line ends are looked for with memchr, a byte at a time being three times slower; the next CR and
// the next LF are each looked for once, so a text without one of them is not searched again per line.
template<typename OnLine>
void forEachGamesFileLine(QByteArrayView content, OnLine &&onLine)
{
    const auto take = [&onLine](const char *from, const char *to) {
        if constexpr (std::is_same_v<std::invoke_result_t<OnLine &, QByteArrayView>, bool>)
            return onLine(QByteArrayView(from, to - from));
        else
            return onLine(QByteArrayView(from, to - from)), true;
    };
    if (content.isEmpty())
        return;
    const char *const begin = content.data();
    const void *const nul = std::memchr(begin, '\0', size_t(content.size()));
    const char *const end = nul ? static_cast<const char *>(nul) : begin + content.size();
    const auto next = [end](const char *from, char c) {
        const void *at = std::memchr(from, c, size_t(end - from));
        return at ? static_cast<const char *>(at) : end;
    };
    const char *lf = next(begin, '\n');
    const char *cr = next(begin, '\r');
    for (const char *start = begin; start < end;) {
        const char *const stop = std::min(lf, cr);
        if (!take(start, stop) || stop == end)
            return;
        start = stop == cr && cr + 1 == lf && lf != end ? lf + 1 : stop + 1;
        if (lf < start)
            lf = next(start, '\n');
        if (cr < start)
            cr = next(start, '\r');
    }
}

// The text of a games file cut in two at the first line end at or after Offset, so that the lines of
// the two parts, one after the other, are the lines of the whole (two threads can read one part each).
// A NUL byte ends the text first, and a CR LF is never cut apart. The second part is empty when no
// line ends there.
std::pair<QByteArrayView, QByteArrayView> cutGamesFileText(QByteArrayView content, qsizetype offset);

// The five normalised fields of one line: name, year, manufacturer, type, ROM set. A view points into
// the line, or into Scratch when collapsing inner spaces had to change the text; both must outlive it.
struct GameLineFields
{
    static constexpr int Count = 5;
    using Scratch = std::array<QByteArray, Count>;

    std::array<QByteArrayView, Count> Fields;

    QByteArrayView name() const { return Fields[0]; }
    QByteArrayView year() const { return Fields[1]; }
    QByteArrayView manufacturer() const { return Fields[2]; }
    QByteArrayView gameType() const { return Fields[3]; }
    QByteArrayView romSet() const { return Fields[4]; }
};

// Each field cut to 4,096 bytes, as cutGameField does.
GameLineFields splitGameLine(QByteArrayView line, GameLineFields::Scratch &scratch);
// The ROM set field alone, as splitGameLine gives it; the other fields are only skipped.
QByteArrayView gameLineRomSet(QByteArrayView line, QByteArray &scratch);

// No real title comes near 4,096 bytes; a longer field would only cost memory and time in every list
// operation. The cut never splits a UTF-8 sequence, so the text still decodes as it did, and what it
// leaves at its end is trimmed as any field's end is. The file itself is never changed.
QByteArrayView cutGameField(QByteArrayView field);

} // namespace Lanvo
