// The world's object stages: the meshes of its props, its fixed props and
// its markers, as the game finds them after loading, and files whose
// object chunks do not fit their tables.

#include "tests/game/world/WorldFilesFixture.h"

#include "game/world/MaterialDrawList.h"
#include "game/world/ObjectMesh.h"
#include "game/world/World.h"
#include "game/world/dcAmbientSound.h"
#include "game/world/dcWorldObject.h"
#include "render/models/Camera.h"
#include "tests/support/CapturingSink.h"

#include <cmath>

namespace {

class WorldObjectLoadingTest : public WorldFilesTest {
protected:
    // A camera at the point looking along -z.
    static Camera CameraAt(const Vec3& position)
    {
        Camera camera;
        camera.SetFarPlane(2000.0f);
        camera.SetPosition(position);
        camera.Update();
        return camera;
    }

    static dcVisTest VisTest(const Camera& camera) { return dcVisTest{&camera, 1, 31, 0, 1, {}}; }
};

} // namespace

// A call reads at most a thousand records; a call that read a whole batch is
// not done yet.
TEST_F(WorldObjectLoadingTest, MeshesAndPropsLoadInBatchesOfAThousand)
{
    World& world = Game().GetWorld();
    world.SetFileName(L"Maps\\Many.DCW");
    for (World::LoadStage stage : {&World::LoadHeader, &World::LoadCollision, &World::LoadPathNetworks,
                                   &World::LoadRenderGeometry, &World::LoadMaterials}) {
        RunStage(world, stage);
    }
    const std::vector<float> meshes = RunStage(world, &World::LoadObjectMeshes);
    ASSERT_EQ(meshes.size(), 3u);
    EXPECT_FLOAT_EQ(meshes[1], 0.9f * 1001.0f / 1500.0f);
    const std::vector<float> props = RunStage(world, &World::LoadStaticObjects);
    ASSERT_EQ(props.size(), 3u);
    EXPECT_FLOAT_EQ(props[1], 0.9f * 1001.0f / 1000.0f);
    EXPECT_EQ(world.GetMeshes().size(), 1500u);
    EXPECT_EQ(world.GetStaticObjects().back().mesh, &world.GetMeshes()[999]);
    EXPECT_FALSE(world.HasFailed());
}

TEST_F(WorldObjectLoadingTest, PropsAndMarkersArriveAsTheGameUsesThem)
{
    ScopedCapture log(kLogError);
    LoadWorld(L"Maps\\Objects.DCW");
    World& world = Game().GetWorld();
    ASSERT_FALSE(world.HasFailed());

    // Size classes by the largest half extent: above 300, 200 and 100.
    const std::vector<ObjectMesh>& meshes = world.GetMeshes();
    ASSERT_EQ(meshes.size(), 4u);
    EXPECT_EQ(meshes[0].sizeClass, 1);
    EXPECT_EQ(meshes[1].sizeClass, 0);
    EXPECT_EQ(meshes[2].sizeClass, 3);
    EXPECT_EQ(meshes[3].sizeClass, 1);
    EXPECT_FLOAT_EQ(meshes[0].halfExtentsLengthSquared, 90002.0f);
    ASSERT_EQ(meshes[2].ranges.size(), 2u);
    EXPECT_EQ(meshes[2].ranges[1].geometry, kStreamingGeometry);
    EXPECT_EQ(meshes[2].ranges[1].material, 2);
    EXPECT_EQ(meshes[1].ranges[0].effect, nullptr);

    // Road pieces carry their road's name in any case; "NOVIS" hides.
    std::vector<dcWorldObject>& props = world.GetStaticObjects();
    ASSERT_EQ(props.size(), 4u);
    EXPECT_EQ(props[0].name, L"Main");
    EXPECT_EQ(props[1].name, L"x");
    EXPECT_TRUE(props[2].name.empty());
    EXPECT_TRUE(props[2].hidden);
    EXPECT_FALSE(props[3].hidden);
    // Turned a quarter about y, the kiosk's box lies along z.
    EXPECT_NEAR(props[3].worldBox.centre.x, 10.0f, 1e-4f);
    EXPECT_NEAR(props[3].worldBox.halfExtents.x, 0.0f, 1e-3f);
    EXPECT_NEAR(props[3].worldBox.halfExtents.z, 100.0f, 1e-3f);
    for (dcWorldObject& prop : props) {
        EXPECT_EQ(Game().GetScene().FindReceiver(prop.GetId()), &prop);
    }
    EXPECT_EQ(world.GetVisibility().GetIdBase(), props[0].GetId());
    EXPECT_EQ(world.GetVisibility().GetRegisteredEntities().size(), 4u);

    // Delivery points without a name of their own take the road's they stand on.
    std::vector<WideString> names;
    for (const Tape& marker : world.GetMarkers()) {
        names.push_back(marker.name);
    }
    EXPECT_EQ(names, (std::vector<WideString>{L"SOUND_NIGHT_Crickets", L"SOUND_Rain", L"DROPPOINT Hospital",
                                              L"DROPPOINTMain", L"droppoint  Main", L"DROPPOINT"}));
    // The one decoration with a usable route, then the two sounds.
    const std::vector<int32_t>& entities = world.GetSceneEntityIds();
    ASSERT_EQ(entities.size(), 3u);
    for (size_t i = 1; i < 3; ++i) {
        EXPECT_NE(dynamic_cast<dcAmbientSound*>(Game().GetScene().FindReceiver(entities[i])), nullptr);
    }
}

