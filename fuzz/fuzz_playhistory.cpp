// The play history file: the bytes become PLAYED.CSV and are loaded. Every line goes back byte for
// byte (its ending made CR LF), one counted run changes or adds exactly one line, and a save read
// again gives the same history. Anything that must hold for every input is checked with abort().
#include "FuzzCheck.h"
#include "FuzzFiles.h"
#include "PlayHistory.h"
#include "TextDecoding.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <cstdint>
#include <limits>

namespace {

using namespace Lanvo;

const QString &historyPath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        FUZZ_CHECK(dir.isValid());
        return dir.filePath(QString::fromLatin1(PlayHistory::FileName));
    }();
    return path;
}

// Lines as a plain reading gives them: CR LF, LF or a lone CR ends one; no empty last line.
QList<QByteArray> linesOf(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    QByteArray line;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        lines << line;
        line.clear();
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
    }
    if (!line.isEmpty())
        lines << line;
    return lines;
}

QByteArray joined(const QList<QByteArray> &lines)
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// The set a run is counted for: the input's first field, so that known and new sets both come up. A
// ROM set comes from a line of the games file, so it holds no line break and no ";".
QString playedSet(const QByteArray &bytes)
{
    qsizetype end = 0;
    while (end < bytes.size() && end < 16 && bytes[end] != ';' && bytes[end] != '\r' && bytes[end] != '\n')
        ++end;
    const QString set = displayText(QByteArrayView(bytes).first(end)).trimmed();
    return set.isEmpty() ? QStringLiteral("new") : set;
}

void checkOneLineChanges(const QList<QByteArray> &before, const QList<QByteArray> &after)
{
    FUZZ_CHECK(after.size() == before.size() || after.size() == before.size() + 1);
    qsizetype differing = after.size() - before.size();
    for (qsizetype i = 0; i < before.size(); ++i)
        differing += before.at(i) != after.at(i);
    FUZZ_CHECK(differing == 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    writeBytes(historyPath(), bytes);
    PlayHistory history;
    FUZZ_CHECK(history.load(historyPath()) == PlayHistory::LoadStatus::Read);
    const QList<QByteArray> lines = linesOf(bytes);
    FUZZ_CHECK(history.lineCount() == lines.size());
    FUZZ_CHECK(history.toBytes() == joined(lines));

    const QString set = playedSet(bytes);
    const qint64 timesBefore = history.find(set) ? history.find(set)->Times : 0;
    const PlayRecord &record = history.recordPlay(set, QDateTime(QDate(2026, 5, 1), QTime(9, 0)), 60);
    FUZZ_CHECK(history.find(set) == &record);
    const qint64 most = std::numeric_limits<qint64>::max();
    FUZZ_CHECK(record.Times == (timesBefore == most ? most : timesBefore + 1));
    const QByteArray written = history.toBytes();
    checkOneLineChanges(lines, linesOf(written));

    FUZZ_CHECK(history.save(historyPath()));
    PlayHistory again;
    FUZZ_CHECK(again.load(historyPath()) == PlayHistory::LoadStatus::Read);
    FUZZ_CHECK(again.toBytes() == written);
    FUZZ_CHECK(again.find(set) && again.find(set)->Times == record.Times);
    return 0;
}
