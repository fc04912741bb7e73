// Opening and reading 1,000 small files from the data pack against the same
// files loose; run from the build folder: bench/files/files_bench.exe. Prints the
// pack's time as a multiple of the loose files' time.

#include "bench/support/BenchArguments.h"
#include "bench/support/RunReporter.h"
#include "engine/files/FolderArchive.h"
#include "engine/files/PackArchive.h"

#include <benchmark/benchmark.h>

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int kFiles = 1000;

WideString BenchFolder()
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    WideString folder(module);
    folder.resize(folder.rfind(L'\\') + 1);
    return folder + L"bench-data";
}

void ReadAll(Archive& archive, benchmark::State& state)
{
    char buffer[1024];
    for (auto _ : state) {
        int64_t bytes = 0;
        for (int i = 0; i < kFiles; ++i) {
            WideString name;
            FormatWideString(name, "Small\\File%04d.bin", i);
            std::unique_ptr<Stream> in = archive.OpenRead(name);
            bytes += in ? in->Read(buffer, sizeof buffer) : 0;
        }
        benchmark::DoNotOptimize(bytes);
    }
}

void PackMembers(benchmark::State& state)
{
    SetCurrentDirectoryW(BenchFolder().c_str());
    PackArchive pack(L"Data.DCP");
    ReadAll(pack, state);
}

void LooseFiles(benchmark::State& state)
{
    SetCurrentDirectoryW((BenchFolder() + L"\\loose").c_str());
    FolderArchive folder;
    ReadAll(folder, state);
}

BENCHMARK(PackMembers)->Unit(benchmark::kMillisecond);
BENCHMARK(LooseFiles)->Unit(benchmark::kMillisecond);

} // namespace

int wmain(int argc, wchar_t** argv)
{
    InitializeBenchmarks(argc, argv);
    // Each benchmark's time per iteration, for the closing ratio.
    std::map<std::string, double> times;
    RunReporter reporter([&times](const BenchRun& run) { times[run.benchmark_name()] = run.GetAdjustedRealTime(); });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double loose = times["LooseFiles"];
    if (loose > 0.0) {
        std::printf("pack / loose: %.2f\n", times["PackMembers"] / loose);
    }
    benchmark::Shutdown();
    return 0;
}
