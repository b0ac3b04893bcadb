#include "bench_main.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
                benchmark::BenchmarkName name = run.run_name;
                name.time_type.clear(); // a benchmark keeps its name when it counts its process's CPU time
                times[name.str()] = run.GetAdjustedCPUTime();
            }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

void copyBytes(benchmark::State& state, std::size_t bytes)
{
    const std::vector<std::uint8_t> source(bytes, 0x5A);
    std::vector<std::uint8_t> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
}

int runBenchmarksWithRatios(int argc, char** argv, const std::vector<std::pair<std::string, std::string>>& ratios)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const auto& [measured, baseline] : ratios) {
        const auto found = reporter.times.find(measured), base = reporter.times.find(baseline);
        if (found != reporter.times.end() && base != reporter.times.end() && base->second > 0)
            std::printf("ratio %s / %s = %.2f\n", measured.c_str(), baseline.c_str(), found->second / base->second);
    }
    benchmark::Shutdown();
    return 0;
}
