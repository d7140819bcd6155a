#pragma once

#include <QHash>
#include <QLocale>
#include <QString>
#include <QTime>

#include <array>
#include <vector>

namespace Lanvo {

// A locale's time-of-day format, read once. QLocale reads the format again and asks the system for
// its digits on each call, which costs a list of tens of thousands of times more than the rest of its
// fill; here hours, minutes, seconds and the AM/PM text come from tables. A format with anything else
// (time zones, milliseconds, letters Lanvo does not know), or one whose tables write a sample time
// differently from QLocale, is left to QLocale, one call per distinct time.
class TimeOfDayFormat
{
public:
    TimeOfDayFormat(const QLocale &locale, const QString &format);

    // Appends what locale.toString(time, format) gives.
    void appendTo(QString &text, QTime time);
    bool readByTables() const { return m_readByTables; }

private:
    enum class Field : quint8 { Literal, Hour, Hour12, Minute, Second, UpperAmPm, LowerAmPm };
    struct Piece
    {
        Field Kind = Field::Literal;
        bool Padded = false;
        QString Literal;
    };

    bool readFormat();
    void fillTables();
    void appendByTables(QString &text, QTime time) const;
    bool agreesWithLocale() const;

    QLocale m_locale;
    QString m_format;
    std::vector<Piece> m_pieces;
    std::array<QString, 60> m_plain;
    std::array<QString, 60> m_padded;
    std::array<QString, 4> m_amPm; // upper AM, upper PM, lower AM, lower PM
    bool m_readByTables = false;
    QHash<int, QString> m_byQLocale; // by second of the day
};

} // namespace Lanvo
