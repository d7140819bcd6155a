#pragma once

#include "Interfaces.h"
#include "Platform.h"
#include "PlayHistory.h"

#include <QObject>
#include <QString>

#include <deque>
#include <memory>
#include <vector>

namespace Lanvo {

enum TInstallType { itCDRom, itHD };
enum TRomLocation : quint8 { rlMissing, rlDirectory, rlZip };
enum TGameFilter { gfAll, gfAvailable, gfMissing, gfFavourites, gfRecentlyPlayed };

// A directory as configured (relative or absolute) and its absolute form without a trailing separator.
struct TPath
{
    QString Path;
    QString FullPath;

    bool operator==(const TPath &) const = default;
};

// What games have in common: year, manufacturer and type repeat from game to game, so the games of a
// catalogue that share all three share one record.
struct TGameDetails
{
    QString Year;
    QString Manufacturer;
    QString GameType;
};

// One game of the catalogue, as read from one games-file line and found by the scan.
struct TGame
{
    QString Name;
    QString RomSet;
    const TGameDetails *Details = nullptr; // owned by the catalogue; null reads as empty texts
    // The ROM directory the set was found in, empty when it is missing. The scan gives every game the
    // same shared text: a path of its own for each found game cost an allocation and its copying.
    QString FoundDir;
    TRomLocation Location = rlMissing;

    bool available() const { return Location != rlMissing; }

    // The set's directory or archive in FoundDir, as the scan found it.
    QString foundPath() const;

    const QString &year() const { return details().Year; }
    const QString &manufacturer() const { return details().Manufacturer; }
    const QString &gameType() const { return details().GameType; }

private:
    const TGameDetails &details() const;
};

struct CatalogueRead;
class CatalogueNames;
class CatalogueReadAhead;
struct CatalogueSource;
class HistoryLoad;
class PlayedTexts;

// The games catalogue, its directories, the selected game, and the run of a game.
class TEmulators : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *DefaultGamesDatafile = "GAMES.CSV";

    // StartDirectory is the current directory at construction unless a caller (a test) names another.
    explicit TEmulators(QObject *owner, const QString &startDirectory = QString());
    ~TEmulators() override;

    // Published properties.
    IListRows *ListGames = nullptr;
    IPicture *PicDefault = nullptr;
    IPicture *PicGame = nullptr;
    IPrompts *Prompts = nullptr;
    RunHooks RunWindowHooks; // what the window does while the emulator runs
    bool ZipSupport = false;
    QString AdditionalParameters;

    const QString &GamesDatafile() const { return m_gamesDatafile; }
    void SetGamesDatafile(const QString &value);
    TInstallType InstallType() const { return m_installType; }
    void SetInstallType(TInstallType value) { m_installType = value; }

    // Other members.
    QString CommandLine;
    QString WorkDir;
    TGame *CurrentGame = nullptr;
    TPath RomPath1;
    TPath RomPath2;
    TPath StartDir;
    TPath AltPath;
    TPath DataDir;
    TPath TitlePicDir;
    TPath GamePicDir;
    TPath PictureDir;

    // The records lie in one block, reserved for the whole file before the first is read, so a record
    // keeps its address until the next refresh.
    const std::vector<TGame> &Games() const
    {
        FinishNames();
        return m_games;
    }
    TGame *GetGame(int index) const;
    QString gamesFilePath() const;
    // "PLAYED.CSV" beside the games file; in a read-only install, in the work directory's "lanvo".
    QString historyFilePath() const;
    const PlayHistory &History() const { return *m_history; }
    // Game's line of the play history, or null when it has none; looked up when asked, so a refresh
    // links no game to its line.
    const PlayRecord *PlayRecordOf(const TGame &game) const { return m_history->find(game.RomSet); }
    // The text of Game in the list's Column: name, year, type, manufacturer, times and last played.
    QString GameText(const TGame &game, int column);
    // Marks or unmarks Game and writes the history; a write that fails is told through Prompts.
    void SetFavourite(TGame &game, bool favourite);
    // A TPath for a configured path: Path as given, FullPath expanded against the start directory.
    TPath makePath(const QString &configured) const;

    // Reloads the games file, rescans, refills the list with the games passing Filter and selects the
    // previously selected game again by name.
    void RefreshList(TGameFilter filter);
    // Reads the games file into the emptied catalogue (RefreshList empties it first).
    void LoadGames();
    // Starts reading the games file and scanning the ROM directories on threads of their own; the next
    // LoadGames takes what they read if the files it would read are still the same, else reads again.
    void ReadCatalogueAhead();
    // A refresh that takes what was read ahead names only the games of the list's first rows, so that
    // the window shows them sooner; the others are named on a thread of their own once this is called,
    // which the window does after its first frame.
    void NameGamesOutOfSight();
    // Waits until every game has its name and details, naming them here if they are not being named;
    // whatever hands a game's texts out (the list's texts and search keys, the selected game) calls it.
    void FinishNames() const;
    // Forgets a read started ahead: what it read may be out of date.
    void DiscardCatalogueReadAhead();
    // pathAnyCase(Dir, Name), from the listing read ahead when Dir is a ROM directory: a start folder
    // holding the ROM sets is then listed once.
    QString pathAnyCaseReadAhead(const QString &dir, const QString &name) const;

    // Shows CurrentGame's picture from PictureDir, or the default picture; never fails.
    void ShowPicture();

    // Runs CurrentGame in the emulator and returns when it has ended.
    virtual void Run();
    // Prepares the emulator for the ROM set at RomSetPath and builds CommandLine.
    virtual void PrepareRun(const QString &romSetPath);
    // Starts the command line and waits for the program's end; quiet when it can't be started.
    virtual void RunAndWait(const QString &commandLine);

Q_SIGNALS:
    // A game's play count or favourite mark changed (its list row has its new texts already).
    void playHistoryChanged(TGame *game);

private:
    CatalogueSource catalogueSource() const;
    CatalogueRead readCatalogueNow();
    void takeCatalogue(CatalogueRead read);
    bool isNamed(const TGame &game) const; // while names are being made
    void takeHistory(HistoryLoad &load);
    void saveHistory();
    void historyChangedFor(TGame &game);
    void showDefaultPicture();
    bool showGamePicture();
    void rememberSelection(QString &caption);
    void emptyListRows();
    void fillRows(TGameFilter filter);
    void reselect(const QString &caption);

    QString m_gamesDatafile;
    TInstallType m_installType = itCDRom;
    std::vector<TGame> m_games;
    // What the games point at, one block per reading thread; a deque keeps its records' addresses.
    // Mutable with the names below: finishing them changes no text a reader could have seen.
    mutable std::vector<std::deque<TGameDetails>> m_details;
    std::unique_ptr<CatalogueReadAhead> m_readAhead;
    // Names still being made; after the games, so that it is destroyed, and its thread waited for, first.
    mutable std::unique_ptr<CatalogueNames> m_names;
    std::unique_ptr<PlayHistory> m_history = std::make_unique<PlayHistory>();
    std::unique_ptr<PlayedTexts> m_playedTexts; // made when first asked for after each refresh
    bool m_historyUnreadableTold = false;
};

} // namespace Lanvo
