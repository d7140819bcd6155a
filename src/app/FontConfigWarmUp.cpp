#include "FontConfigWarmUp.h"

#include <fontconfig/fontconfig.h>
#include <pthread.h>
#include <sched.h>

#include <optional>
#include <system_error>

namespace Lanvo {

namespace {

// The processors this process may run on, less the one the calling thread is on now; none when no
// other is left.
std::optional<cpu_set_t> otherProcessors()
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    const int current = sched_getcpu();
    if (sched_getaffinity(0, sizeof allowed, &allowed) != 0 || current < 0 || current >= CPU_SETSIZE)
        return std::nullopt;
    CPU_CLR(current, &allowed);
    if (CPU_COUNT(&allowed) == 0)
        return std::nullopt;
    return allowed;
}

// Left alone, the scheduler tends to start the thread on the main thread's processor. The two then
// take turns there while another processor idles, and every round trip the application makes to the
// display waits for its turn: on two processors that cost more than the warm-up saved. Only this
// thread is confined; the main thread keeps every processor. At idle priority the thread also gives
// way at once to the display server, which answers those round trips, wherever the server runs.
void keepOutOfTheWay(const std::optional<cpu_set_t> &elsewhere)
{
    if (elsewhere)
        sched_setaffinity(0, sizeof *elsewhere, &*elsewhere);
    const sched_param idle{};
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &idle);
}

} // namespace

FontConfigWarmUp::FontConfigWarmUp()
    : FontConfigWarmUp([] { FcInit(); })
{
}

FontConfigWarmUp::FontConfigWarmUp(std::function<void()> load)
{
    std::promise<void> loaded;
    m_loaded = loaded.get_future();
    try {
        m_thread = std::thread([elsewhere = otherProcessors(), load = std::move(load),
                                loaded = std::move(loaded)]() mutable {
            keepOutOfTheWay(elsewhere);
            load();
            loaded.set_value();
        });
    } catch (const std::system_error &) {
        // No thread to spare: Qt loads the configuration itself when it first needs it.
        m_loaded = {};
    }
}

FontConfigWarmUp::~FontConfigWarmUp()
{
    if (m_thread.joinable())
        m_thread.join();
}

void FontConfigWarmUp::wait()
{
    if (m_loaded.valid())
        m_loaded.wait_for(LongestWait);
}

} // namespace Lanvo
