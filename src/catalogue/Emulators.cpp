#include "Emulators.h"

#include "AlternateFolder.h"
#include "AnyCaseFiles.h"
#include "CatalogueRead.h"
#include "FilesUtils.h"
#include "HistoryLoad.h"
#include "LanvoError.h"
#include "PlayTiming.h"
#include "PlayedTexts.h"
#include "ZipArchive.h"

#include <QCoreApplication>

#include <QDir>

#include <algorithm>
#include <functional>
#include <optional>

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

// More rows than a window shows at once at any size; a row past them waits for every name when shown.
constexpr size_t RowsNamedFirst = 256;

// How many games, from the first record on, hold those of the first rows.
size_t gamesOfFirstRows(const std::vector<ListedGame> &listed, const TGame *records)
{
    size_t count = 0;
    for (size_t row = 0; row < std::min(listed.size(), RowsNamedFirst); ++row)
        count = std::max(count, size_t(listed[row].Game - records) + 1);
    return count;
}

} // namespace

const TGameDetails &TGame::details() const
{
    static const TGameDetails none;
    return Details ? *Details : none;
}

QString TGame::foundPath() const
{
    if (FoundDir.isEmpty())
        return {};
    return joinPath(FoundDir, Location == rlZip ? RomSet + QLatin1String(".zip") : RomSet);
}

QString TEmulators::GameText(const TGame &game, int column)
{
    if (m_names && !isNamed(game))
        FinishNames();
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
    FinishNames();
    if (index < 0 || index >= static_cast<int>(m_games.size()))
        return nullptr;
    // The records are the catalogue's state, not the accessor's: callers (the list) point at them.
    return const_cast<TGame *>(&m_games[static_cast<size_t>(index)]);
}

void TEmulators::LoadGames()
{
    takeCatalogue(readCatalogueNow());
}

void TEmulators::ReadCatalogueAhead()
{
    m_readAhead = std::make_unique<CatalogueReadAhead>(catalogueSource());
}

void TEmulators::NameGamesOutOfSight()
{
    if (m_names)
        m_names->nameRest();
}

void TEmulators::FinishNames() const
{
    if (!m_names)
        return;
    for (std::deque<TGameDetails> &details : m_names->finish())
        m_details.push_back(std::move(details));
    m_names.reset();
}

void TEmulators::DiscardCatalogueReadAhead()
{
    m_readAhead.reset();
}

QString TEmulators::pathAnyCaseReadAhead(const QString &dir, const QString &name) const
{
    if (m_readAhead) {
        if (const std::optional<QString> found = m_readAhead->existingAnyCase(dir, name))
            return found->isEmpty() ? joinPath(dir, name) : *found;
    }
    return pathAnyCase(dir, name);
}

CatalogueSource TEmulators::catalogueSource() const
{
    return {gamesFilePath(), RomPath1.FullPath, RomPath2.FullPath};
}

// What was read ahead when it read the files a read now would, else a read now.
CatalogueRead TEmulators::readCatalogueNow()
{
    const CatalogueSource source = catalogueSource();
    const std::unique_ptr<CatalogueReadAhead> ahead = std::move(m_readAhead);
    if (ahead && ahead->source() == source)
        return ahead->take();
    return readCatalogue(source);
}

bool TEmulators::isNamed(const TGame &game) const
{
    const std::less<const TGame *> before;
    const TGame *const first = m_games.data();
    if (before(&game, first) || !before(&game, first + m_games.size()))
        return true; // not one of the catalogue's
    return m_names->isNamed(size_t(&game - first));
}

void TEmulators::takeCatalogue(CatalogueRead read)
{
    FinishNames(); // the games named may move
    if (!m_games.empty() && read.Names) {
        for (std::deque<TGameDetails> &details : read.Names->finish())
            read.Details.push_back(std::move(details));
        read.Names.reset();
    }
    if (m_games.empty())
        m_games = std::move(read.Games);
    else
        m_games.insert(m_games.end(), std::make_move_iterator(read.Games.begin()),
                       std::make_move_iterator(read.Games.end()));
    for (std::deque<TGameDetails> &details : read.Details)
        m_details.push_back(std::move(details));
    m_names = std::move(read.Names);
}

void TEmulators::RefreshList(TGameFilter filter)
{
    const BusyCursor busy(Prompts);
    QString caption;
    rememberSelection(caption);
    emptyListRows();
    m_names.reset(); // waits for the thread naming the games
    m_games.clear();
    m_details.clear();
    CurrentGame = nullptr;
    m_playedTexts.reset(); // made again when a played column is shown, for the locale as it is then
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
    if (m_names)
        m_names->nameFirst(gamesOfFirstRows(listed, m_games.data()));
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
        ExtractArchive(CurrentGame->foundPath(), extraction, Prompts);
        PrepareRun(extraction);
    } else {
        PrepareRun(CurrentGame->foundPath());
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
