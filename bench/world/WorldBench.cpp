// The sample city, "Maps\World.DCW" (8 x 8 blocks), against the same city
// grown four times, "Maps\World16.DCW" (16 x 16 blocks, written at build
// time into a pack beside the benchmark, so that both are read alike from a
// pack). Run from the build folder under Wine, with a display:
// bench/world/world_bench.exe. Prints the figures against the goals: the
// sample city loaded in under a second, load time growing no faster than
// the file, and the drawing per frame flat within twice as the city grows
// four times.
//
// - LoadWorld: all nine load stages, one after the other as the loading
//   screen runs them, with the real device (buffers, textures and shaders
//   made). The first load of a run also compiles the materials' shaders and
//   reads their textures, which any city pays alike: it is kept apart, and
//   the timed loads follow it. Each stage is timed on its own.
// - CameraPath: the game module's frame (the visibility query in Simulate,
//   then every render pass and the sky) drawn from each pose of a fixed
//   loop, counting the draw calls and triangles the renderer submits: once
//   as a new level runs, without a visibility cache (every object tested
//   against the view), and once as a finished level runs, with the cache
//   compiled (VISCOMPILE) over blocks of the same size in both cities and
//   read back as the loader reads it. The goal is judged with the cache.

#include "bench/support/BenchArguments.h"
#include "bench/support/FrameTiming.h"
#include "bench/support/RunReporter.h"
#include "bench/support/SamplePack.h"
#include "engine/audio/AudioDevice.h"
#include "engine/core/dcEngine.h"
#include "engine/core/dcWindow.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/PackArchive.h"
#include "engine/files/ResourceFactory.h"
#include "engine/input/InputSystem.h"
#include "engine/video/VideoDevice.h"
#include "game/world/GameModule.h"
#include "game/world/MaterialDrawList.h"
#include "game/world/VisibilityManager.h"
#include "game/world/VisibilitySettings.h"
#include "game/world/World.h"
#include "game/world/dcEntityCamera.h"
#include "render/device/D3D9Video.h"

#include <benchmark/benchmark.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr float kFrameLength = 1.0f / 60.0f;
constexpr int32_t kTimedLoads = 9;
constexpr double kLoadGoalSeconds = 1.0;
constexpr double kDrawingGrowthGoal = 2.0;

const std::array<const char*, World::kStageCount> kStageNames = {
    "header", "collision", "path networks", "render geometry", "materials",
    "object meshes", "static objects", "dynamic objects", "markers",
};

struct City {
    const char* label;
    const wchar_t* file;
};

const City kSampleCity{"sample", L"Maps\\World.DCW"};
const City kGrownCity{"grown", L"Maps\\World16.DCW"};

// How the frames find what to draw.
enum class Visibility { kTested, kCompiled };
constexpr std::array<Visibility, 2> kVisibilities = {Visibility::kTested, Visibility::kCompiled};

const char* Label(Visibility visibility)
{
    return visibility == Visibility::kCompiled ? "compiled" : "tested";
}

// The side of a compiled block, a street block in both cities.
constexpr float kCompiledBlockSide = 800.0f;

// The camera path. Both cities are centred on the origin with streets every
// 800 units, so the same poses stand on the same streets in both: the loop
// keeps to the streets two blocks from the centre, inside the sample city's
// extent, and each view sees what lies ahead of it. The grown city only adds
// more city beyond the sample's edge; whatever of it the views reach is what
// the visibility grid has to keep from the renderer.
constexpr float kRingDistance = 1600.0f;   // two blocks from the centre
constexpr int32_t kPosesPerSide = 4;       // a crossing and three points a block apart
constexpr float kStreetEyeHeight = 30.0f;  // a chase camera behind a car
constexpr float kStreetLookAhead = 400.0f;
constexpr float kRoofEyeHeight = 1000.0f;  // above the tallest roof (24 floors)
constexpr float kRoofLookAhead = 1000.0f;  // and down to the ground ahead, 45 degrees
constexpr int32_t kPathPoses = 2 * 4 * kPosesPerSide;

