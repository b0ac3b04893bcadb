// The one way to wait outside a Qt event loop (in-process Qt tests use
// QTest::qWaitFor): poll for the condition the test needs, never sleep a
// fixed time, so the harness goes on as soon as the thing under test is ready
// however busy the machine is.
#pragma once

#include <chrono>
#include <concepts>
#include <thread>

// Polls the condition until it holds (true) or the timeout runs out (false).
// The timeout is a guard against a hang, never a measure of speed: pick it
// generous, and let nothing but a failure message depend on it. The condition
// is always asked once more after the last pause.
template <std::predicate Condition>
bool waitUntil(Condition condition, std::chrono::milliseconds timeout,
               std::chrono::milliseconds interval = std::chrono::milliseconds(10))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        if (condition())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(interval);
    }
}
