#pragma once

#include <QByteArray>
#include <QList>

namespace Lanvo {

// Removes every byte of value 32 or less from both ends, then collapses runs of spaces to one.
// Tabs and other control bytes inside the text are kept.
QByteArray NormalizeSpaces(const QByteArray &text);

// Returns the text before the first ";" (all of it when there is none) and leaves in Line the
// normalised rest after that ";" (empty when there is none).
QByteArray SplitField(QByteArray &line);

// Splits games-file bytes into lines: CR LF, LF or CR end a line, a last line without an ending counts,
// and a NUL byte ends the text.
QList<QByteArray> splitGamesFileLines(const QByteArray &content);

struct GameFields
{
    QByteArray name, year, manufacturer, gameType, romSet;
};

// The five fields of one line, each normalised and cut to 4,096 bytes; missing fields are empty, a
// sixth and later are dropped.
GameFields parseGameLine(QByteArray line);

// The games-file bytes of a list of lines: every line, the last one included, ends with CR LF.
QByteArray joinGamesFileLines(const QList<QByteArray> &lines);

} // namespace Lanvo
