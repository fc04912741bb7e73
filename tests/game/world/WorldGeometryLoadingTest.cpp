#include "tests/game/world/WorldFilesFixture.h"

#include "game/weapons/DamageMessages.h"
#include "game/world/DecoRouteNetwork.h"
#include "game/world/MaterialDrawList.h"
#include "game/world/PathNetwork.h"
#include "game/world/World.h"
#include "game/world/dcDecoObject.h"
#include "game/world/dcWorldGeometry.h"
#include "game/world/dcWorldRender.h"
#include "render/models/Mesh.h"
#include "tests/support/CapturingSink.h"

#include <algorithm>
#include <cstring>

namespace {

class WorldGeometryLoadingTest : public WorldFilesTest {};

void ExpectProgress(const std::vector<float>& actual, const std::vector<float>& expected, const char* stage)
{
    ASSERT_EQ(actual.size(), expected.size()) << stage;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_FLOAT_EQ(actual[i], expected[i]) << stage << " call " << i;
    }
}

} // namespace

TEST_F(WorldGeometryLoadingTest, EachGeometryStageReportsItsProgressCallByCall)
{
    World& world = Game().GetWorld();
    world.SetFileName(L"Maps\\Geometry.DCW");
    RunStage(world, &World::LoadHeader);
    ExpectProgress(RunStage(world, &World::LoadCollision), {0.1f, 0.3f, 0.5f, 0.9f, 1.0f}, "collision");
    ExpectProgress(RunStage(world, &World::LoadPathNetworks), {0.4f, 0.5f, 0.7f, 1.0f}, "paths");
    // Two geometry records: the streaming chunk, one call per record, then done.
    ExpectProgress(RunStage(world, &World::LoadRenderGeometry), {0.2f, 0.2f, 0.55f, 1.0f}, "render geometry");
    // Eleven materials: the count, ten, then the last one finishes.
    ExpectProgress(RunStage(world, &World::LoadMaterials), {0.0f, 0.9f, 1.0f}, "materials");
    EXPECT_FALSE(world.HasFailed());
}

