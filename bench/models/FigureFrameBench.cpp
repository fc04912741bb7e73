// Frames of 100 walking figures, as a street full of pedestrians gives them.
// Run from the build folder under Wine, with a display for the last two:
// bench/models/models_bench.exe. Prints each figure against a 1/60 s frame.
//
// - SkinFigures: every skeleton updated (layers stepped, sampled, blended,
//   skin matrices built) and every figure skinned on the processor, without
//   a device: our code alone.
// - EmptyFrames: a frame cleared and presented with nothing drawn: what
//   Wine's Direct3D, its software rasteriser and the virtual display take
//   every frame, whatever the game draws.
// - DrawFigures: the figures updated, skinned and drawn through the device
//   and the sample shaders, and the frame presented. Most of its time is the
//   software rasteriser's, so it also gives our own share: the calls into
//   Direct3D per figure, which only our code decides, and the time per
//   figure our thread spends outside them.

#include "bench/support/BenchArguments.h"
#include "bench/support/Direct3DMeter.h"
#include "bench/support/FrameTiming.h"
#include "bench/support/RunReporter.h"
#include "bench/support/SamplePack.h"
#include "engine/core/dcWindow.h"
#include "engine/files/ResourceFactory.h"
#include "render/device/D3D9Video.h"
#include "render/device/IndexBuffer.h"
#include "render/device/VertexBuffer.h"
#include "render/models/Animation.h"
#include "render/models/Camera.h"
#include "render/models/SceneVariables.h"
#include "render/models/Skeleton.h"
#include "render/models/SkinnedMesh.h"
#include "render/models/SkinnedModel.h"
#include "render/shaders/ShaderEffect.h"

#include <benchmark/benchmark.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int32_t kFigureRows = 10;
constexpr int32_t kFigureColumns = 10;
constexpr int32_t kFigures = kFigureRows * kFigureColumns;
constexpr float kFrameLength = 1.0f / 60.0f;
constexpr int32_t kWorldPass = 3;
// The frames whose time is mostly the driver starting up and compiling.
constexpr int32_t kStartUpFrames = 2;
constexpr float kDegree = 3.1415927f / 180.0f;


// One walking figure, each a little further into its walk than the last.
struct Figure {
    Figure(VideoDevice* device, const Animation& walk, int32_t index)
        : model(device, L"Models\\Figure.DCM"), skeleton(L"Models\\Figure.DCSK", &model)
    {
        skeleton.AddAnimation(&walk);
        skeleton.PlayAnimation(&walk, 0.05f * index, -1, 0.25f, 1.0f);
        world.SetRow(3, {(index % kFigureColumns - 4.5f) * 1.2f, 0.0f, -(index / kFigureColumns) * 1.5f});
    }

    SkinnedModel model;
    Skeleton skeleton;
    Matrix44 world;
};

// The matrices and vertices a figure is skinned with and into.
struct SkinningScratch {
    std::vector<Matrix44> palette = std::vector<Matrix44>(kMaxBones);
    std::vector<SkinnedOutputVertex> vertices = std::vector<SkinnedOutputVertex>(kSkinRingCapacity);
};

void SkinFigure(Figure& figure, SkinningScratch& scratch)
{
    const int32_t bones = figure.skeleton.GetBoneCount();
    for (int32_t i = 0; i < bones; ++i) {
        scratch.palette[i] = Matrix44::Multiply(figure.skeleton.GetBoneMatrix(i), figure.world);
    }
    auto& mesh = static_cast<SkinnedMesh&>(*figure.model.GetMesh());
    for (const SkinGeometry& geometry : mesh.GetGeometry()) {
        for (const SkinStream& stream : geometry.streams) {
            SkinVertices(stream.source.data(), static_cast<int32_t>(stream.source.size()), scratch.palette.data(),
                         bones, scratch.vertices.data());
        }
    }
}

Camera StreetCamera()
{
    Camera camera;
    camera.SetFov(60.0f * kDegree);
    camera.SetViewport({0, 0, 800, 600});
    camera.SetPosition({0.0f, 4.0f, 8.0f});
    camera.SetOrientation(Quaternion::FromAxisAngle({1.0f, 0.0f, 0.0f}, 20.0f * kDegree));
    camera.Update();
    return camera;
}

