// A benchmark main that also prints chosen pairs as ratios of CPU time, each
// measured in the same run, so figures compare on a noisy shared machine
// (time spent waiting for a core counts in neither).
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

int runBenchmarksWithRatios(int argc, char** argv, const std::vector<std::pair<std::string, std::string>>& ratios);
