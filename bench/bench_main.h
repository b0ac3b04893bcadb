// A benchmark main that also prints chosen pairs as ratios, each measured in
// the same run, so figures compare on a noisy shared machine.
#pragma once

#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

int runBenchmarksWithRatios(int argc, char** argv, const std::vector<std::pair<std::string, std::string>>& ratios);