struct Pose {
    Vec3 eye;
    Vec3 target;
};

// Once round the ring at street level looking along the street, then once
// above the roofs looking down the street ahead.
std::vector<Pose> CameraPath()
{
    const std::array<Vec3, 4> corners = {Vec3{-kRingDistance, 0.0f, -kRingDistance},
                                         Vec3{kRingDistance, 0.0f, -kRingDistance},
                                         Vec3{kRingDistance, 0.0f, kRingDistance},
                                         Vec3{-kRingDistance, 0.0f, kRingDistance}};
    std::vector<Pose> path;
    for (const auto& [height, ahead, drop] : {std::array<float, 3>{kStreetEyeHeight, kStreetLookAhead, 0.0f},
                                              std::array<float, 3>{kRoofEyeHeight, kRoofLookAhead, kRoofEyeHeight}}) {
        for (size_t side = 0; side < corners.size(); ++side) {
            const Vec3& from = corners[side];
            Vec3 along = corners[(side + 1) % corners.size()] - from;
            along.Normalize();
            for (int32_t i = 0; i < kPosesPerSide; ++i) {
                const Vec3 ground = from + along * (2.0f * kRingDistance * static_cast<float>(i) / kPosesPerSide);
                const Vec3 eye = ground + Vec3{0.0f, height, 0.0f};
                path.push_back({eye, eye + along * ahead - Vec3{0.0f, drop, 0.0f}});
            }
        }
    }
    return path;
}

// Turned to look from the eye at the target, as the game's camera turns to
// look at a point.
Quaternion Facing(const Pose& pose)
{
    Vec3 backwards = pose.eye - pose.target;
    backwards.Normalize();
    Matrix44 frame;
    frame.FromForward(backwards);
    return Quaternion::Conjugate(Quaternion::FromMatrix(frame));
}

// The sample pack and the grown city's pack beside the benchmark, mounted
// as the game mounts its data.
void MountBenchData()
{
    MountSamplePack();
    ArchiveList::Instance().Mount(std::make_unique<PackArchive>(L"World16.DCP"));
    ModelResourceFactory().AddFolder(L"Models");
}

// The engine on a real device in a window of its own, and the game module
// on it, made once for the whole run.
class Game {
public:
    Game()
    {
        dcEngine& engine = dcEngine::Instance();
        engine.SetWindow(std::make_unique<dcWindow>(L"Bench", EngineWindowRect(1024, 768, false), false));
        engine.GetWindow()->Show();
        auto video = std::make_unique<D3D9Video>();
        created_ = video->Create(engine.GetWindow(), {800, 600}, {});
        engine.Start(std::move(video), nullptr, nullptr, L"English");
        if (created_) {
            module_ = std::make_unique<GameModule>();
            engine.SetMLP(module_.get(), false);
            // The sky the test mission loads over the city: its draws are part of every frame.
            module_->GetWorld().LoadSky(L"Skies\\Day");
        }
    }

    ~Game()
    {
        static MLP nothing;
        dcEngine& engine = dcEngine::Instance();
        engine.SetMLP(&nothing, false);
        module_.reset();
        engine.Shutdown();
    }

    bool IsCreated() const { return created_; }
    World& GetWorld() { return module_->GetWorld(); }
    VideoDevice& Video() { return *dcEngine::Instance().GetVideoDevice(); }

    // Seconds of each stage for the city, from an empty world; false when
    // the file was given up.
    bool Load(const City& city, std::array<double, World::kStageCount>& stageSeconds)
    {
        World& world = GetWorld();
        world.Unload();
        module_->GetScene().FlushDeletes();
        world.SetFileName(city.file);
        for (int32_t stage = 0; stage < World::kStageCount; ++stage) {
            const double start = SecondsNow();
            int32_t counter = 0;
            while ((world.*World::kLoadStages[stage])(counter) != 1.0f) {
            }
            stageSeconds[stage] = SecondsNow() - start;
        }
        return !world.HasFailed();
    }

