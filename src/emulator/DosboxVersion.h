#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <chrono>

class QProcess;

namespace Lanvo {

// Looks for a DOSBox program as a run does and asks it its version ("-version") without waiting for
// it: answered() follows once, at the latest when the time limit is over and the program is killed.
// A new start forgets the previous one.
class DosboxVersionProbe : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds DefaultTimeLimit{5000};

    explicit DosboxVersionProbe(QObject *parent = nullptr);
    ~DosboxVersionProbe() override;

    void start(const QString &program, std::chrono::milliseconds timeLimit = DefaultTimeLimit);
    // Kills a program still asked; no answer follows.
    void stop();
    // Between start() and answered().
    bool isAsking() const { return m_timeLimit.isActive(); }

Q_SIGNALS:
    // Path: the program found, empty when there is none. Version: the first line it printed, without
    // its copyright, empty when it told none in time.
    void answered(const QString &path, const QString &version);

private:
    void finish();

    QPointer<QProcess> m_process;
    QTimer m_timeLimit;
    QString m_path;
    QByteArray m_output;
};

// The version a DOSBox program printed: its first line that is not blank, up to ", copyright".
QString dosboxVersionLine(const QByteArray &output);

} // namespace Lanvo
