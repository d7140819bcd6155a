#pragma once

#include "Platform.h"

#include <QDateTime>
#include <QElapsedTimer>

namespace Lanvo {

// Times one run of the emulator through the hooks the run calls: the start (local time) once the
// program is running, and the length in whole seconds once it has ended. It wraps Hooks for its own
// lifetime, so whatever starts the program (directly or through DOSBox) is timed alike, and a run that
// was refused or could not start never calls Started.
class PlayTiming
{
public:
    explicit PlayTiming(RunHooks &hooks);
    ~PlayTiming();
    PlayTiming(const PlayTiming &) = delete;
    PlayTiming &operator=(const PlayTiming &) = delete;

    bool started() const { return m_clock.isValid(); }
    const QDateTime &start() const { return m_start; }
    // From the start to the end, or to now while the program still runs.
    qint64 seconds() const;

private:
    RunHooks &m_hooks;
    const RunHooks m_saved;
    QDateTime m_start;
    QElapsedTimer m_clock; // monotonic: a clock change during play does not count
    qint64 m_milliseconds = -1;
};

} // namespace Lanvo