    // One frame from the pose: the module's simulation and visibility query
    // (Simulate), then its passes drawn and presented. Returns the seconds
    // Simulate took.
    double Frame(const Pose& pose)
    {
        Camera& camera = module_->GetViewCamera();
        camera.SetFarPlane(dcEntityCamera::kFarDistance);
        camera.SetViewport({0, 0, Video().GetBackBufferWidth(), Video().GetBackBufferHeight()});
        camera.SetPosition(pose.eye);
        camera.SetOrientation(Facing(pose));
        const double start = SecondsNow();
        module_->Simulate(kFrameLength);
        const double simulated = SecondsNow() - start;
        Video().BeginFrame();
        module_->Render();
        Video().EndFrame();
        Video().Present();
        return simulated;
    }

    // The loaded city's visibility compiled over blocks of kCompiledBlockSide
    // and written as the level maker's VISCOMPILE writes it, then the city
    // loaded again, reading the cache. Returns the seconds of the compile.
    double CompileVisibility(const City& city)
    {
        VisibilityManager& visibility = GetWorld().GetVisibility();
        const BoundingBox box = visibility.GetWorldBox();
        const float shorterSide = 2.0f * std::min(box.halfExtents.x, box.halfExtents.z);
        TheVisibilitySettings().splitCount = std::max(1, static_cast<int32_t>(shorterSide / kCompiledBlockSide));
        visibility.Build(box);
        const double start = SecondsNow();
        visibility.Compile();
        const double seconds = SecondsNow() - start;
        CreateDirectoryW(L"Misc", nullptr);
        visibility.Save(VisibilityManager::kCacheFile, true);
        World::VisibilityCacheExisted() = true;
        std::array<double, World::kStageCount> stages{};
        Load(city, stages);
        return seconds;
    }

    // No cache is left for the next city, or the next run.
    static void ForgetVisibility()
    {
        DeleteFileW(VisibilityManager::kCacheFile);
        World::VisibilityCacheExisted() = false;
    }

    // Entities the query asks each frame without a visibility cache.
    size_t TestedEntities()
    {
        const VisibilityManager& visibility = GetWorld().GetVisibility();
        return visibility.GetRegisteredEntities().size() + visibility.GetMovingEntities().size();
    }

    // Mesh ranges the visible props queued for this frame.
    static size_t QueuedRanges()
    {
        size_t ranges = 0;
        for (const MaterialDrawList& list : MaterialDrawLists()) {
            ranges += list.items.size();
        }
        return ranges;
    }

private:
    bool created_ = false;
    std::unique_ptr<GameModule> module_;
};

Game* theGame = nullptr;

double FileBytes(const City& city)
{
    std::unique_ptr<Stream> file = OpenFile(city.file);
    return file ? static_cast<double>(file->GetSize()) : 0.0;
}

std::string StageCounter(int32_t stage)
{
    return "stage " + std::to_string(stage + 1) + " ms";
}

// The middle value; other processes only ever add to a load's time.
double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void LoadWorld(benchmark::State& state, City city)
{
    if (!theGame->IsCreated()) {
        state.SkipWithError("no Direct3D device");
        return;
    }
    std::array<double, World::kStageCount> stages{};
    const double firstStart = SecondsNow();
    if (!theGame->Load(city, stages)) {
        state.SkipWithError("the world was given up (see the log)");
        return;
    }
    state.counters["first load ms"] = (SecondsNow() - firstStart) * 1000.0;
    std::vector<double> totals;
    std::array<std::vector<double>, World::kStageCount> stageTimes;
    for (auto _ : state) {
        theGame->Load(city, stages);
        double total = 0.0;
        for (int32_t stage = 0; stage < World::kStageCount; ++stage) {
            stageTimes[stage].push_back(stages[stage]);
            total += stages[stage];
        }
        totals.push_back(total);
        state.SetIterationTime(total);
    }
    state.counters["median ms"] = Median(totals) * 1000.0;
    for (int32_t stage = 0; stage < World::kStageCount; ++stage) {
        state.counters[StageCounter(stage)] = Median(stageTimes[stage]) * 1000.0;
    }
    state.counters["file bytes"] = FileBytes(city);
    state.counters["objects"] = static_cast<double>(theGame->GetWorld().GetStaticObjects().size());
}

