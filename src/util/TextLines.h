#pragma once

#include <QByteArrayView>

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace Lanvo {

// A blank within a line of the files Lanvo reads: a space or a tab.
inline bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Text without the blanks at its start and end.
inline QByteArrayView trimBlanks(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// Calls OnLine(QByteArrayView) for each line of Text: CR LF, LF or CR end a line, a last line without
// an ending counts, and every other byte, NUL included, belongs to its line. An OnLine that returns a
// bool stops the walk with false.
// The line ends are looked for with memchr, a byte at a time being three times slower; the next CR and
// the next LF are each looked for once, so a text without one of them is not searched again per line.
template<typename OnLine>
void forEachTextLine(QByteArrayView text, OnLine &&onLine)
{
    const auto take = [&onLine](const char *from, const char *to) {
        if constexpr (std::is_same_v<std::invoke_result_t<OnLine &, QByteArrayView>, bool>)
            return onLine(QByteArrayView(from, to - from));
        else
            return onLine(QByteArrayView(from, to - from)), true;
    };
    if (text.isEmpty())
        return;
    const char *const begin = text.data();
    const char *const end = begin + text.size();
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

} // namespace Lanvo