std::vector<std::unique_ptr<Figure>> MakeFigures(VideoDevice* device, const Animation& walk)
{
    std::vector<std::unique_ptr<Figure>> figures;
    for (int32_t i = 0; i < kFigures; ++i) {
        figures.push_back(std::make_unique<Figure>(device, walk, i));
    }
    return figures;
}

void SkinFigures(benchmark::State& state)
{
    const Animation walk(L"Models\\Walk.DCA", true);
    std::vector<std::unique_ptr<Figure>> figures = MakeFigures(nullptr, walk);
    SkinningScratch scratch;
    for (auto _ : state) {
        for (auto& figure : figures) {
            figure->skeleton.Update(kFrameLength);
            figure->skeleton.ConsumeRootOffset();
            SkinFigure(*figure, scratch);
        }
        benchmark::DoNotOptimize(scratch.vertices.data());
    }
    figures.clear();
    ReleaseSkinnedMeshes();
}

// The street in a window of its own, on a device of its own.
class Street {
public:
    Street() : walk_(L"Models\\Walk.DCA", true)
    {
        window_.Show();
        created_ = video_.Create(&window_, {800, 600}, {});
        if (!created_) {
            return;
        }
        SetShaderDetailLevel(3);
        scene_.Aim(StreetCamera());
        figures_ = MakeFigures(&video_, walk_);
        for (auto& figure : figures_) {
            figure->model.SetParent(&scene_);
        }
    }

    ~Street()
    {
        meter_.reset();
        video_.SetShader(nullptr, 0, 0);
        figures_.clear();
        ReleaseSkinnedMeshes();
        DestroyWindow(window_.GetHandle());
    }

    bool IsCreated() const { return created_; }

    // Meters the device and the buffers the figures are skinned into and drawn from.
    Direct3DMeter& Meter()
    {
        meter_.emplace(video_.GetDirect3DDevice());
        auto& mesh = static_cast<SkinnedMesh&>(*figures_.front()->model.GetMesh());
        for (const SkinGeometry& geometry : mesh.GetGeometry()) {
            for (const SkinStream& stream : geometry.streams) {
                meter_->AddBuffer(stream.ring->GetDirect3DBuffer());
            }
            meter_->AddBuffer(geometry.indices->GetDirect3DBuffer());
        }
        return *meter_;
    }

    // One frame; returns the seconds until the figures were handed to the
    // device, before the frame was ended and presented.
    double Frame(bool drawFigures)
    {
        const double start = SecondsNow();
        video_.BeginFrame();
        video_.Clear(kClearTarget | kClearDepth, {0.2f, 0.3f, 0.4f, 1.0f}, 1.0f, 0);
        if (drawFigures) {
            for (auto& figure : figures_) {
                figure->skeleton.Update(kFrameLength);
                figure->skeleton.ConsumeRootOffset();
                figure->skeleton.Render(figure->world, kWorldPass, 0);
            }
        }
        const double submitted = SecondsNow() - start;
        video_.EndFrame();
        video_.Present();
        return submitted;
    }

private:
    dcWindow window_{L"Bench", EngineWindowRect(1024, 768, false), false};
    D3D9Video video_;
    bool created_ = false;
    SceneVariables scene_;
    Animation walk_;
    std::vector<std::unique_ptr<Figure>> figures_;
    std::optional<Direct3DMeter> meter_;
};

void EmptyFrames(benchmark::State& state)
{
    Street street;
    if (!street.IsCreated()) {
        state.SkipWithError("no Direct3D device");
        return;
    }
    for (int32_t i = 0; i < kWarmUpFrames; ++i) {
        street.Frame(false);
    }
    for (auto _ : state) {
        street.Frame(false);
    }
}

