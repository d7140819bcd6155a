#include "Emulators.h"

#include "AlternateFolder.h"
#include "FilesUtils.h"
#include "GameLines.h"
#include "HistoryLoad.h"
#include "LanvoError.h"
#include "PlayTiming.h"
#include "PlayedTexts.h"
#include "RomScan.h"
#include "TextDecoding.h"
#include "ZipArchive.h"

#include <QCoreApplication>

#include <QDir>
#include <QHash>

#include <algorithm>
#include <future>
#include <optional>
#include <system_error>

namespace Lanvo {

namespace {

// Keeps the list's update bracket balanced when a step throws.
class ListUpdate
{
public:
    explicit ListUpdate(IListRows *rows)
        : m_rows(rows)
    {
        m_rows->beginRowsBatch();
    }
    ~ListUpdate() { m_rows->endRowsBatch(); }
    ListUpdate(const ListUpdate &) = delete;
    ListUpdate &operator=(const ListUpdate &) = delete;

private:
    IListRows *m_rows;
};

// Years, makers and types repeat from game to game: equal texts share one string.
class SharedTexts
{
public:
    QString text(QByteArrayView bytes)
    {
        const QByteArray key = QByteArray::fromRawData(bytes.data(), bytes.size());
        const auto found = m_texts.constFind(key);
        if (found != m_texts.cend())
            return *found;
        QString decoded = displayText(bytes);
        if (m_texts.size() < MaxShared)
            m_texts.insert(bytes.toByteArray(), decoded);
        return decoded;
    }

private:
    static constexpr qsizetype MaxShared = 4096; // a column of unique texts gains nothing by sharing
    QHash<QByteArray, QString> m_texts;
};

// The details of each year, maker and type met, made once; only kept while the file is read.
class DetailsPool
{
public:
    explicit DetailsPool(std::deque<TGameDetails> &details)
        : m_details(details)
    {
    }

