#include "vdrBenchRatios.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

struct TPair {
    std::string operation;
    std::string limit;
    bool cpuTime = false;
};

std::vector<TPair> &Pairs() {
    static std::vector<TPair> pairs;
    return pairs;
}

// Keeps the real and CPU time per iteration of every run, by name.
class TRatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> times;
    std::map<std::string, double> cpuTimes;

    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &run : runs) {
            if (run.iterations > 0) {
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
                cpuTimes[run.benchmark_name()] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

void PairWith(const char *operation, const char *limit, bool cpuTime) {
    Pairs().push_back({operation, limit, cpuTime});
}

int RunBenchmarksWithRatios(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nratio = operation time / limit time, same bytes, same run\n");
    for (const TPair &pair : Pairs()) {
        const std::map<std::string, double> &times = pair.cpuTime ? reporter.cpuTimes : reporter.times;
        for (const auto &[name, time] : times) {
            if (name.rfind(pair.operation + "/", 0) != 0)
                continue;
            const std::string arg = name.substr(pair.operation.size());
            const auto other = times.find(pair.limit + arg);
            if (other != times.end() && other->second > 0)
                std::printf("%-40s %8.2f x %s%s%s\n", name.c_str(), time / other->second, pair.limit.c_str(),
                            arg.c_str(), pair.cpuTime ? " (CPU)" : "");
        }
    }
    benchmark::Shutdown();
    return 0;
}
