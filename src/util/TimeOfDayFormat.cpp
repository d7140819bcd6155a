#include "TimeOfDayFormat.h"

namespace Lanvo {

namespace {

bool isAsciiLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

int runLength(const QString &format, qsizetype at)
{
    qsizetype end = at;
    while (end < format.size() && format.at(end) == format.at(at))
        ++end;
    return static_cast<int>(end - at);
}

// Text in single quotes is written as it stands, and two quotes make one, as QLocale reads it.
QString quotedText(const QString &format, qsizetype &at)
{
    QString text;
    ++at;
    if (at < format.size() && format.at(at) == QLatin1Char('\'')) {
        ++at;
        return QStringLiteral("'");
    }
    while (at < format.size()) {
        if (format.at(at) == QLatin1Char('\'')) {
            if (at + 1 < format.size() && format.at(at + 1) == QLatin1Char('\'')) {
                text += QLatin1Char('\'');
                at += 2;
                continue;
            }
            ++at;
            break;
        }
        text += format.at(at++);
    }
    return text;
}

} // namespace

TimeOfDayFormat::TimeOfDayFormat(const QLocale &locale, const QString &format)
    : m_locale(locale)
    , m_format(format)
{
    if (!readFormat())
        return;
    fillTables();
    m_readByTables = agreesWithLocale();
}

bool TimeOfDayFormat::readFormat()
{
    bool twelveHours = false;
    for (qsizetype at = 0; at < m_format.size();) {
        const QChar c = m_format.at(at);
        if (c == QLatin1Char('\'')) {
            m_pieces.push_back({Field::Literal, false, quotedText(m_format, at)});
            continue;
        }
        if (!isAsciiLetter(c)) {
            m_pieces.push_back({Field::Literal, false, QString(c)});
            ++at;
            continue;
        }
        const int length = std::min(runLength(m_format, at), 2);
        const char letter = c.toLatin1();
        if (letter == 'a' || letter == 'A') {
            const bool withP = at + 1 < m_format.size() && m_format.at(at + 1) == QLatin1Char(letter == 'a' ? 'p' : 'P');
            m_pieces.push_back({letter == 'A' ? Field::UpperAmPm : Field::LowerAmPm, false, {}});
            twelveHours = true;
            at += withP ? 2 : 1;
            continue;
        }
        Field kind = Field::Literal;
        if (letter == 'h')
            kind = Field::Hour12; // a 24-hour clock unless an AM/PM text is shown, settled below
        else if (letter == 'H')
            kind = Field::Hour;
        else if (letter == 'm')
            kind = Field::Minute;
        else if (letter == 's')
            kind = Field::Second;
        else
            return false;
        m_pieces.push_back({kind, length == 2, {}});
        at += length;
    }
    if (!twelveHours) {
        for (Piece &piece : m_pieces) {
            if (piece.Kind == Field::Hour12)
                piece.Kind = Field::Hour;
        }
    }
    return true;
}

void TimeOfDayFormat::fillTables()
{
    const QString zero = m_locale.zeroDigit();
    for (int n = 0; n < 60; ++n) {
        m_plain[static_cast<size_t>(n)] = m_locale.toString(n);
        m_padded[static_cast<size_t>(n)] = n < 10 ? zero + m_plain[static_cast<size_t>(n)] : m_plain[static_cast<size_t>(n)];
    }
    m_amPm = {m_locale.amText().toUpper(), m_locale.pmText().toUpper(), m_locale.amText().toLower(),
              m_locale.pmText().toLower()};
}

void TimeOfDayFormat::appendByTables(QString &text, QTime time) const
{
    const int hour = time.hour();
    const auto number = [this](bool padded, int n) -> const QString & {
        return padded ? m_padded[static_cast<size_t>(n)] : m_plain[static_cast<size_t>(n)];
    };
    for (const Piece &piece : m_pieces) {
        switch (piece.Kind) {
        case Field::Literal:
            text += piece.Literal;
            break;
        case Field::Hour:
            text += number(piece.Padded, hour);
            break;
        case Field::Hour12:
            text += number(piece.Padded, hour % 12 == 0 ? 12 : hour % 12);
            break;
        case Field::Minute:
            text += number(piece.Padded, time.minute());
            break;
        case Field::Second:
            text += number(piece.Padded, time.second());
            break;
        case Field::UpperAmPm:
        case Field::LowerAmPm:
            text += m_amPm[(piece.Kind == Field::LowerAmPm ? 2 : 0) + (hour < 12 ? 0 : 1)];
            break;
        }
    }
}

// Times that tell every field apart: hours on both sides of noon and midnight, one and two digits.
bool TimeOfDayFormat::agreesWithLocale() const
{
    static const std::array<QTime, 7> Samples = {QTime(0, 0, 0),   QTime(1, 5, 7),   QTime(9, 59, 59),
                                                 QTime(11, 0, 30), QTime(12, 5, 0),  QTime(13, 45, 7),
                                                 QTime(23, 9, 59)};
    for (const QTime &time : Samples) {
        QString text;
        appendByTables(text, time);
        if (text != m_locale.toString(time, m_format))
            return false;
    }
    return true;
}

void TimeOfDayFormat::appendTo(QString &text, QTime time)
{
    if (m_readByTables) {
        appendByTables(text, time);
        return;
    }
    const int second = time.msecsSinceStartOfDay() / 1000;
    auto found = m_byQLocale.constFind(second);
    if (found == m_byQLocale.cend())
        found = m_byQLocale.insert(second, m_locale.toString(time, m_format));
    text += *found;
}

} // namespace Lanvo
