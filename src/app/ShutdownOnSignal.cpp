#include "ShutdownOnSignal.h"

#include "Platform.h"
#include "TerminationSignals.h"

#include <QApplication>
#include <QTimer>

namespace Lanvo {

namespace {

// How often the end of a running emulator is looked for once it was asked to end.
constexpr int PollMilliseconds = 20;
constexpr int MaxModalWindows = 8;

} // namespace

ShutdownOnSignal::ShutdownOnSignal(QWidget *window, int graceMilliseconds)
    : QObject(window)
    , m_window(window)
    , m_signals(new TerminationSignals(this))
    , m_graceMilliseconds(graceMilliseconds)
{
    connect(m_signals, &TerminationSignals::terminationRequested, this, &ShutdownOnSignal::onTerminationRequested);
}

void ShutdownOnSignal::onTerminationRequested()
{
    if (m_closing)
        return; // a second signal changes nothing: the end is under way
    m_closing = true;
    endRunningProgram(m_graceMilliseconds);
    closeWhenNoProgramRuns();
}

// The window closes only once the emulator has ended: the run's own handler then finishes first.
void ShutdownOnSignal::closeWhenNoProgramRuns()
{
    if (isProgramRunning()) {
        QTimer::singleShot(PollMilliseconds, this, &ShutdownOnSignal::closeWhenNoProgramRuns);
        return;
    }
    // Bounded: a dialog that refuses to close is left to the end of the program.
    for (int i = 0; i < MaxModalWindows; ++i) {
        QWidget *const modal = QApplication::activeModalWidget();
        if (!modal || !modal->close())
            break;
    }
    if (m_window)
        m_window->close();
    Q_EMIT windowClosed();
}

} // namespace Lanvo
