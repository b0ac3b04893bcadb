#include "clock_seeded_random_numbers.h"

#include <chrono>

ClockSeededRandomNumbers::ClockSeededRandomNumbers() { reseed(); }

// Nanoseconds since the epoch: two presses never share a seed, and every
// bit of the count reaches the generator's state.
void ClockSeededRandomNumbers::reseed()
{
    const auto ticks = std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count());
    std::seed_seq seed{std::uint32_t(ticks), std::uint32_t(ticks >> 32)};
    generator.seed(seed);
}

int ClockSeededRandomNumbers::below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(generator); }