    const TGameDetails *details(const GameLineFields &fields)
    {
        m_key.resize(0); // keeps its capacity, unlike clear()
        m_key.append(fields.year()).append('\0').append(fields.manufacturer()).append('\0').append(fields.gameType());
        const auto found = m_index.constFind(m_key);
        if (found != m_index.cend())
            return *found;
        const TGameDetails *made = &m_details.emplace_back(TGameDetails{
            m_texts.text(fields.year()), m_texts.text(fields.manufacturer()), m_texts.text(fields.gameType())});
        m_index.insert(m_key, made);
        return made;
    }

private:
    std::deque<TGameDetails> &m_details;
    SharedTexts m_texts;
    QHash<QByteArray, const TGameDetails *> m_index;
    QByteArray m_key;
};

bool passesFilter(const TGame &game, const PlayRecord *played, TGameFilter filter)
{
    switch (filter) {
    case gfAvailable:
        return game.Location != rlMissing;
    case gfMissing:
        return game.Location == rlMissing;
    case gfFavourites:
        return played && played->Favourite;
    case gfRecentlyPlayed:
        return played && played->everPlayed();
    case gfAll:
        break;
    }
    return true;
}

// Only the two history views look into the history while filling.
bool filterNeedsHistory(TGameFilter filter)
{
    return filter == gfFavourites || filter == gfRecentlyPlayed;
}

struct ListedGame
{
    TGame *Game;
    qint64 LastPlayed;
};

// Below this a second thread costs more than it saves.
constexpr qsizetype MinBytesForTwoThreads = qsizetype(256) * 1024;

size_t countGamesFileLines(QByteArrayView text)
{
    size_t lines = 0;
    forEachGamesFileLine(text, [&lines](QByteArrayView) { ++lines; });
    return lines;
}

// The games of Text's lines into the records from Games on, one per line.
void readGames(QByteArrayView text, TGame *games, std::deque<TGameDetails> &details, const RomScanner &scanner)
{
    DetailsPool pool(details);
    GameLineFields::Scratch scratch;
    forEachGamesFileLine(text, [&](QByteArrayView line) {
        const GameLineFields fields = splitGameLine(line, scratch);
        TGame &game = *games++;
        game.Name = displayText(fields.name());
        game.Details = pool.details(fields);
        game.RomSet = displayText(fields.romSet());
        scanner.scan(game);
    });
}

// Task on a thread of its own; where no thread can be had, at once on this one.
template<typename Task>
std::future<void> readOnAnotherThread(Task task)
{
    try {
        return std::async(std::launch::async, task);
    } catch (const std::system_error &) {
        task();
        return {};
    }
}

} // namespace

const TGameDetails &TGame::details() const
{
    static const TGameDetails none;
    return Details ? *Details : none;
}

QString TEmulators::GameText(const TGame &game, int column)
{
    switch (column) {
    case 0:
        return game.Name;
    case 1:
        return game.year();
    case 2:
        return game.gameType();
    case 3:
        return game.manufacturer();
    case 4:
    case 5: {
        if (!m_playedTexts)
            m_playedTexts = std::make_unique<PlayedTexts>();
        const PlayRecord *played = PlayRecordOf(game);
        return column == 4 ? m_playedTexts->times(played) : m_playedTexts->lastPlayed(played);
    }
    default:
        return {};
    }
}

TEmulators::TEmulators(QObject *owner, const QString &startDirectory)
    : QObject(owner)
{
    AltPath = {defaultAlternateDirectory(), defaultAlternateDirectory()};
    const QString start = startDirectory.isEmpty() ? QDir::currentPath() : startDirectory;
    // The folder's own name is kept whatever it holds, a backslash included.
    StartDir = {QStringLiteral("."), QDir::cleanPath(QDir(start).absolutePath())};
    TitlePicDir = makePath(QStringLiteral("./lanvo/TitlePic"));
    GamePicDir = makePath(QStringLiteral("./lanvo/GamePic"));
    PictureDir = TitlePicDir;
    RomPath1 = makePath(QStringLiteral("."));
    RomPath2 = makePath(QStringLiteral("."));
    DataDir = makePath(QStringLiteral("./lanvo"));
    SetGamesDatafile(QString::fromLatin1(DefaultGamesDatafile));
    AdditionalParameters.clear();
}

TEmulators::~TEmulators() = default;

TPath TEmulators::makePath(const QString &configured) const
{
    const QString path = QDir::isAbsolutePath(configured) ? configured : toPlatformSeparators(configured);
    return {path, ExpandPath(path, StartDir.FullPath)};
}

QString TEmulators::gamesFilePath() const
{
    return joinPath(DataDir.FullPath, m_gamesDatafile);
}

QString TEmulators::historyFilePath() const
{
    const QString name = QString::fromLatin1(PlayHistory::FileName);
    if (m_installType == itHD || WorkDir.isEmpty())
        return joinPath(DataDir.FullPath, name);
    return joinPath(joinPath(WorkDir, QStringLiteral("lanvo")), name);
}

void TEmulators::takeHistory(HistoryLoad &load)
{
    PlayHistory::LoadStatus status = PlayHistory::LoadStatus::Read;
    m_history = load.take(status);
    const bool unreadable = status == PlayHistory::LoadStatus::Unreadable;
    if (unreadable && !m_historyUnreadableTold && Prompts)
        Prompts->showMessage(PromptKind::Warning,
                             QStringLiteral("The play history %1 can't be read. Lanvo leaves it as it is and "
                                            "keeps no plays or favourites until it can be read.")
                                 .arg(QDir::toNativeSeparators(historyFilePath())),
                             PromptButtons::Ok);
    m_historyUnreadableTold = unreadable;
}

// Told each time it fails: the change stays in memory and is written with the next one.
void TEmulators::saveHistory()
{
    if (!m_history->writable() || m_history->save(historyFilePath()) || !Prompts)
        return;
    Prompts->showMessage(PromptKind::Error,
                         QStringLiteral("Unable to write to %1. The play history there is kept as it was; this "
                                        "change is written with the next one.")
                             .arg(QDir::toNativeSeparators(historyFilePath())),
                         PromptButtons::Ok);
}

void TEmulators::historyChangedFor(TGame &game)
{
    saveHistory();
    if (ListGames)
        ListGames->updateGameRow(&game);
    Q_EMIT playHistoryChanged(&game);
}

void TEmulators::SetFavourite(TGame &game, bool favourite)
{
    m_history->setFavourite(game.RomSet, favourite);
    historyChangedFor(game);
}

void TEmulators::SetGamesDatafile(const QString &value)
{
    m_gamesDatafile = value;
    if (!ListGames)
        return;
    if (fileExists(gamesFilePath()))
        RefreshList(gfAll);
    else
        emptyListRows();
}

TGame *TEmulators::GetGame(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_games.size()))
        return nullptr;
    // The records are the catalogue's state, not the accessor's: callers (the list) point at them.
    return const_cast<TGame *>(&m_games[static_cast<size_t>(index)]);
}

// A large games file is read by two threads, one half each: the halves' games take their places in
// the catalogue as the file orders them. Each half has its own details, so games alike in the two
// halves have a record each.
void TEmulators::LoadGames()
{
    const QByteArray content = readWholeFile(gamesFilePath());
    const RomScanner scanner(RomPath1.FullPath, RomPath2.FullPath);
    const auto [first, second] = content.size() < MinBytesForTwoThreads
                                     ? std::pair<QByteArrayView, QByteArrayView>{content, {}}
                                     : cutGamesFileText(content, content.size() / 2);
    const size_t start = m_games.size();
    const size_t firstCount = countGamesFileLines(first);
    m_games.resize(start + firstCount + countGamesFileLines(second));
    m_details.reserve(m_details.size() + 2); // the two pools' references stay valid
    std::deque<TGameDetails> &firstDetails = m_details.emplace_back();
    std::deque<TGameDetails> &secondDetails = m_details.emplace_back();
    const auto readPart = [this, &scanner](QByteArrayView part, size_t at, std::deque<TGameDetails> &details) {
        readGames(part, m_games.data() + at, details, scanner);
    };
    std::future<void> other;
    if (!second.isEmpty())
        other = readOnAnotherThread(
            [&, at = start + firstCount, part = second] { readPart(part, at, secondDetails); });
    readPart(first, start, firstDetails);
    if (other.valid())
        other.get(); // rethrows what the other thread threw
}

