// CPU time the mixer takes for one second of output with 32 and with 64
// voices playing, in the 20 ms pieces the mixer thread writes; run from the
// build folder: bench/audio/audio_bench.exe. Prints each as a fraction of one
// second of one core.

#include "bench/support/BenchArguments.h"
#include "bench/support/RunReporter.h"
#include "engine/audio/Mixer.h"
#include "engine/audio/SoundBuffer.h"
#include "engine/files/WideString.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t kPieceBytes = 2 * Mixer::kBytesPerSecond / 100;
constexpr int32_t kPiecesPerSecond = Mixer::kBytesPerSecond / kPieceBytes;

// A second of a tone, as the game's sounds come: stereo and mono, at the
// output rate and at half of it (so both mixing paths run).
std::unique_ptr<SoundBuffer> ToneBuffer(int32_t index)
{
    const bool stereo = index % 2 == 0;
    const int32_t rate = index % 4 < 2 ? Mixer::kOutputRate : Mixer::kOutputRate / 2;
    std::vector<int16_t> samples(static_cast<size_t>(rate) * (stereo ? 2 : 1));
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<int16_t>(8000.0 * std::sin(0.01 * static_cast<double>(i) * (index + 1)));
    }
    return std::make_unique<SoundBuffer>(std::move(samples), rate, stereo);
}

void MixOneSecond(benchmark::State& state)
{
    const int32_t voices = static_cast<int32_t>(state.range(0));
    std::vector<std::unique_ptr<SoundBuffer>> buffers;
    std::vector<std::unique_ptr<Channel>> channels;
    Mixer mixer;
    for (int32_t i = 0; i < voices; ++i) {
        buffers.push_back(ToneBuffer(i));
        channels.push_back(std::make_unique<Channel>());
        Channel& channel = *channels.back();
        channel.Init(buffers.back().get());
        channel.SetVolumePan(0.5f + 0.5f * static_cast<float>(i % 3) / 2.0f, static_cast<float>(i % 5) / 2.0f - 1.0f);
        channel.SetPitch(i % 7 == 0 ? 1.5f : 1.0f);
        channel.SetLoopCount(-1);
        channel.SetInMixer(true);
        mixer.AddChannel(channel);
    }
    std::vector<int16_t> piece(kPieceBytes / 2);
    for (auto _ : state) {
        for (int32_t i = 0; i < kPiecesPerSecond; ++i) {
            mixer.Mix(kPieceBytes);
            mixer.Output(piece.data());
        }
        benchmark::DoNotOptimize(piece.data());
    }
}

BENCHMARK(MixOneSecond)->Arg(32)->Arg(64)->Unit(benchmark::kMillisecond);

} // namespace

int wmain(int argc, wchar_t** argv)
{
    InitializeBenchmarks(argc, argv);
    // Each run's CPU time per iteration, in milliseconds.
    std::map<std::string, double> times;
    RunReporter reporter([&times](const BenchRun& run) { times[run.benchmark_name()] = run.GetAdjustedCPUTime(); });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (int voices : {32, 64}) {
        const auto found = times.find("MixOneSecond/" + std::to_string(voices));
        if (found != times.end()) {
            std::printf("%d voices: %.4f of one core\n", voices, found->second / 1000.0);
        }
    }
    benchmark::Shutdown();
    return 0;
}