// Our share of the timed frames, as counters: the calls per figure, the
// milliseconds a frame inside Direct3D by kind of call, and our own code's
// milliseconds a frame, typical (median) and undisturbed (fastest).
void CountOurShare(benchmark::State& state, const Direct3DMeter& meter, const std::vector<HandOver>& frames)
{
    const std::vector<double> ours = OwnSeconds(meter, frames);
    double handing = 0.0;
    for (const HandOver& frame : frames) {
        handing += frame.seconds;
    }
    const double frameCount = static_cast<double>(frames.size());
    state.counters["submit ms"] = handing / frameCount * 1000.0;
    state.counters["ours median ms"] = ours[ours.size() / 2] * 1000.0;
    state.counters["ours min ms"] = ours.front() * 1000.0;
    const Direct3DTally& tally = meter.Tally();
    for (const auto& [kind, name] : std::initializer_list<std::pair<direct3d_meter::Kind, std::string>>{
             {direct3d_meter::kDraw, "draws"}, {direct3d_meter::kState, "states"}, {direct3d_meter::kLock, "locks"}}) {
        state.counters[name + " ms"] = meter.Seconds(tally.ticks[kind]) / frameCount * 1000.0;
        state.counters[name + "/figure"] = static_cast<double>(tally.calls[kind]) / (frameCount * kFigures);
    }
}

void DrawFigures(benchmark::State& state)
{
    Street street;
    if (!street.IsCreated()) {
        state.SkipWithError("no Direct3D device");
        return;
    }
    const double startUp = SecondsNow();
    for (int32_t i = 0; i < kWarmUpFrames; ++i) {
        street.Frame(true);
        if (i + 1 == kStartUpFrames) {
            state.counters["start-up ms"] = (SecondsNow() - startUp) * 1000.0;
        }
    }
    Direct3DMeter& meter = street.Meter();
    CountOurShare(state, meter, TimeFrames(state, meter, [&street] { return street.Frame(true); }));
}

BENCHMARK(SkinFigures)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(EmptyFrames)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kTimedFrames);
BENCHMARK(DrawFigures)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kTimedFrames);

double FrameShare(double seconds)
{
    return seconds / kFrameLength;
}

void PrintSummary(const std::map<std::string, BenchRun>& runs)
{
    const auto seconds = [](const BenchRun& run) {
        return run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    };
    if (auto found = runs.find("SkinFigures"); found != runs.end()) {
        const double time = seconds(found->second);
        std::printf("%d figures updated and skinned on the processor, no device: %.3f ms = %.3f of a 1/60 s frame\n",
                    kFigures, time * 1000.0, FrameShare(time));
    }
    if (auto found = runs.find("EmptyFrames"); found != runs.end()) {
        const double time = seconds(found->second);
        std::printf("empty frame, cleared and presented by Wine's Direct3D and software rasteriser: %.3f ms = "
                    "%.3f of a 1/60 s frame\n",
                    time * 1000.0, FrameShare(time));
    }
    if (auto found = runs.find("DrawFigures"); found != runs.end()) {
        const BenchRun& run = found->second;
        const auto counter = [&run](const char* name) { return run.counters.at(name).value; };
        const double time = seconds(run);
        std::printf("%d figures drawn, whole frame with the rasteriser's work: %.3f ms = %.3f of a 1/60 s frame\n",
                    kFigures, time * 1000.0, FrameShare(time));
        std::printf("  handed to the device in %.3f ms a frame; inside Direct3D %.3f ms drawing, %.3f ms setting "
                    "states, %.3f ms locking\n",
                    counter("submit ms"), counter("draws ms"), counter("states ms"), counter("locks ms"));
        // Waiting for the processor only ever adds to a frame: the median frame is typical, the fastest undisturbed.
        const double ours = counter("ours median ms") / 1000.0;
        const double oursFastest = counter("ours min ms") / 1000.0;
        std::printf("  our own code (update, skinning, drawing set-up): %.1f us per figure = %.3f of a 1/60 s frame "
                    "for %d (fastest frame %.3f)\n",
                    ours / kFigures * 1e6, FrameShare(ours), kFigures, FrameShare(oursFastest));
        std::printf("  calls into Direct3D per figure: %.2f draws, %.2f state changes, %.2f buffer locks and unlocks\n",
                    counter("draws/figure"), counter("states/figure"), counter("locks/figure"));
        std::printf("  first %d frames after the device is made: %.0f ms (Wine's rendering thread starting, "
                    "shaders compiled by the driver), not in the figures above\n",
                    kStartUpFrames, counter("start-up ms"));
    }
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    InitializeBenchmarks(argc, argv);
    MountSamplePack();
    PrintSummary(RunBenchmarks());
    benchmark::Shutdown();
    return 0;
}
