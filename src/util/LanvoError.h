#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace Lanvo {

// The one failure type of the program: it carries the text the user sees in the general error box.
class LanvoError : public std::exception
{
public:
    explicit LanvoError(QString message)
        : m_message(std::move(message))
        , m_utf8(m_message.toUtf8())
    {
    }

    const QString &message() const noexcept { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace Lanvo
