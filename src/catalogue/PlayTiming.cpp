#include "PlayTiming.h"

namespace Lanvo {

PlayTiming::PlayTiming(RunHooks &hooks)
    : m_hooks(hooks)
    , m_saved(hooks)
{
    m_hooks.Started = [this] {
        m_start = QDateTime::currentDateTime();
        m_clock.start();
        if (m_saved.Started)
            m_saved.Started();
    };
    m_hooks.Finished = [this] {
        if (m_clock.isValid())
            m_milliseconds = m_clock.elapsed();
        if (m_saved.Finished)
            m_saved.Finished();
    };
}

PlayTiming::~PlayTiming()
{
    m_hooks = m_saved;
}

qint64 PlayTiming::seconds() const
{
    if (!started())
        return 0;
    return (m_milliseconds >= 0 ? m_milliseconds : m_clock.elapsed()) / 1000;
}

} // namespace Lanvo
