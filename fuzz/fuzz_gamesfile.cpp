// The games file as the program reads it: the bytes become lanvo/GAMES.CSV of a start directory and
// go through TEmulators::RefreshList, the way every list rebuild reads them; the pure parsing
// functions get the same bytes. Anything that must hold for every input is checked with abort().
#include "FuzzCheck.h"
#include "Emulators.h"
#include "GameLines.h"
#include "GamesFile.h"
#include "RomScan.h"
#include "TextDecoding.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <vector>

namespace {

using namespace Lanvo;

// The games list without a window: rows in a vector and a selection.
class FakeRows : public IListRows
{
public:
    struct Row
    {
        QString caption;
        TGame *game;
        int stateImage;
    };

    void beginRowsBatch() override { ++openBrackets; }
    void endRowsBatch() override { --openBrackets; }
    void clearRows() override
    {
        rows.clear();
        selected = -1;
    }
    void repaintRows() override {}
    void setGameTextOf(GameTextOf textOf) override { this->textOf = std::move(textOf); }
    void appendGameRow(TGame *game, int stateImage) override
    {
        rows.push_back({textOf ? textOf(*game, 0) : QString(), game, stateImage});
    }
    int rowCount() const override { return static_cast<int>(rows.size()); }
    QString rowCaption(int row) const override { return rows.at(static_cast<size_t>(row)).caption; }
    TGame *rowGame(int row) const override { return rows.at(static_cast<size_t>(row)).game; }
    int selectedRow() const override { return selected; }
    int findCaption(const QString &caption) const override
    {
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].caption.compare(caption, Qt::CaseInsensitive) == 0)
                return static_cast<int>(i);
        }
        return -1;
    }
    void selectRow(int row) override { selected = row; }
    void updateGameRow(const TGame *) override {}

    std::vector<Row> rows;
    GameTextOf textOf;
    int selected = -1;
    int openBrackets = 0;
};

// One start directory for the whole run: a ROM set folder and a zipped one, so that the scan finds
// some games, and the data folder that holds the games file.
const QString &startDirectory()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        FUZZ_CHECK(dir.isValid());
        const QDir root(dir.path());
        FUZZ_CHECK(root.mkpath(QStringLiteral("lanvo")) && root.mkpath(QStringLiteral("abc")));
        QFile zip(root.filePath(QStringLiteral("xyz.zip")));
        FUZZ_CHECK(zip.open(QIODevice::WriteOnly));
        return dir.path();
    }();
    return path;
}

void writeGamesFile(const QString &path, const uint8_t *data, size_t size)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size))
          == static_cast<qint64>(size));
}

bool isNormalized(const QByteArray &field)
{
    const auto blankOrControl = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    if (!field.isEmpty() && (blankOrControl(field.front()) || blankOrControl(field.back())))
        return false;
    return !field.contains("  ") && NormalizeSpaces(field) == field;
}

void checkFields(const GameFields &fields)
{
    for (const QByteArray *field :
         {&fields.name, &fields.year, &fields.manufacturer, &fields.gameType, &fields.romSet}) {
        FUZZ_CHECK(isNormalized(*field));
        FUZZ_CHECK(!field->contains(';'));
    }
}

// Lines never hold a line ending or a NUL, and joining them gives bytes that split back to them.
QList<QByteArray> checkedLines(const QByteArray &content)
{
    const QList<QByteArray> lines = splitGamesFileLines(content);
    for (const QByteArray &line : lines)
        FUZZ_CHECK(!line.contains('\r') && !line.contains('\n') && !line.contains('\0'));
    // The reader that works on views gives the same lines.
    qsizetype viewed = 0;
    forEachGamesFileLine(content, [&](QByteArrayView line) {
        FUZZ_CHECK(viewed < lines.size() && line == lines[viewed]);
        ++viewed;
    });
    FUZZ_CHECK(viewed == lines.size());
    FUZZ_CHECK(splitGamesFileLines(joinGamesFileLines(lines)) == lines);
    FUZZ_CHECK(NormalizeSpaces(NormalizeSpaces(content)) == NormalizeSpaces(content));
    return lines;
}

