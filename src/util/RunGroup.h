#pragma once

#include <QtGlobal>

#include <sys/types.h>

namespace Lanvo {

// The process group one run of another program lives in, so that nothing the program starts outlives
// the run or Lanvo. The program's process leads a group of its own and asks the kernel to kill it
// when Lanvo dies; a watcher process joins the group and kills all of it once the run has ended, or
// as soon as Lanvo dies, however it dies: it waits for the end of a pipe that only Lanvo holds open.
// While the watcher lives, the group's id can't be taken by another group.
class RunGroup
{
public:
    RunGroup();
    ~RunGroup();
    RunGroup(const RunGroup &) = delete;
    RunGroup &operator=(const RunGroup &) = delete;

    // In the started program's process, between the fork and the exec: async-signal-safe calls only.
    void enterInChild() const noexcept;
    // Once the program runs as Leader: starts the watcher. Without one the run goes on as before.
    void watch(qint64 leader);
    // Sends the signal to every process of the group; false when there is no group to send it to.
    bool signal(int signalNumber) const;

private:
    const pid_t m_lanvo; // taken before the fork: the child compares its parent with it
    pid_t m_leader = 0;
    pid_t m_watcher = 0;
    int m_lanvoEnd = -1; // the pipe end whose closing ends the group
};

} // namespace Lanvo
