#include "RunGroup.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace Lanvo {

namespace {

// Every descriptor but standard input, so that the watcher holds nothing of Lanvo's open; the
// descriptor limit bounds the loop where close_range is missing.
void closeFromOne(long openMax) noexcept
{
    if (::close_range(1, ~0U, 0) == 0)
        return;
    for (long fd = 1; fd < openMax; ++fd)
        ::close(int(fd));
}

// The watcher's whole life, in a forked copy of Lanvo: async-signal-safe calls only. It ignores
// every signal sent to the group, waits until the pipe's other end is closed (the run has ended, or
// Lanvo is gone) and then kills what is left of the group, itself included.
[[noreturn]] void runWatcher(pid_t leader, int lanvoGone, long openMax) noexcept
{
    sigset_t all;
    ::sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, nullptr);
    if (::setpgid(0, leader) != 0)
        ::_exit(0); // the group is gone already
    if (lanvoGone != 0 && ::dup2(lanvoGone, 0) != 0)
        ::_exit(0);
    closeFromOne(openMax);
    char byte = 0;
    while (::read(0, &byte, 1) < 0 && errno == EINTR) {
    }
    ::kill(-leader, SIGKILL);
    ::_exit(0);
}

} // namespace

RunGroup::RunGroup()
    : m_lanvo(::getpid())
{
}

RunGroup::~RunGroup()
{
    if (m_lanvoEnd >= 0)
        ::close(m_lanvoEnd);
    if (m_watcher > 0) {
        while (::waitpid(m_watcher, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
}

void RunGroup::enterInChild() const noexcept
{
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // Lanvo may have died between the fork and the request: then nobody would ever send the signal.
    if (::getppid() != m_lanvo)
        ::_exit(127);
}

void RunGroup::watch(qint64 leader)
{
    if (leader <= 0 || m_leader != 0)
        return;
    m_leader = pid_t(leader);
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return;
    const long openMax = ::sysconf(_SC_OPEN_MAX);
    const pid_t watcher = ::fork();
    if (watcher == 0)
        runWatcher(m_leader, ends[0], openMax > 0 ? openMax : 1024);
    ::close(ends[0]);
    if (watcher < 0) {
        ::close(ends[1]);
        return;
    }
    m_watcher = watcher;
    m_lanvoEnd = ends[1];
}

bool RunGroup::signal(int signalNumber) const
{
    return m_leader > 0 && ::kill(-m_leader, signalNumber) == 0;
}

} // namespace Lanvo
