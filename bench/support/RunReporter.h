#pragma once
// The console report, with every finished run also handed to the benchmark's
// own closing summary.

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

using BenchRun = benchmark::BenchmarkReporter::Run;

class RunReporter : public benchmark::ConsoleReporter {
public:
    explicit RunReporter(std::function<void(const BenchRun&)> keep) : keep_(std::move(keep)) {}

    void ReportRuns(const std::vector<BenchRun>& runs) override
    {
        for (const BenchRun& run : runs) {
            keep_(run);
        }
        ConsoleReporter::ReportRuns(runs);
    }

private:
    std::function<void(const BenchRun&)> keep_;
};

// Runs the benchmarks the command line selects; each one's last run that
// ended without an error, by name, for the closing figures.
inline std::map<std::string, BenchRun> RunBenchmarks()
{
    std::map<std::string, BenchRun> runs;
    RunReporter reporter([&runs](const BenchRun& run) {
        if (!run.error_occurred) {
            runs.insert_or_assign(run.run_name.function_name, run);
        }
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    return runs;
}
