// A benchmark main that also prints chosen pairs as ratios of CPU time, each
// measured in the same run, so figures compare on a noisy shared machine
// (time spent waiting for a core counts in neither). A benchmark whose work
// runs on more threads than its own counts its whole process's CPU time.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// Copies that many bytes from one block to another at each iteration.
void copyBytes(benchmark::State& state, std::size_t bytes);
// What a screen-sized repaint is measured against: one 1920 x 1080 frame
// at 32 bits per pixel, copied.
inline void copyFrame1920x1080(benchmark::State& state) { copyBytes(state, std::size_t(1920) * 1080 * 4); }

int runBenchmarksWithRatios(int argc, char** argv, const std::vector<std::pair<std::string, std::string>>& ratios);