TEST_F(WorldObjectLoadingTest, SeenPropsQueueTheirRangesAndHiddenOnesDoNot)
{
    LoadWorld(L"Maps\\Objects.DCW");
    std::vector<dcWorldObject>& props = Game().GetWorld().GetStaticObjects();
    const Camera facing = CameraAt({0.0f, 0.0f, 500.0f});
    const Camera away = CameraAt({0.0f, 0.0f, -500.0f});

    const dcVisTest seen = VisTest(facing);
    props[3].Send(seen);
    EXPECT_EQ(seen.visible, 1);
    // It draws through the world renderer, not through dcRender.
    EXPECT_EQ(seen.wantsRender, 0);
    ASSERT_EQ(MaterialDrawLists()[1].items.size(), 1u);
    EXPECT_EQ(MaterialDrawLists()[1].items[0].object, &props[3]);
    ASSERT_EQ(MaterialDrawLists()[2].items.size(), 1u);
    EXPECT_EQ(MaterialDrawLists()[2].items[0].range, 1);

    for (const Camera* camera : {&away, &facing}) {
        dcWorldObject& prop = camera == &away ? props[3] : props[2];
        const dcVisTest test = VisTest(*camera);
        prop.Send(test);
        EXPECT_EQ(test.visible, 0);
        EXPECT_EQ(test.wantsRender, 1);
    }
    EXPECT_EQ(MaterialDrawLists()[1].items.size(), 1u);
}

TEST_F(WorldObjectLoadingTest, APropTellsTheVisibilityCompileItsPlacedBox)
{
    LoadWorld(L"Maps\\Objects.DCW");
    dcWorldObject& kiosk = Game().GetWorld().GetStaticObjects()[3];
    const dcOcclusionData data{};
    kiosk.Send(data);
    EXPECT_FLOAT_EQ(data.boxHalfExtents.x, 100.0f);
    EXPECT_FLOAT_EQ(data.boxHalfExtents.y, 50.0f);
    EXPECT_FLOAT_EQ(data.world.m[3][0], 10.0f);
    EXPECT_NEAR(data.world.m[0][2], -1.0f, 1e-5f);
    EXPECT_FLOAT_EQ(data.distanceFactor, 1.0f);
}

TEST_F(WorldObjectLoadingTest, ObjectChunksThatDoNotFitTheirTablesAreRefused)
{
    for (const wchar_t* file : {L"Maps\\FarMesh.DCW", L"Maps\\FarMaterial.DCW", L"Maps\\FarRecord.DCW",
                                L"Maps\\LongRange.DCW", L"Maps\\StreamRange.DCW"}) {
        ScopedCapture log(kLogError);
        LoadWorld(file);
        std::vector<WideString> lines = log->lines;
        std::erase_if(lines, [](const WideString& line) { return line.find(L"Models\\") != WideString::npos; });
        EXPECT_EQ(lines, std::vector<WideString>{WideString(file) + L" contains errors"}) << WideStringToNarrow(file);
        EXPECT_TRUE(Game().GetWorld().HasFailed()) << WideStringToNarrow(file);
        EXPECT_TRUE(Game().GetWorld().GetMarkers().empty());
    }
}

TEST_F(WorldObjectLoadingTest, TheNextWorldTakesTheLastOnesPropsAndSoundsAway)
{
    LoadWorld(L"Maps\\Objects.DCW");
    const int32_t sound = Game().GetWorld().GetSceneEntityIds().back();
    const int32_t prop = Game().GetWorld().GetStaticObjects().front().GetId();

    LoadWorld(L"Maps\\Small.DCW");
    World& world = Game().GetWorld();
    EXPECT_EQ(Game().GetScene().FindReceiver(sound), nullptr);
    EXPECT_EQ(Game().GetScene().FindReceiver(prop), nullptr);
    // Only the small world's ground stands, and only it is tested for visibility.
    ASSERT_EQ(world.GetStaticObjects().size(), 1u);
    EXPECT_EQ(world.GetMeshes().size(), 1u);
    EXPECT_EQ(world.GetVisibility().GetRegisteredEntities(),
              std::vector<MessageReceiver*>{&world.GetStaticObjects()[0]});
    ASSERT_EQ(world.GetMarkers().size(), 1u);
    EXPECT_EQ(world.GetMarkers()[0].name, L"START");
}
