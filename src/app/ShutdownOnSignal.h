#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace Lanvo {

class TerminationSignals;

// On SIGTERM, SIGINT or SIGHUP (a desktop logout, Ctrl+C, a closed terminal) the program ends as if
// its window were closed, so the settings are saved and the initialisation file is patched. A running
// emulator is asked to end first (SIGTERM, then SIGKILL after the grace time), so nothing is left
// running; open dialogs are closed with it.
class ShutdownOnSignal : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultGraceMilliseconds = 3000;

    explicit ShutdownOnSignal(QWidget *window, int graceMilliseconds = DefaultGraceMilliseconds);

Q_SIGNALS:
    void windowClosed();

private:
    void onTerminationRequested();
    void closeWhenNoProgramRuns();

    QPointer<QWidget> m_window;
    TerminationSignals *m_signals;
    int m_graceMilliseconds;
    bool m_closing = false;
};

} // namespace Lanvo
