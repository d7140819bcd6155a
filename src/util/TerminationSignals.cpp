#include "TerminationSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace Lanvo {

namespace {

constexpr std::array<int, 3> HandledSignals{SIGTERM, SIGINT, SIGHUP};

// Written by the handler, read by the notifier; -1 while no object exists.
volatile sig_atomic_t writeEnd = -1;
int readEnd = -1;
std::array<struct sigaction, HandledSignals.size()> previousActions{};

void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    if (writeEnd >= 0) {
        // Nothing to do when the pair is full: a termination is already waiting to be read.
        const ssize_t written = ::write(writeEnd, &byte, 1);
        (void)written;
    }
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pair) != 0)
        return;
    readEnd = pair[1];
    writeEnd = pair[0];
    m_notifier = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignals);

    struct sigaction action{};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < HandledSignals.size(); ++i)
        ::sigaction(HandledSignals[i], &action, &previousActions[i]);
}

TerminationSignals::~TerminationSignals()
{
    if (readEnd < 0)
        return;
    for (size_t i = 0; i < HandledSignals.size(); ++i)
        ::sigaction(HandledSignals[i], &previousActions[i], nullptr);
    delete m_notifier;
    const int write = writeEnd;
    writeEnd = -1;
    ::close(write);
    ::close(readEnd);
    readEnd = -1;
}

void TerminationSignals::readSignals()
{
    unsigned char byte = 0;
    while (::read(readEnd, &byte, 1) == 1)
        Q_EMIT terminationRequested(byte);
}

} // namespace Lanvo
