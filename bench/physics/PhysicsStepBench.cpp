// 200 boxes dropped onto a rolling 10,000-triangle mesh, stepped at the
// game's fixed rate until they have landed and settled; run from the build
// folder: bench/physics/physics_bench.exe. Prints the time of one fixed step
// (collision pass and solver) as a fraction of the step's own length, the
// share of real time that physics takes while a game runs.

#include "bench/support/BenchArguments.h"
#include "bench/support/RunReporter.h"
#include "engine/files/WideString.h"
#include "engine/physics/BoxGeom.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/physics/RigidBody.h"
#include "engine/physics/TriMeshGeom.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr float kStepLength = 1.0f / 75.0f;
constexpr int kStepsPerRun = 300;   // four seconds: the fall, the landing, the settling
constexpr int kMeshCellsX = 100;
constexpr int kMeshCellsZ = 50;     // 100 x 50 squares, two triangles each
constexpr int kBoxColumns = 20;
constexpr int kBoxRows = 10;

float GroundHeight(float x, float z)
{
    return 0.6f * std::sin(x * 0.35f) + 0.4f * std::cos(z * 0.5f);
}

void MakeTerrain(TriMeshGeom& mesh)
{
    for (int z = 0; z <= kMeshCellsZ; ++z) {
        for (int x = 0; x <= kMeshCellsX; ++x) {
            mesh.Vertices().push_back({float(x), GroundHeight(float(x), float(z)), float(z)});
        }
    }
    for (int z = 0; z < kMeshCellsZ; ++z) {
        for (int x = 0; x < kMeshCellsX; ++x) {
            const int32_t corner = z * (kMeshCellsX + 1) + x;
            const int32_t above = corner + kMeshCellsX + 1;
            mesh.Triangles().push_back({{corner, above, corner + 1}, 0});
            mesh.Triangles().push_back({{corner + 1, above, above + 1}, 0});
        }
    }
    mesh.Build();
}

struct FallingBox {
    FallingBox(PhysicsWorld& world, const Vec3& position, const Quaternion& orientation)
        : geometry({0.5f, 0.4f, 0.7f}), body(world)
    {
        body.SetMass(50.0f);
        body.SetBoxInertia(geometry.GetHalfExtents());
        body.AttachGeom(&geometry);
        body.SetPosition(position);
        body.SetOrientation(orientation);
        body.Enable();
        geometry.AddToWorld(world);
    }

    BoxGeom geometry;
    RigidBody body;
};

// The level: terrain and boxes in a world with its space, as world loading
// builds it.
struct Level {
    Level()
    {
        world.CreateSpace({{50.0f, 0.0f, 25.0f}, {60.0f, 30.0f, 35.0f}}, 5);
        world.SetGravity({0.0f, -9.81f, 0.0f});
        MakeTerrain(terrain);
        terrain.AddToWorld(world);
        for (int row = 0; row < kBoxRows; ++row) {
            for (int column = 0; column < kBoxColumns; ++column) {
                const int index = row * kBoxColumns + column;
                const Vec3 position{35.0f + column * 1.6f, 3.0f + (index % 4) * 1.5f, 17.0f + row * 1.6f};
                const Quaternion turn = Quaternion::FromAxisAngle({0.6f, 0.0f, 0.8f}, index * 0.37f);
                boxes.push_back(std::make_unique<FallingBox>(world, position, turn));
            }
        }
        world.FlushAndClean();
    }

    PhysicsWorld world;
    TriMeshGeom terrain;
    std::vector<std::unique_ptr<FallingBox>> boxes;
};

void FixedSteps(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto level = std::make_unique<Level>();
        state.ResumeTiming();
        for (int step = 0; step < kStepsPerRun; ++step) {
            level->world.Collide();
            level->world.Step(kStepLength);
        }
        state.PauseTiming();
        level.reset();
        state.ResumeTiming();
    }
    state.counters["steps"] = kStepsPerRun;
}

BENCHMARK(FixedSteps)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int wmain(int argc, wchar_t** argv)
{
    InitializeBenchmarks(argc, argv);
    // The run's time per iteration, for the closing figure.
    double secondsPerRun = 0.0;
    RunReporter reporter([&secondsPerRun](const BenchRun& run) {
        secondsPerRun = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (secondsPerRun > 0.0) {
        const double stepSeconds = secondsPerRun / kStepsPerRun;
        std::printf("physics step: %.3f ms = %.3f of the %.2f ms step budget\n", stepSeconds * 1000.0,
                    stepSeconds / kStepLength, kStepLength * 1000.0);
    }
    benchmark::Shutdown();
    return 0;
}
