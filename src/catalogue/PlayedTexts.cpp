#include "PlayedTexts.h"

namespace Lanvo {

PlayedTexts::PlayedTexts(const QLocale &locale)
    : m_locale(locale)
    , m_dateFormat(locale.dateFormat(QLocale::ShortFormat))
    , m_timeOfDay(locale, locale.timeFormat(QLocale::ShortFormat))
{
}

QString PlayedTexts::times(const PlayRecord *record)
{
    const qint64 times = record ? record->Times : 0;
    if (times >= 0 && times < qint64(m_counts.size())) {
        QString &text = m_counts[static_cast<size_t>(times)];
        if (text.isEmpty())
            text = QString::number(times);
        return text;
    }
    // Plain digits: the list sorts the column as numbers, which a group separator would prevent.
    return QString::number(times);
}

QString PlayedTexts::lastPlayed(const PlayRecord *record)
{
    if (!record || !record->hasLastPlayed())
        return {};
    // Date and time of day apart: a QDateTime in local time would ask for the zone on every row.
    const QDate date = record->lastPlayedDate();
    const qint64 day = date.toJulianDay();
    auto dayText = m_days.constFind(day);
    if (dayText == m_days.cend())
        dayText = m_days.insert(day, m_locale.toString(date, m_dateFormat));
    QString text;
    text.reserve(dayText->size() + 16);
    text += *dayText;
    text += QLatin1Char(' ');
    m_timeOfDay.appendTo(text, record->lastPlayedTimeOfDay());
    return text;
}

QString PlayedTexts::summary(const PlayRecord *record)
{
    if (!record || !record->everPlayed())
        return QStringLiteral("Never played");
    QString text = record->Times == 1 ? QStringLiteral("Played 1 time")
                                      : QStringLiteral("Played %1 times").arg(times(record));
    if (record->hasLastPlayed())
        text += QStringLiteral(", last ") + lastPlayed(record);
    return text + QStringLiteral(", ") + duration(record->Seconds);
}

QString PlayedTexts::duration(qint64 seconds)
{
    const qint64 hours = seconds / 3600;
    const qint64 minutes = seconds % 3600 / 60;
    if (hours > 0)
        return QStringLiteral("%1 h %2 min").arg(hours).arg(minutes);
    if (minutes > 0)
        return QStringLiteral("%1 min").arg(minutes);
    return QStringLiteral("%1 s").arg(seconds);
}

} // namespace Lanvo
