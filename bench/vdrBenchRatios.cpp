#include "vdrBenchRatios.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<std::string, std::string>> &Pairs() {
    static std::vector<std::pair<std::string, std::string>> pairs;
    return pairs;
}

// Keeps the real time per iteration of every run, by name.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;

    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs)
            if (run.iterations > 0)
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

void PairWith(const char *operation, const char *limit) { Pairs().emplace_back(operation, limit); }

int RunBenchmarksWithRatios(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nratio = operation time / limit time, same bytes, same run\n");
    for (const auto &[operation, limit] : Pairs()) {
        for (const auto &[name, time] : reporter.times) {
            if (name.rfind(operation + "/", 0) != 0)
                continue;
            const std::string arg = name.substr(operation.size());
            const auto other = reporter.times.find(limit + arg);
            if (other != reporter.times.end() && other->second > 0)
                std::printf("%-40s %8.2f x %s%s\n", name.c_str(), time / other->second, limit.c_str(),
                            arg.c_str());
        }
    }
    benchmark::Shutdown();
    return 0;
}
