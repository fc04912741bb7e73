// One frame of 100 walking figures, as a street full of pedestrians gives
// it: every skeleton updated (layers stepped, sampled, blended, skin
// matrices built) and every figure skinned on the processor; then the same
// with the figures drawn through the device and the sample shaders. Needs a
// display for the second; run from the build folder under Wine:
// bench/models/models_bench.exe. Prints each frame's time as a fraction of
// a 1/60 s frame.

#include "bench/support/BenchArguments.h"
#include "bench/support/RunReporter.h"
#include "engine/core/dcWindow.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/FolderArchive.h"
#include "engine/files/PackArchive.h"
#include "engine/files/ResourceFactory.h"
#include "render/device/D3D9Video.h"
#include "render/models/Animation.h"
#include "render/models/Camera.h"
#include "render/models/SceneVariables.h"
#include "render/models/Skeleton.h"
#include "render/models/SkinnedMesh.h"
#include "render/models/SkinnedModel.h"
#include "render/shaders/ShaderEffect.h"

#include <benchmark/benchmark.h>

#include <windows.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t kFigureRows = 10;
constexpr int32_t kFigureColumns = 10;
constexpr int32_t kFigures = kFigureRows * kFigureColumns;
constexpr float kFrameLength = 1.0f / 60.0f;
constexpr int32_t kWorldPass = 3;
constexpr float kDegree = 3.1415927f / 180.0f;

// The pack beside the benchmark, mounted as the game mounts its data.
void MountBenchData()
{
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    WideString folder(module);
    folder.resize(folder.rfind(L'\\') + 1);
    SetCurrentDirectoryW((folder + L"bench-data").c_str());
    ArchiveList::Instance().Mount(std::make_unique<FolderArchive>());
    ArchiveList::Instance().Mount(std::make_unique<PackArchive>(L"Data.DCP"));
    TextureFactory().AddFolder(L"Textures");
    ShaderFactory().AddFolder(L"Shaders");
}

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

void SkinAndDrawFigures(benchmark::State& state)
{
    dcWindow window{L"Bench", EngineWindowRect(1024, 768, false), false};
    window.Show();
    D3D9Video video;
    if (!video.Create(&window, {800, 600}, {})) {
        state.SkipWithError("no Direct3D device");
        DestroyWindow(window.GetHandle());
        return;
    }
    SetShaderDetailLevel(3);
    const Camera camera = StreetCamera();
    SceneVariables scene;
    scene.Aim(camera);
    const Animation walk(L"Models\\Walk.DCA", true);
    std::vector<std::unique_ptr<Figure>> figures = MakeFigures(&video, walk);
    for (auto& figure : figures) {
        figure->model.SetParent(&scene);
    }
    for (auto _ : state) {
        video.BeginFrame();
        video.Clear(kClearTarget | kClearDepth, {0.2f, 0.3f, 0.4f, 1.0f}, 1.0f, 0);
        for (auto& figure : figures) {
            figure->skeleton.Update(kFrameLength);
            figure->skeleton.ConsumeRootOffset();
            figure->skeleton.Render(figure->world, kWorldPass, 0);
        }
        video.EndFrame();
        video.Present();
    }
    video.SetShader(nullptr, 0, 0);
    figures.clear();
    ReleaseSkinnedMeshes();
    DestroyWindow(window.GetHandle());
}

BENCHMARK(SkinFigures)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(SkinAndDrawFigures)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int wmain(int argc, wchar_t** argv)
{
    InitializeBenchmarks(argc, argv);
    MountBenchData();
    // Each benchmark's time per frame, for the closing figures.
    std::map<std::string, double> seconds;
    RunReporter reporter([&seconds](const BenchRun& run) {
        if (!run.error_occurred) {
            seconds[run.run_name.function_name] =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        }
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const auto& [name, label] : std::initializer_list<std::pair<const char*, const char*>>{
             {"SkinFigures", "skinning"}, {"SkinAndDrawFigures", "skinning and drawing"}}) {
        const auto found = seconds.find(name);
        if (found != seconds.end()) {
            std::printf("%d figures, %s: %.3f ms = %.3f of a 1/60 s frame\n", kFigures, label,
                        found->second * 1000.0, found->second / kFrameLength);
        }
    }
    benchmark::Shutdown();
    return 0;
}
