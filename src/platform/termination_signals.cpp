#include "termination_signals.h"

#include <QSocketNotifier>

#include <atomic>
#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> terminationSignals = {SIGTERM, SIGINT, SIGHUP};

// Read by the signal handler, so it must be lock-free.
std::atomic<int> signalWriteEnd{-1};
static_assert(std::atomic<int>::is_always_lock_free);

void onTerminationSignal(int signalNumber)
{
    const int savedErrno = errno; // the interrupted code may be about to read it
    const int writeEnd = signalWriteEnd.load();
    if (writeEnd >= 0) {
        const char byte = char(signalNumber);
        // A full socket already holds a wake-up, so a failed write loses nothing.
        if (::write(writeEnd, &byte, 1) < 0) {}
    }
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal(std::move(onSignal))
{
    if (!openSocket())
        return;
    notifier = new QSocketNotifier(readEnd, QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignals);
    installHandlers();
}

TerminationSignals::~TerminationSignals()
{
    if (installed) {
        for (std::size_t index = 0; index < terminationSignals.size(); ++index)
            sigaction(terminationSignals[index], &previousActions[index], nullptr);
        signalWriteEnd.store(previousWriteEnd);
    }
    if (readEnd >= 0)
        ::close(readEnd);
    if (writeEnd >= 0)
        ::close(writeEnd);
}

bool TerminationSignals::openSocket()
{
    // Non-blocking: the handler must never wait, and reading drains the socket.
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0) {
        qWarning("Cannot watch for termination signals: %s", std::strerror(errno));
        return false;
    }
    readEnd = ends[0];
    writeEnd = ends[1];
    return true;
}

void TerminationSignals::installHandlers()
{
    previousWriteEnd = signalWriteEnd.exchange(writeEnd);
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART; // other code's system calls carry on
    for (std::size_t index = 0; index < terminationSignals.size(); ++index)
        sigaction(terminationSignals[index], &action, &previousActions[index]);
    installed = true;
}

void TerminationSignals::readSignals()
{
    char buffer[64];
    bool received = false;
    while (::read(readEnd, buffer, sizeof buffer) > 0)
        received = true;
    if (received && onSignal)
        onSignal();
}
