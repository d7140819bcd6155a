#pragma once

#include "TextLines.h"

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

// Calls OnLine(QByteArrayView) for each line as forEachTextLine does, a NUL byte ending the text.
template<typename OnLine>
void forEachGamesFileLine(QByteArrayView content, OnLine &&onLine)
{
    if (content.isEmpty())
        return;
    const void *const nul = std::memchr(content.data(), '\0', size_t(content.size()));
    if (nul)
        content = content.first(static_cast<const char *>(nul) - content.data());
    forEachTextLine(content, std::forward<OnLine>(onLine));
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