TEST_F(WorldGeometryLoadingTest, TheGeometryChunksArriveWhereTheGameReadsThem)
{
    ScopedCapture log(kLogError);
    // Header 1, collision 5, paths 4, two records 4, eleven materials 3, no
    // meshes, static or dynamic objects 2 each, the markers 1, done.
    ASSERT_EQ(LoadWorld(L"Maps\\Geometry.DCW").size(), 25u);
    EXPECT_TRUE(log->lines.empty());
    World& world = Game().GetWorld();
    EXPECT_FALSE(world.HasFailed());

    EXPECT_EQ(world.GetGeometry().Vertices().size(), 4u);
    ASSERT_EQ(world.GetGeometry().Triangles().size(), 2u);
    EXPECT_EQ(world.GetGeometry().Triangles()[1].vertices[2], 3);
    EXPECT_EQ(world.GetGeometry().GetWorld(), &world.GetPhysics());
    EXPECT_FLOAT_EQ(world.GetBox().halfExtents.x, 100.0f);
    EXPECT_FLOAT_EQ(world.GetBox().centre.y, 10.0f);

    const std::vector<PathNode>& traffic = TrafficNetwork().nodes;
    ASSERT_EQ(traffic.size(), 3u);
    ASSERT_EQ(traffic[0].links.size(), 2u);
    EXPECT_EQ(traffic[0].links[1], &traffic[2]);
    EXPECT_FLOAT_EQ(traffic[0].weight, 0.5f);
    EXPECT_EQ(traffic[0].tag, 3);
    // The ids of the network read last.
    EXPECT_EQ(RoadNodeIds(), (std::vector<int32_t>{7, 8}));
    // No pedestrian nodes: none, while an empty road network gets one.
    EXPECT_TRUE(PedestrianNetwork().nodes.empty());
    ASSERT_EQ(CurrentDecoRouteNetwork()->Nodes().size(), 4u);
    EXPECT_FLOAT_EQ(CurrentDecoRouteNetwork()->Nodes()[2].speed, 4.0f);
    EXPECT_EQ(CurrentDecoRouteNetwork()->Nodes()[3].links[0], &CurrentDecoRouteNetwork()->Nodes()[0]);

    // Of four decorations only the one with a route of three nodes in the network is placed.
    ASSERT_EQ(world.GetSceneEntityIds().size(), 1u);
    EXPECT_NE(Game().GetScene().FindReceiver(world.GetSceneEntityIds()[0]), nullptr);

    EXPECT_EQ(world.GetRender().StreamingVertices().size(), 3u);
    EXPECT_FLOAT_EQ(world.GetRender().StreamingVertices()[2].position.z, 1.0f);
    EXPECT_EQ(world.GetRender().StreamingIndices(), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(world.GetGeometryRecords().size(), 2u);

    ASSERT_EQ(world.GetMaterials().size(), 11u);
    const Material& road = world.GetMaterials()[0];
    EXPECT_EQ(road.effectName, L"dcMesh.DCS");
    EXPECT_EQ(road.textureNames, std::vector<WideString>{L"Road.DCT"});
    ASSERT_EQ(road.params.size(), 3u);
    EXPECT_EQ(road.params[1].kind, 3);
    float shine = 0.0f;
    std::memcpy(&shine, road.params[1].value.data(), 4);
    EXPECT_FLOAT_EQ(shine, 1.0f);
    EXPECT_TRUE(road.params[2].value.empty());
    EXPECT_EQ(MaterialDrawLists().size(), 11u);
}

TEST_F(WorldGeometryLoadingTest, ABrokenWorldIsNamedInTheLogAndLoadsNoFurther)
{
    struct Case {
        const wchar_t* file;
        const wchar_t* line;
    };
    for (const Case& c : std::initializer_list<Case>{
             {L"Maps\\Nine.DCW", L"Maps\\Nine.DCW is not a valid world"},
             {L"Maps\\Magic.DCW", L"Maps\\Magic.DCW is not a valid world"},
             {L"Maps\\Kind3.DCW", L"Maps\\Kind3.DCW is not a world"},
             {L"Maps\\Cut.DCW", L"Maps\\Cut.DCW contains errors"},
             {L"Maps\\FarVertex.DCW", L"Maps\\FarVertex.DCW contains errors"},
             {L"Maps\\FarLink.DCW", L"Maps\\FarLink.DCW contains errors"},
             {L"Maps\\RouteLink.DCW", L"Maps\\RouteLink.DCW contains errors"},
             {L"Maps\\FarIndex.DCW", L"Maps\\FarIndex.DCW contains errors"},
             {L"Maps\\HugeCount.DCW", L"Maps\\HugeCount.DCW contains errors"}}) {
        ScopedCapture log(kLogError);
        const std::vector<float> progress = LoadWorld(c.file);
        // Decorations read before the damage ask for their models, which the fixture lacks.
        std::vector<WideString> lines = log->lines;
        std::erase_if(lines, [](const WideString& line) { return line.find(L"Models\\") != WideString::npos; });
        EXPECT_EQ(lines, std::vector<WideString>{c.line}) << WideStringToNarrow(c.file);
        EXPECT_TRUE(Game().IsLoaded());
        EXPECT_TRUE(Game().GetWorld().HasFailed());
        EXPECT_EQ(Game().GetWorld().GetFile(), nullptr);
        // Once given up, every further stage is one call.
        EXPECT_LT(progress.size(), 25u) << WideStringToNarrow(c.file);
        EXPECT_EQ(progress.back(), 1.0f);
    }
}

TEST_F(WorldGeometryLoadingTest, ASecondWorldLoadsFromAnEmptyWorld)
{
    LoadWorld(L"Maps\\Geometry.DCW");
    const int32_t decoration = Game().GetWorld().GetSceneEntityIds().at(0);

    // The same world again is there already.
    EXPECT_EQ(LoadWorld(L"Maps\\Geometry.DCW"), std::vector<float>{1.0f});

    ScopedCapture log(kLogError);
    const std::vector<float> progress = LoadWorld(L"Maps\\Small.DCW");
    EXPECT_TRUE(log->lines.empty());
    ASSERT_EQ(progress.size(), 22u);
    EXPECT_FLOAT_EQ(progress[0], 1.0f / 9.0f);
    World& world = Game().GetWorld();
    EXPECT_EQ(TrafficNetwork().nodes.size(), 2u);
    EXPECT_TRUE(CurrentDecoRouteNetwork()->Nodes().empty());
    EXPECT_EQ(Game().GetScene().FindReceiver(decoration), nullptr);
    EXPECT_TRUE(world.GetSceneEntityIds().empty());
    EXPECT_TRUE(world.GetMaterials().empty());
    EXPECT_TRUE(MaterialDrawLists().empty());
    EXPECT_TRUE(world.GetRender().StreamingVertices().empty());
    EXPECT_EQ(world.GetGeometry().Vertices().size(), 4u);
    EXPECT_FLOAT_EQ(world.GetBox().halfExtents.x, 500.0f);

    // A world that failed is loaded again when named again, and fails again.
    LoadWorld(L"Maps\\Cut.DCW");
    ScopedCapture again(kLogError);
    EXPECT_GT(LoadWorld(L"Maps\\Cut.DCW").size(), 1u);
    EXPECT_EQ(again->Count(L"contains errors"), 1);
}

// The scene owns none of its members: a decoration left behind would keep its
// model's effects, and the video device they hold, past the engine's end.
TEST_F(WorldGeometryLoadingTest, TheGameTakesTheWorldsDecorationsWithIt)
{
    const auto decorationMeshes = [] {
        return std::count_if(MeshCache().begin(), MeshCache().end(),
                             [](const Mesh* mesh) { return mesh->GetKey() == L"Models\\C.DCM"; });
    };
    LoadWorld(L"Maps\\Geometry.DCW");
    ASSERT_EQ(Game().GetWorld().GetSceneEntityIds().size(), 1u);
    EXPECT_EQ(decorationMeshes(), 1);

    DropGame();
    EXPECT_EQ(decorationMeshes(), 0);
}

TEST_F(WorldGeometryLoadingTest, TheKillPlaneKillsWhatReachesItAndNothingElse)
{
    dcWorldGeometry geometry;
    RecordingEntity victim;
    PlaneGeom body(0.0f, 1.0f, 0.0f, 0.0f);
    body.SetOwner(&victim);
    PlaneGeom ownerless(0.0f, 1.0f, 0.0f, 0.0f);

    geometry.Send(dcCollision{&geometry.GetKillPlane(), &body});
    ASSERT_EQ(victim.Count<dcDamageMessage>(), 1);
    const dcDamageMessage damage = victim.Last<dcDamageMessage>();
    EXPECT_EQ(damage.amount, 5000000.0f);
    EXPECT_EQ(damage.kind, kDamageKill);
    EXPECT_EQ(damage.forced, 1);
    EXPECT_EQ(damage.attacker, nullptr);

    // The city's own triangles, and geometries without an owner, hurt nobody.
    geometry.Send(dcCollision{&geometry, &body});
    geometry.Send(dcCollision{&geometry.GetKillPlane(), &ownerless});
    EXPECT_EQ(victim.Count<dcDamageMessage>(), 1);
    EXPECT_EQ(geometry.GetKillPlane().GetCollideBits(), 0x11600);
    EXPECT_EQ(geometry.GetKillPlane().GetCategoryBits(), 0x10);
}
