#include "FontConfigWarmUp.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

namespace Lanvo {

namespace {

// The processors the calling thread may run on, and the one it is on now; none when either is unknown
// or there is no second processor for the warm-up.
std::optional<std::pair<cpu_set_t, int>> processorsToShare()
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    const int current = sched_getcpu();
    if (sched_getaffinity(0, sizeof allowed, &allowed) != 0 || current < 0 || current >= CPU_SETSIZE
        || !CPU_ISSET(current, &allowed) || CPU_COUNT(&allowed) < 2)
        return std::nullopt;
    return std::make_pair(allowed, current);
}

// Gives every thread of the process that is held on exactly Held the processors in All: the main
// thread, and the threads it started while held, which inherited the hold.
void releaseHeldThreads(const cpu_set_t &held, const cpu_set_t &all)
{
    std::error_code error;
    const std::filesystem::directory_iterator end;
    for (std::filesystem::directory_iterator task("/proc/self/task", error); !error && task != end;
         task.increment(error)) {
        const pid_t thread = static_cast<pid_t>(std::strtol(task->path().filename().c_str(), nullptr, 10));
        cpu_set_t processors;
        if (thread > 0 && sched_getaffinity(thread, sizeof processors, &processors) == 0
            && CPU_EQUAL(&processors, &held))
            sched_setaffinity(thread, sizeof all, &all);
    }
    // Without the list of threads, the main thread at least gets its processors back.
    if (error)
        sched_setaffinity(0, sizeof all, &all);
}

} // namespace

FontConfigWarmUp::FontConfigWarmUp()
{
    // The warm-up and the main thread each keep to a processor until the warm-up ends. Left free, the
    // scheduler puts them together: it starts the thread on the main thread's processor; and when the
    // main thread waits for the thread to release the memory map both are changing, the thread wakes
    // it onto the thread's own processor, then runs on to its end (2 to 3 ms) while the main thread
    // queues behind it and the other processor idles.
    const auto shared = processorsToShare();
    cpu_set_t elsewhere{};
    if (shared) {
        elsewhere = shared->first;
        CPU_CLR(shared->second, &elsewhere);
    }
    try {
        m_thread = std::thread([shared, elsewhere] {
            if (shared)
                sched_setaffinity(0, sizeof elsewhere, &elsewhere);
            FcInit();
        });
    } catch (const std::system_error &) {
        // No thread to spare: Qt loads the configuration itself when it first needs it.
        return;
    }
    if (!shared)
        return;
    CPU_ZERO(&m_heldOn);
    CPU_SET(shared->second, &m_heldOn);
    if (sched_setaffinity(0, sizeof m_heldOn, &m_heldOn) == 0)
        m_mainProcessors = shared->first;
}

FontConfigWarmUp::~FontConfigWarmUp()
{
    wait();
}

void FontConfigWarmUp::wait()
{
    if (m_thread.joinable())
        m_thread.join();
    if (m_mainProcessors) {
        releaseHeldThreads(m_heldOn, *m_mainProcessors);
        m_mainProcessors.reset();
    }
}

} // namespace Lanvo