void TEmulators::RefreshList(TGameFilter filter)
{
    const BusyCursor busy(Prompts);
    QString caption;
    rememberSelection(caption);
    emptyListRows();
    m_games.clear();
    m_details.clear();
    CurrentGame = nullptr;
    m_playedTexts = std::make_unique<PlayedTexts>();
    // Read again at each refresh, unless a change is not in the file yet: reading would lose it.
    std::optional<HistoryLoad> history;
    if (!m_history->hasUnsavedChanges())
        history.emplace(historyFilePath());
    LoadGames();
    if (history)
        takeHistory(*history);
    fillRows(filter);
    reselect(caption);
    ShowPicture();
}

void TEmulators::rememberSelection(QString &caption)
{
    const int row = ListGames ? ListGames->selectedRow() : -1;
    if (row >= 0) {
        caption = ListGames->rowCaption(row);
    } else {
        caption.clear();
        CurrentGame = nullptr;
    }
}

void TEmulators::emptyListRows()
{
    if (!ListGames)
        return;
    {
        const ListUpdate update(ListGames);
        ListGames->clearRows();
    }
    ListGames->repaintRows();
}

void TEmulators::fillRows(TGameFilter filter)
{
    if (!ListGames)
        return;
    const bool lookUp = filterNeedsHistory(filter);
    std::vector<ListedGame> listed;
    listed.reserve(m_games.size());
    for (TGame &game : m_games) {
        const PlayRecord *played = lookUp ? PlayRecordOf(game) : nullptr;
        if (passesFilter(game, played, filter))
            listed.push_back({&game, played ? played->LastPlayed : PlayRecord::NeverPlayed});
    }
    if (filter == gfRecentlyPlayed)
        std::stable_sort(listed.begin(), listed.end(),
                         [](const ListedGame &a, const ListedGame &b) { return a.LastPlayed > b.LastPlayed; });
    const ListUpdate update(ListGames);
    ListGames->setGameTextOf([this](const TGame &game, int column) { return GameText(game, column); });
    for (const ListedGame &listedGame : listed)
        ListGames->appendGameRow(listedGame.Game, static_cast<int>(listedGame.Game->Location));
}

void TEmulators::reselect(const QString &caption)
{
    if (caption.isEmpty() || !ListGames)
        return;
    const int row = ListGames->findCaption(caption);
    if (row < 0)
        return;
    ListGames->selectRow(row);
    CurrentGame = ListGames->rowGame(row);
}

void TEmulators::ShowPicture()
{
    if (!showGamePicture())
        showDefaultPicture();
}

void TEmulators::showDefaultPicture()
{
    if (PicDefault)
        PicDefault->showPicture();
    if (PicGame)
        PicGame->hidePicture();
}

// Only the first picture file that exists is tried; a later extension never stands in for it.
bool TEmulators::showGamePicture()
{
    if (!CurrentGame || !PicGame || !isPlainFileName(CurrentGame->RomSet))
        return false;
    const QString base = joinPath(PictureDir.FullPath, CurrentGame->RomSet);
    for (const char *extension : {".jpg", ".gif", ".bmp", ".pcx"}) {
        const QString candidate = base + QLatin1String(extension);
        if (!fileExists(candidate))
            continue;
        if (!PicGame->loadFile(candidate))
            return false;
        if (PicDefault)
            PicDefault->hidePicture();
        PicGame->showPicture();
        return true;
    }
    return false;
}

void TEmulators::Run()
{
    if (!CurrentGame)
        return;
    TGame &game = *CurrentGame;
    const BusyCursor busy(Prompts);
    if (CurrentGame->Location == rlZip && ZipSupport) {
        // The name comes from the games file: it must not reach outside the work directory.
        const QString extraction = containedPath(WorkDir, CurrentGame->RomSet);
        if (!directoryExists(extraction) && !QDir().mkpath(extraction))
            throw LanvoError(QStringLiteral("Unable to create the directory %1").arg(extraction));
        ExtractArchive(CurrentGame->FoundPath, extraction, Prompts);
        PrepareRun(extraction);
    } else {
        PrepareRun(CurrentGame->FoundPath);
        QDir::setCurrent(WorkDir);
    }
    // Only a run that started the emulator counts; one refused before it throws on its way out.
    const PlayTiming timing(RunWindowHooks);
    RunAndWait(CommandLine);
    if (!timing.started())
        return;
    m_history->recordPlay(game.RomSet, timing.start(), timing.seconds());
    historyChangedFor(game);
}

void TEmulators::PrepareRun(const QString &)
{
}

void TEmulators::RunAndWait(const QString &commandLine)
{
    const QStringList words = splitWindowsCommandLine(commandLine);
    if (words.isEmpty())
        return;
    const QString program = findProgram(words.first(), QCoreApplication::applicationDirPath());
    if (program.isEmpty())
        return; // as with a program that can't be started: nothing is reported
    runAndWait(program, words.mid(1), RunWindowHooks);
}

} // namespace Lanvo
