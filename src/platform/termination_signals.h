// Turns the signals that ask the program to end (SIGTERM, SIGINT, SIGHUP)
// into a call on the thread that made this object, normally the GUI thread,
// where it is safe to quit the event loop. A signal handler may do almost
// nothing, so it only writes a byte to a socket that the event loop watches.
#pragma once

#include <QObject>

#include <array>
#include <functional>
#include <signal.h>

class QSocketNotifier;

class TerminationSignals : public QObject {
    Q_OBJECT

public:
    // Needs a running QCoreApplication (or QApplication) to deliver the call.
    explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    // Puts back the handlers that were there before.
    ~TerminationSignals() override;

    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    bool openSocket();
    void installHandlers();
    void readSignals();

    std::function<void()> onSignal;
    int readEnd = -1;
    int writeEnd = -1;
    int previousWriteEnd = -1;
    bool installed = false;
    QSocketNotifier* notifier = nullptr;
    std::array<struct sigaction, 3> previousActions{};
};
