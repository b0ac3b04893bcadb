// Waiting for a condition instead of sleeping for a fixed time: the harness
// goes on as soon as the program under test is ready, however busy the
// machine is.
#pragma once

#include <chrono>
#include <thread>

// Polls the condition until it holds (true) or the time runs out (false).
template <typename Condition>
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
