#include "GamesFile.h"

#include "GameLines.h"

namespace Lanvo {

namespace {

bool isBlankOrControl(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

QByteArray cutField(const QByteArray &field)
{
    return cutGameField(field).toByteArray();
}

} // namespace

QByteArray NormalizeSpaces(const QByteArray &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && isBlankOrControl(text.at(first)))
        ++first;
    while (last > first && isBlankOrControl(text.at(last - 1)))
        --last;

    QByteArray result;
    result.reserve(last - first);
    char previous = 0;
    for (qsizetype i = first; i < last; ++i) {
        const char c = text.at(i);
        if (!(c == ' ' && previous == ' '))
            result.append(c);
        previous = c;
    }
    return result;
}

QByteArray SplitField(QByteArray &line)
{
    const qsizetype separator = line.indexOf(';');
    if (separator < 0) {
        QByteArray field = line;
        line.clear();
        return field;
    }
    QByteArray field = line.left(separator);
    line = NormalizeSpaces(line.mid(separator + 1));
    return field;
}

QList<QByteArray> splitGamesFileLines(const QByteArray &content)
{
    const qsizetype nul = content.indexOf('\0');
    const qsizetype end = nul < 0 ? content.size() : nul;

    QList<QByteArray> lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < end) {
        const char c = content.at(i);
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lines.append(content.mid(start, i - start));
        i += (c == '\r' && i + 1 < end && content.at(i + 1) == '\n') ? 2 : 1;
        start = i;
    }
    if (start < end)
        lines.append(content.mid(start, end - start));
    return lines;
}

GameFields parseGameLine(QByteArray line)
{
    GameFields fields;
    fields.name = cutField(NormalizeSpaces(SplitField(line)));
    fields.year = cutField(NormalizeSpaces(SplitField(line)));
    fields.manufacturer = cutField(NormalizeSpaces(SplitField(line)));
    fields.gameType = cutField(NormalizeSpaces(SplitField(line)));
    fields.romSet = cutField(NormalizeSpaces(SplitField(line)));
    return fields;
}

QByteArray joinGamesFileLines(const QList<QByteArray> &lines)
{
    QByteArray content;
    for (const QByteArray &line : lines) {
        content += line;
        content += "\r\n";
    }
    return content;
}

} // namespace Lanvo
