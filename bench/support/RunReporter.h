#pragma once
// The console report, with every finished run also handed to the benchmark's
// own closing summary.

#include <benchmark/benchmark.h>

#include <functional>
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
