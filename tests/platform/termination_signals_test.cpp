// TerminationSignals with real signals and a real event loop.
#include "scoped_application.h"
#include "termination_signals.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <array>
#include <csignal>

namespace {

constexpr std::array<int, 3> endingSignals = {SIGTERM, SIGINT, SIGHUP};
// Guards against a call that never comes; not a measure of speed.
constexpr int guardMilliseconds = 10000;

volatile std::sig_atomic_t lastSignalSeenBefore = 0;

void handlerFromBefore(int signalNumber) { lastSignalSeenBefore = signalNumber; }

// Puts the handlers the process had back after the test.
class SavedSignalActions {
public:
    SavedSignalActions()
    {
        for (std::size_t index = 0; index < endingSignals.size(); ++index)
            sigaction(endingSignals[index], nullptr, &actions[index]);
    }
    ~SavedSignalActions()
    {
        for (std::size_t index = 0; index < endingSignals.size(); ++index)
            sigaction(endingSignals[index], &actions[index], nullptr);
    }

private:
    std::array<struct sigaction, 3> actions{};
};

void installHandlerFromBefore()
{
    struct sigaction action {};
    action.sa_handler = handlerFromBefore;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : endingSignals)
        sigaction(signalNumber, &action, nullptr);
}

class TerminationSignalsTest : public ::testing::Test {
protected:
    SavedSignalActions savedActions;
    ScopedApplication<QCoreApplication> application;
};

TEST_F(TerminationSignalsTest, EachSignalRunsTheFunctionOnTheEventLoop)
{
    int calls = 0;
    QThread* callingThread = nullptr;
    TerminationSignals signalWatch([&] {
        ++calls;
        callingThread = QThread::currentThread();
    });

    for (int signalNumber : endingSignals) {
        SCOPED_TRACE(strsignal(signalNumber));
        const int callsBefore = calls;
        ASSERT_EQ(raise(signalNumber), 0);
        // The handler only wakes the loop; the work waits for the loop.
        EXPECT_EQ(calls, callsBefore);
        EXPECT_TRUE(QTest::qWaitFor([&] { return calls > callsBefore; }, guardMilliseconds));
        EXPECT_EQ(calls, callsBefore + 1);
        EXPECT_EQ(callingThread, application->thread());
    }
}

TEST_F(TerminationSignalsTest, AFloodOfSignalsNeitherBlocksNorGetsLost)
{
    // Far more than the socket holds: a handler that waited would hang here.
    int calls = 0;
    TerminationSignals signalWatch([&] { ++calls; });
    for (int round = 0; round < 5000; ++round)
        raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls > 0; }, guardMilliseconds));
}

TEST_F(TerminationSignalsTest, PutsThePreviousHandlersBack)
{
    installHandlerFromBefore();
    lastSignalSeenBefore = 0;
    int calls = 0;
    {
        TerminationSignals signalWatch([&] { ++calls; });
        raise(SIGHUP);
        EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 1; }, guardMilliseconds));
        EXPECT_EQ(lastSignalSeenBefore, 0) << "the earlier handler still ran";
    }
    for (int signalNumber : endingSignals) {
        SCOPED_TRACE(strsignal(signalNumber));
        raise(signalNumber);
        EXPECT_EQ(lastSignalSeenBefore, signalNumber);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(calls, 1);
}

} // namespace
