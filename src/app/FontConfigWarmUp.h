#pragma once

#include <chrono>
#include <functional>
#include <future>
#include <thread>

namespace Lanvo {

// Loads the system's font configuration on a thread of its own while the application connects to
// the display. Reading it is the longest step of a start before the first text is measured, and the
// application object does not need it; Qt's font database then finds it loaded.
class FontConfigWarmUp
{
public:
    FontConfigWarmUp();
    // Runs Load on the warm-up thread instead of loading the font configuration.
    explicit FontConfigWarmUp(std::function<void()> load);
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp &) = delete;
    FontConfigWarmUp &operator=(const FontConfigWarmUp &) = delete;

    // Returns once the configuration is loaded, or after LongestWait if it is not by then. Call it
    // before anything measures text: a font lookup that started earlier would load a second
    // configuration and throw one away. That is still what happens when the wait runs out, which
    // only a busy machine that gives the idle warm-up no processor does; no slower than no warm-up.
    void wait();

    static constexpr std::chrono::milliseconds LongestWait{25};

private:
    std::future<void> m_loaded;
    std::thread m_thread;
};

} // namespace Lanvo
