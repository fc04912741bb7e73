// Opening and reading 1,000 small files (512 bytes, deflated in the pack)
// from the data pack against the same files loose, and opening the pack's
// members without reading them; run from the build folder:
// bench/files/files_bench.exe. Prints the pack's time as a multiple of the
// loose files' time, and how much of it opening takes.

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
// A pass takes near a second under Wine: several make the figure steadier.
constexpr double kMinSeconds = 3.0;

WideString BenchFolder()
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    WideString folder(module);
    folder.resize(folder.rfind(L'\\') + 1);
    return folder + L"bench-data";
}

// Opens every file, and reads it when asked to.
void OpenAll(Archive& archive, bool read, benchmark::State& state)
{
    char buffer[1024];
    for (auto _ : state) {
        int64_t bytes = 0;
        for (int i = 0; i < kFiles; ++i) {
            WideString name;
            FormatWideString(name, "Small\\File%04d.bin", i);
            std::unique_ptr<Stream> in = archive.OpenRead(name);
            bytes += in && read ? in->Read(buffer, sizeof buffer) : 0;
        }
        benchmark::DoNotOptimize(bytes);
    }
}

void PackMembers(benchmark::State& state)
{
    SetCurrentDirectoryW(BenchFolder().c_str());
    PackArchive pack(L"Data.DCP");
    OpenAll(pack, true, state);
}

void PackMembersOpenedOnly(benchmark::State& state)
{
    SetCurrentDirectoryW(BenchFolder().c_str());
    PackArchive pack(L"Data.DCP");
    OpenAll(pack, false, state);
}

void LooseFiles(benchmark::State& state)
{
    SetCurrentDirectoryW((BenchFolder() + L"\\loose").c_str());
    FolderArchive folder;
    OpenAll(folder, true, state);
}

BENCHMARK(PackMembers)->Unit(benchmark::kMillisecond)->MinTime(kMinSeconds);
BENCHMARK(PackMembersOpenedOnly)->Unit(benchmark::kMillisecond)->MinTime(kMinSeconds);
BENCHMARK(LooseFiles)->Unit(benchmark::kMillisecond)->MinTime(kMinSeconds);

} // namespace

int wmain(int argc, wchar_t** argv)
{
    InitializeBenchmarks(argc, argv);
    // Each benchmark's time per iteration, for the closing ratio.
    std::map<std::string, double> times;
    RunReporter reporter(
        [&times](const BenchRun& run) { times[run.run_name.function_name] = run.GetAdjustedRealTime(); });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double pack = times["PackMembers"];
    const double loose = times["LooseFiles"];
    if (loose > 0.0 && pack > 0.0) {
        std::printf("%d small files opened and read, pack / loose: %.2f: the pack is %s (%.0f ms against %.0f ms)\n",
                    kFiles, pack / loose, pack > loose ? "slower" : "faster", pack, loose);
        std::printf("  opening the pack's members alone: %.0f ms = %.2f of the pack's time; each opens the pack "
                    "file again and reads its end record, directory entry and member header\n",
                    times["PackMembersOpenedOnly"], times["PackMembersOpenedOnly"] / pack);
    }
    benchmark::Shutdown();
    return 0;
}