void CameraPath(benchmark::State& state, City city, Visibility visibility)
{
    if (!theGame->IsCreated()) {
        state.SkipWithError("no Direct3D device");
        return;
    }
    std::array<double, World::kStageCount> stages{};
    if (!theGame->Load(city, stages)) {
        state.SkipWithError("the world was given up (see the log)");
        return;
    }
    if (visibility == Visibility::kCompiled) {
        state.counters["compile s"] = theGame->CompileVisibility(city);
        state.counters["blocks"] = static_cast<double>(theGame->GetWorld().GetVisibility().GetBlocks().size());
    }
    const std::vector<Pose> path = CameraPath();
    for (int32_t i = 0; i < kWarmUpFrames; ++i) {
        theGame->Frame(path.front());
    }
    const FrameStatistics& statistics = theGame->Video().GetFrameStatistics();
    double draws = 0.0;
    double triangles = 0.0;
    double ranges = 0.0;
    std::vector<double> querySeconds;
    int32_t mostDraws = 0;
    int32_t mostTriangles = 0;
    size_t pose = 0;
    for (auto _ : state) {
        querySeconds.push_back(theGame->Frame(path[pose++ % path.size()]));
        draws += statistics.drawCalls;
        triangles += statistics.primitives;
        mostDraws = std::max(mostDraws, statistics.drawCalls);
        mostTriangles = std::max(mostTriangles, statistics.primitives);
        ranges += static_cast<double>(Game::QueuedRanges());
    }
    const double frames = static_cast<double>(state.iterations());
    state.counters["draws mean"] = draws / frames;
    state.counters["draws max"] = mostDraws;
    state.counters["triangles mean"] = triangles / frames;
    state.counters["triangles max"] = mostTriangles;
    state.counters["ranges mean"] = ranges / frames;
    state.counters["tested"] = static_cast<double>(theGame->TestedEntities());
    state.counters["query median ms"] = Median(querySeconds) * 1000.0;
    Game::ForgetVisibility();
}

std::string PathName(Visibility visibility, const City& city)
{
    return std::string("CameraPath/") + Label(visibility) + "/" + city.label;
}

void RegisterBenchmarks()
{
    for (const City& city : {kSampleCity, kGrownCity}) {
        benchmark::RegisterBenchmark((std::string("LoadWorld/") + city.label).c_str(),
                                     [city](benchmark::State& state) { LoadWorld(state, city); })
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(kTimedLoads);
    }
    for (Visibility visibility : kVisibilities) {
        for (const City& city : {kSampleCity, kGrownCity}) {
            benchmark::RegisterBenchmark(PathName(visibility, city).c_str(),
                                         [city, visibility](benchmark::State& state) {
                                             CameraPath(state, city, visibility);
                                         })
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->Iterations(kPathPoses);
        }
    }
}

const char* Verdict(bool met)
{
    return met ? "met" : "missed";
}

using Runs = std::map<std::string, BenchRun>;

double Counter(const BenchRun& run, const char* name)
{
    return run.counters.at(name).value;
}

void PrintLoads(const BenchRun& sample, const BenchRun& grown)
{
    std::printf("world load, all nine stages (median of %d loads after the run's first; each stage's median):\n",
                kTimedLoads);
    for (const auto& [city, run] : {std::pair{kSampleCity, &sample}, std::pair{kGrownCity, &grown}}) {
        std::printf("  %ls: %.2f MB, %.0f objects, %.0f ms (first load %.0f ms)\n", city.file,
                    Counter(*run, "file bytes") / 1e6, Counter(*run, "objects"), Counter(*run, "median ms"),
                    Counter(*run, "first load ms"));
        std::printf("   ");
        for (int32_t stage = 0; stage < World::kStageCount; ++stage) {
            std::printf(" %s %.0f%s", kStageNames[stage], Counter(*run, StageCounter(stage).c_str()),
                        stage + 1 < World::kStageCount ? "," : " ms\n");
        }
    }
    const double sampleMs = Counter(sample, "median ms");
    std::printf("  sample city in %.0f ms: goal under %.0f ms %s\n", sampleMs, kLoadGoalSeconds * 1000.0,
                Verdict(sampleMs < kLoadGoalSeconds * 1000.0));
    const double fileGrowth = Counter(grown, "file bytes") / Counter(sample, "file bytes");
    const double timeGrowth = Counter(grown, "median ms") / sampleMs;
    std::printf("  grown city: file %.2fx, load time %.2fx: goal no faster than the file %s\n", fileGrowth,
                timeGrowth, Verdict(timeGrowth <= fileGrowth));
}

