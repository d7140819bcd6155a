#pragma once

#include <QString>
#include <QStringList>

// The English texts of the windows.
namespace Lanvo::Texts {

inline const QString ApplicationTitle = QStringLiteral("Lanvo_NR");
inline const QString GamesPage = QStringLiteral("Games");
inline const QString OptionsPage = QStringLiteral("Options");
inline const QString FileMenu = QStringLiteral("&File");
inline const QString ExitItem = QStringLiteral("E&xit");
inline const QString CorvaneMenu = QStringLiteral("&Corvane");
inline const QString RunItem = QStringLiteral("&Run");
inline const QString GamesCountInitial = QStringLiteral("xx Games");
inline const QString GamesCount = QStringLiteral("%1 games");
inline const QString OptionsGroup = QStringLiteral("Corvane");
inline const QString SnapshotsGroup = QStringLiteral("Snapshots");
inline const QString ScanlinesBox = QStringLiteral("Scanlines (Vesa)");
inline const QStringList ScanlineModes = {QStringLiteral("scanlines"), QStringLiteral("25%"), QStringLiteral("50%"),
                                          QStringLiteral("no scanlines")};
inline const QStringList FrameCounts = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                        QStringLiteral("4")};
inline const QString ScanlineModeList = QStringLiteral("Scanline mode");
inline const QString FrameCountList = QStringLiteral("Frames to skip");
inline const QString OptionsItem = QStringLiteral("&Options");
inline const QString BiosMenu = QStringLiteral("&Bios");
inline const QString LanguageMenu = QStringLiteral("&Language");
inline const QString JapanezeItem = QStringLiteral("&Japaneze");
inline const QString UsItem = QStringLiteral("&Us");
inline const QString EuropeanItem = QStringLiteral("&European");
inline const QString SystemMenu = QStringLiteral("&System");
inline const QString ConsoleItem = QStringLiteral("&Console");
inline const QString ArcadeItem = QStringLiteral("&Arcade");
inline const QString FrameskipBox = QStringLiteral("Frameskip");
inline const QString VsyncBox = QStringLiteral("Vsync");
inline const QString VgaBox = QStringLiteral("VGA");
inline const QString ModexBox = QStringLiteral("Modex");
inline const QString NoanalyseBox = QStringLiteral("Noanalyse");
inline const QString ProcessShotsBox = QStringLiteral("Move last snapshot into Lanvo Pic directory");
inline const QString DeleteBox = QStringLiteral("Delete snapshot after moving it");
inline const QString TitleTab = QStringLiteral("Title");
inline const QString InGameTab = QStringLiteral("In-Game");
inline const QString PictureKind = QStringLiteral("Picture kind");
inline const QString SnapshotCaption = QStringLiteral("Snapshot - Press F8 during play to create");
inline const QString ViewMenu = QStringLiteral("&View");
inline const QString ShowSnapshotItem = QStringLiteral("&Show Snapshot");
inline const QString AvailableGamesItem = QStringLiteral("Show &available games");
inline const QString MissingGamesItem = QStringLiteral("Show &missing games");
inline const QString AllGamesItem = QStringLiteral("Show a&ll games");
inline const QString SortByMenu = QStringLiteral("Sort &by");
// One per column of the games list, in the columns' order.
inline const QStringList SortByItems = {QStringLiteral("&Name"), QStringLiteral("&Year"), QStringLiteral("&Type"),
                                        QStringLiteral("&Manufacturer")};
inline const QString FavouriteGamesItem = QStringLiteral("Show &favourite games");
inline const QString RecentGamesItem = QStringLiteral("Show recently &played games");
inline const QString FavouriteItem = QStringLiteral("Favourite");
inline const QString RefreshItem = QStringLiteral("&Refresh list");
inline const QString HelpMenu = QStringLiteral("&Help");
inline const QString AboutItem = QStringLiteral("&About");
inline const QString AboutCaption = QStringLiteral("About");
inline const QString OptionsCaption = QStringLiteral("General options");
inline const QString ErrorTitle = QStringLiteral("Error");
inline const QString WarningTitle = QStringLiteral("Warning");
inline const QString InformationTitle = QStringLiteral("Information");

} // namespace Lanvo::Texts
