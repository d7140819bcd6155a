#pragma once

#include "PlayHistory.h"
#include "TimeOfDayFormat.h"

#include <QHash>
#include <QLocale>
#include <QString>

#include <array>

namespace Lanvo {

// The texts of a game's play history as the list and the status bar show them: the times played,
// the last run's start in the user's short date and time format, and a summary. One object serves a
// whole list fill: dates, times of day and small counts repeat, so each is formatted once.
class PlayedTexts
{
public:
    explicit PlayedTexts(const QLocale &locale = QLocale::system());

    // "0" for a game without a record.
    QString times(const PlayRecord *record);
    // The short date, a space and the short time; empty when never played.
    QString lastPlayed(const PlayRecord *record);
    // "Played 3 times, last <as lastPlayed>, 1 h 20 min", or "Never played".
    QString summary(const PlayRecord *record);

    // "1 h 20 min", "20 min" or "45 s".
    static QString duration(qint64 seconds);

private:
    QLocale m_locale;
    QString m_dateFormat;
    TimeOfDayFormat m_timeOfDay;
    QHash<qint64, QString> m_days;
    std::array<QString, 64> m_counts;
};

} // namespace Lanvo