void PrintPathRun(const City& city, const BenchRun& run)
{
    std::printf("  %ls: draw calls mean %.0f max %.0f, triangles mean %.0f max %.0f; %.0f entities tested, "
                "%.0f ranges queued on average; query (Simulate) %.3f ms median, frame %.0f ms\n",
                city.file, Counter(run, "draws mean"), Counter(run, "draws max"), Counter(run, "triangles mean"),
                Counter(run, "triangles max"), Counter(run, "tested"), Counter(run, "ranges mean"),
                Counter(run, "query median ms"),
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1000.0);
    if (run.counters.count("blocks")) {
        std::printf("    cache of %.0f blocks compiled in %.1f s\n", Counter(run, "blocks"), Counter(run, "compile s"));
    }
}

// The growth of each figure; the goal stands for the frames of a finished
// level, which has its cache.
void PrintPaths(Visibility visibility, const BenchRun& sample, const BenchRun& grown)
{
    std::printf("frames over the camera path, %s (%d poses: the streets two blocks from the centre, at street "
                "level and above the roofs):\n",
                visibility == Visibility::kCompiled ? "with a compiled visibility cache"
                                                    : "without a visibility cache, every object tested",
                kPathPoses);
    PrintPathRun(kSampleCity, sample);
    PrintPathRun(kGrownCity, grown);
    for (const char* figure : {"draws", "triangles"}) {
        const std::string mean = std::string(figure) + " mean";
        const std::string most = std::string(figure) + " max";
        const double meanGrowth = Counter(grown, mean.c_str()) / Counter(sample, mean.c_str());
        const double mostGrowth = Counter(grown, most.c_str()) / Counter(sample, most.c_str());
        std::printf("  %s per frame grew %.2fx (mean), %.2fx (max) for a city 4x as large", figure, meanGrowth,
                    mostGrowth);
        if (visibility == Visibility::kCompiled) {
            std::printf(": goal within %.0fx %s", kDrawingGrowthGoal,
                        Verdict(meanGrowth <= kDrawingGrowthGoal && mostGrowth <= kDrawingGrowthGoal));
        }
        std::printf("\n");
    }
}

void PrintSummary(const Runs& runs)
{
    const auto find = [&runs](const std::string& name) {
        const auto run = runs.find(name);
        return run == runs.end() ? nullptr : &run->second;
    };
    const BenchRun* sampleLoad = find(std::string("LoadWorld/") + kSampleCity.label);
    const BenchRun* grownLoad = find(std::string("LoadWorld/") + kGrownCity.label);
    if (sampleLoad && grownLoad) {
        PrintLoads(*sampleLoad, *grownLoad);
    }
    for (Visibility visibility : kVisibilities) {
        const BenchRun* sample = find(PathName(visibility, kSampleCity));
        const BenchRun* grown = find(PathName(visibility, kGrownCity));
        if (sample && grown) {
            PrintPaths(visibility, *sample, *grown);
        }
    }
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    InitializeBenchmarks(argc, argv);
    MountBenchData();
    Game::ForgetVisibility();
    auto game = std::make_unique<Game>();
    theGame = game.get();
    RegisterBenchmarks();
    PrintSummary(RunBenchmarks());
    theGame = nullptr;
    game.reset();
    benchmark::Shutdown();
    return 0;
}
