#pragma once

#include <QString>

// The English texts of the windows.
namespace Lanvo::Texts {

inline const QString ApplicationTitle = QStringLiteral("Lanvo_NR");
inline const QString GamesPage = QStringLiteral("Games");
inline const QString OptionsPage = QStringLiteral("Options");
inline const QString FileMenu = QStringLiteral("File");
inline const QString ExitItem = QStringLiteral("E&xit");
inline const QString CorvaneMenu = QStringLiteral("Corvane");
inline const QString RunItem = QStringLiteral("&Run");
inline const QString GamesCountInitial = QStringLiteral("xx Games");
inline const QString GamesCount = QStringLiteral("%1 games");
inline const QString AboutCaption = QStringLiteral("About");
inline const QString OptionsCaption = QStringLiteral("General options");
inline const QString ErrorTitle = QStringLiteral("Error");
inline const QString WarningTitle = QStringLiteral("Warning");
inline const QString InformationTitle = QStringLiteral("Information");

} // namespace Lanvo::Texts
