#pragma once

#include <sched.h>

#include <optional>
#include <thread>

namespace Lanvo {

// Loads the system's font configuration on a thread of its own while the application connects to
// the display. Reading it is the longest step of a start before the first text is measured, and the
// application object does not need it; Qt's font database then finds it loaded. Until it is loaded,
// the warm-up and the main thread keep to a processor each, when there are two.
class FontConfigWarmUp
{
public:
    FontConfigWarmUp();
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp &) = delete;
    FontConfigWarmUp &operator=(const FontConfigWarmUp &) = delete;

    // Returns once the configuration is loaded. Call it before anything measures text: a font
    // lookup that started earlier would load a second configuration and throw one away.
    void wait();

private:
    std::thread m_thread;
    std::optional<cpu_set_t> m_mainProcessors; // the main thread's own, while it is held on one
    cpu_set_t m_heldOn{};                      // the one it is held on
};

} // namespace Lanvo
