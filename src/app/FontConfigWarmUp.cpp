#include "FontConfigWarmUp.h"

#include <fontconfig/fontconfig.h>
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

} // namespace

FontConfigWarmUp::FontConfigWarmUp()
{
    // Left alone, the scheduler tends to start the thread on the main thread's processor. The two
    // then take turns there while another processor idles, and every round trip the application
    // makes to the display waits for its turn: on two processors that cost more than the warm-up
    // saved. Only this thread is confined; the main thread keeps every processor.
    const std::optional<cpu_set_t> elsewhere = otherProcessors();
    try {
        m_thread = std::thread([elsewhere] {
            if (elsewhere)
                sched_setaffinity(0, sizeof *elsewhere, &*elsewhere);
            FcInit();
        });
    } catch (const std::system_error &) {
        // No thread to spare: Qt loads the configuration itself when it first needs it.
    }
}

FontConfigWarmUp::~FontConfigWarmUp()
{
    wait();
}

void FontConfigWarmUp::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace Lanvo
