// Draw calls per second when every draw sets its render states again, as
// effects do: through the device's state cache, which drops the 10,000
// changes per frame that repeat a value, against straight to Direct3D. Needs
// a display; run from the build folder under Wine:
// bench/render/render_bench.exe. Prints cached draw calls per second as a
// multiple of uncached ones, and how many state calls per draw reach
// Direct3D each way: the rate is mostly Wine's and its rasteriser's, the
// calls only ours.

#include "bench/support/BenchArguments.h"
#include "bench/support/Direct3DMeter.h"
#include "bench/support/FrameTiming.h"
#include "bench/support/RunReporter.h"
#include "engine/core/dcWindow.h"
#include "engine/video/Shader.h"
#include "render/device/D3D9Video.h"
#include "render/device/VertexBuffer.h"
#include "render/device/VertexFormat.h"

#include <benchmark/benchmark.h>

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int32_t kDraws = 1000;
constexpr int32_t kStatesPerDraw = 10;   // 10,000 state changes a frame

// The states an effect fragment sets before its draw.
constexpr std::pair<D3DRENDERSTATETYPE, DWORD> kFragmentStates[kStatesPerDraw] = {
    {D3DRS_CULLMODE, D3DCULL_NONE},         {D3DRS_ZENABLE, D3DZB_FALSE},
    {D3DRS_ZWRITEENABLE, FALSE},            {D3DRS_ZFUNC, D3DCMP_LESSEQUAL},
    {D3DRS_ALPHATESTENABLE, FALSE},         {D3DRS_STENCILENABLE, FALSE},
    {D3DRS_ALPHABLENDENABLE, FALSE},        {D3DRS_SEPARATEALPHABLENDENABLE, FALSE},
    {D3DRS_BLENDOP, D3DBLENDOP_ADD},        {D3DRS_LIGHTING, FALSE},
};

// One fragment whose states go through the cache or around it.
class StateSettingEffect : public Shader {
public:
    StateSettingEffect(D3D9Video& video, bool cached) : video_(video), cached_(cached) {}

    int32_t FindStyle(int32_t) const override { return -2; }
    bool Validate(int32_t, int32_t) override { return true; }
    int32_t GetFragmentCount(int32_t, int32_t) override { return 1; }
    bool ApplyFragment(int32_t, int32_t, int32_t) override
    {
        for (const auto& [state, value] : kFragmentStates) {
            if (cached_) {
                video_.SetRenderStateCached(state, value);
            } else {
                video_.GetDirect3DDevice()->SetRenderState(state, value);
            }
        }
        return true;
    }

private:
    D3D9Video& video_;
    bool cached_;
};

struct ScreenVertex {
    float x, y, z, rhw;
};

class Scene {
public:
    Scene()
    {
        window_.Show();
        created_ = video_.Create(&window_, {800, 600}, {});
        if (!created_) {
            return;
        }
        format_ = video_.CreateVertexFormat({{0, 0, D3DDECLTYPE_FLOAT4, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITIONT, 0}});
        triangle_ = video_.CreateVertexBuffer(sizeof(ScreenVertex), 3, false, true);
        if (auto* corners = static_cast<ScreenVertex*>(triangle_->Lock({0, 3}, 0))) {
            corners[0] = {10.0f, 10.0f, 0.5f, 1.0f};
            corners[1] = {12.0f, 10.0f, 0.5f, 1.0f};
            corners[2] = {10.0f, 12.0f, 0.5f, 1.0f};
            triangle_->Unlock();
        }
    }
    ~Scene() { DestroyWindow(window_.GetHandle()); }

    void DrawFrames(benchmark::State& state, bool cached)
    {
        if (!created_) {
            state.SkipWithError("no Direct3D device");
            return;
        }
        StateSettingEffect effect(video_, cached);
        video_.SetVertexFormat(format_.get());
        video_.SetVertexStream(0, triangle_.get());
        video_.SetShader(&effect, 0, 0);
        for (int32_t i = 0; i < kWarmUpFrames; ++i) {
            DrawFrame();
        }
        Direct3DMeter meter(video_.GetDirect3DDevice());
        meter.Reset();
        for (auto _ : state) {
            DrawFrame();
        }
        const double draws = static_cast<double>(state.iterations()) * kDraws;
        video_.SetShader(nullptr, 0, 0);
        state.counters["draws/s"] = benchmark::Counter(draws, benchmark::Counter::kIsRate);
        state.counters["states/draw"] = static_cast<double>(meter.Tally().calls[direct3d_meter::kState]) / draws;
    }

private:
    void DrawFrame()
    {
        video_.BeginFrame();
        for (int32_t i = 0; i < kDraws; ++i) {
            video_.Draw({0, 3}, kTriangleList);
        }
        video_.EndFrame();
        video_.Present();
    }

    dcWindow window_{L"Bench", EngineWindowRect(1024, 768, false), false};
    D3D9Video video_;
    bool created_ = false;
    std::unique_ptr<VertexFormat> format_;
    std::unique_ptr<VertexBuffer> triangle_;
};

Scene& TheScene()
{
    static Scene scene;
    return scene;
}

void CachedStates(benchmark::State& state)
{
    TheScene().DrawFrames(state, true);
}

void UncachedStates(benchmark::State& state)
{
    TheScene().DrawFrames(state, false);
}

BENCHMARK(CachedStates)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(UncachedStates)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int wmain(int argc, wchar_t** argv)
{
    InitializeBenchmarks(argc, argv);
    // Each benchmark's draw rate and state calls per draw, for the closing ratio.
    std::map<std::string, BenchRun> runs;
    RunReporter reporter([&runs](const BenchRun& run) {
        if (!run.error_occurred) {
            runs.insert_or_assign(run.run_name.function_name, run);
        }
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto cached = runs.find("CachedStates");
    const auto uncached = runs.find("UncachedStates");
    if (cached != runs.end() && uncached != runs.end()) {
        const auto counter = [](const BenchRun& run, const char* name) { return run.counters.at(name).value; };
        std::printf("draw calls per second, states set through the cache / straight to Direct3D: %.2f "
                    "(state calls reaching Direct3D per draw: %.2f cached, %.2f uncached)\n",
                    counter(cached->second, "draws/s") / counter(uncached->second, "draws/s"),
                    counter(cached->second, "states/draw"), counter(uncached->second, "states/draw"));
    }
    benchmark::Shutdown();
    return 0;
}
