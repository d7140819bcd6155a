#pragma once

#include <future>
#include <system_error>
#include <utility>

namespace Lanvo {

// Starts a task as std::async does with the policy it is given.
struct StandardLaunch
{
    template<typename Task>
    auto operator()(std::launch policy, Task &&task) const
    {
        return std::async(policy, std::forward<Task>(task));
    }
};

// Runs Task on a thread of its own or, when no thread can be had, once its result is asked for. The
// first attempt gets a copy: a refused launch has already taken what it was given, and the task must
// still hold its paths and names when it runs later.
template<typename Task, typename Launch = StandardLaunch>
auto onAnotherThread(Task task, Launch launch = {})
{
    try {
        return launch(std::launch::async, task);
    } catch (const std::system_error &) {
        return launch(std::launch::deferred, std::move(task));
    }
}

} // namespace Lanvo
