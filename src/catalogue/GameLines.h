#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <type_traits>
#include <utility>

namespace Lanvo {

// The games file read without a copy per line or per field: the same lines and fields as
// splitGamesFileLines and parseGameLine give, as views into the file's bytes.

// Calls OnLine(QByteArrayView) for each line: CR LF, LF or CR end a line, a last line without an
// ending counts, and a NUL byte ends the text. An OnLine that returns a bool stops the walk with false.
template<typename OnLine>
void forEachGamesFileLine(QByteArrayView content, OnLine &&onLine)
{
    const auto take = [&onLine](QByteArrayView line) {
        if constexpr (std::is_same_v<std::invoke_result_t<OnLine &, QByteArrayView>, bool>)
            return onLine(line);
        else
            return onLine(line), true;
    };
    const qsizetype nul = content.indexOf('\0');
    const qsizetype end = nul < 0 ? content.size() : nul;
    const char *const data = content.data();
    qsizetype start = 0;
    for (qsizetype i = 0; i < end; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n')
            continue;
        if (!take(QByteArrayView(data + start, i - start)))
            return;
        if (c == '\r' && i + 1 < end && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < end)
        take(QByteArrayView(data + start, end - start));
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

// No real title comes near 4,096 bytes; a longer field would only cost memory and time in every list
// operation. The cut never splits a UTF-8 sequence, so the text still decodes as it did, and what it
// leaves at its end is trimmed as any field's end is. The file itself is never changed.
QByteArrayView cutGameField(QByteArrayView field);

} // namespace Lanvo