// A game as read and scanned: its texts are the line's fields, and where it was found lies inside
// a ROM directory (here the start directory), whatever its ROM set name.
void checkGame(const TGame &game, const QByteArray &line, const QString &romDir)
{
    const GameFields fields = parseGameLine(line);
    checkFields(fields);
    GameLineFields::Scratch scratch;
    const GameLineFields viewed = splitGameLine(line, scratch);
    FUZZ_CHECK(viewed.name() == fields.name && viewed.year() == fields.year
               && viewed.manufacturer() == fields.manufacturer && viewed.gameType() == fields.gameType
               && viewed.romSet() == fields.romSet);
    // The scan from one listing per folder answers as the look-ups path by path.
    TGame probed;
    probed.RomSet = game.RomSet;
    ScanRomSet(probed, romDir, romDir);
    FUZZ_CHECK(probed.Location == game.Location && probed.FoundDir == game.FoundDir
               && probed.foundPath() == game.foundPath());
    FUZZ_CHECK(game.Name == displayText(fields.name));
    FUZZ_CHECK(game.year() == displayText(fields.year));
    FUZZ_CHECK(game.manufacturer() == displayText(fields.manufacturer));
    FUZZ_CHECK(game.gameType() == displayText(fields.gameType));
    FUZZ_CHECK(game.RomSet == displayText(fields.romSet));
    FUZZ_CHECK(game.FoundDir.isEmpty() == !game.available());
    if (game.available())
        FUZZ_CHECK(game.FoundDir == romDir && game.foundPath().startsWith(romDir + QLatin1Char('/'))
                   && !game.foundPath().mid(romDir.size() + 1).contains(QLatin1Char('/')));
}

void checkAllRows(const FakeRows &rows, const TEmulators &emulators)
{
    const auto &games = emulators.Games();
    FUZZ_CHECK(rows.rows.size() == games.size());
    for (size_t i = 0; i < games.size(); ++i) {
        const FakeRows::Row &row = rows.rows[i];
        FUZZ_CHECK(row.game == &games[i]);
        FUZZ_CHECK(row.caption == games[i].Name);
        FUZZ_CHECK(row.stateImage == static_cast<int>(games[i].Location));
    }
}

// A filtered rebuild keeps games-file order, shows only the games passing the filter, and finds the
// previously selected game again by name.
size_t checkFiltered(FakeRows &rows, TEmulators &emulators, TGameFilter filter)
{
    const QString selectedCaption = rows.rows.empty() ? QString() : rows.rows.back().caption;
    rows.selected = rows.rows.empty() ? -1 : static_cast<int>(rows.rows.size()) - 1;
    emulators.RefreshList(filter);
    FUZZ_CHECK(rows.openBrackets == 0);
    size_t expected = 0;
    for (const auto &game : emulators.Games()) {
        if ((filter == gfAvailable) != game.available())
            continue;
        FUZZ_CHECK(expected < rows.rows.size() && rows.rows[expected].game == &game);
        ++expected;
    }
    FUZZ_CHECK(rows.rows.size() == expected);
    if (emulators.CurrentGame) {
        FUZZ_CHECK(emulators.CurrentGame->Name.compare(selectedCaption, Qt::CaseInsensitive) == 0);
        FUZZ_CHECK(rows.selected >= 0 && rows.rowGame(rows.selected) == emulators.CurrentGame);
    }
    return expected;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString &start = startDirectory();
    const QByteArray content(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> lines = checkedLines(content);
    QByteArray fieldLine = content;
    const QByteArray first = SplitField(fieldLine);
    FUZZ_CHECK(!first.contains(';'));
    FUZZ_CHECK(isNormalized(fieldLine));

    TEmulators emulators(nullptr, start);
    writeGamesFile(emulators.gamesFilePath(), data, size);
    FakeRows rows;
    emulators.ListGames = &rows;
    emulators.RefreshList(gfAll);
    FUZZ_CHECK(rows.openBrackets == 0);
    FUZZ_CHECK(emulators.Games().size() == static_cast<size_t>(lines.size()));
    checkAllRows(rows, emulators);
    for (qsizetype i = 0; i < lines.size(); ++i)
        checkGame(emulators.Games()[static_cast<size_t>(i)], lines[i], emulators.RomPath1.FullPath);

    const size_t available = checkFiltered(rows, emulators, gfAvailable);
    const size_t missing = checkFiltered(rows, emulators, gfMissing);
    FUZZ_CHECK(available + missing == emulators.Games().size());
    return 0;
}
