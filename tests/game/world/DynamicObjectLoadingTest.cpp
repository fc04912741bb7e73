#include "tests/game/world/WorldFilesFixture.h"

#include "game/world/DynamicObjectState.h"
#include "game/world/HitSoundTable.h"
#include "game/world/ObjectMesh.h"
#include "game/world/dcDynamicObject.h"
#include "game/world/dcWorldRender.h"
#include "tests/support/CapturingSink.h"

#include <ode/ode.h>

#include <cmath>

namespace {

class DynamicObjectLoadingTest : public WorldFilesTest {
protected:
    const std::vector<dcDynamicObject*>& Props() { return Game().GetWorld().GetDynamicObjects(); }

    static bool InPropSpace(const dcDynamicObject& object)
    {
        return DynamicObjectSpace() && dSpaceQuery(DynamicObjectSpace()->GetSpace(), object.box.GetHandle());
    }
};

} // namespace

TEST_F(DynamicObjectLoadingTest, NameWordsGiveSurfaceSoundsAndHideAndCollisionKindsGiveBoxes)
{
    ScopedCapture log(kLogError);
    LoadWorld(L"Maps\\Props.DCW");
    ASSERT_FALSE(Game().GetWorld().HasFailed());
    EXPECT_TRUE(log->lines.empty());

    constexpr int32_t kNoSound = -1;
    struct Case {
        const wchar_t* name;   // upper-cased as stored
        int32_t sound;         // SurfaceKind, or kNoSound
        bool hidden;
        bool detailOnly;
        int32_t category;      // of the box, or -1: no box
        int32_t collides;
        int32_t behaviour;
    };
    const std::vector<Case> cases = {
        {L"DYNAMIC_BARREL_WOOD_A", kSurfaceWood, false, false, 0xC, -1, 1},
        {L"DYNAMIC_PHONECELL_1", kSurfacePhone, false, false, 0xC, -1, 1},
        {L"PION_0", kNoSound, false, false, -1, 0, 0},
        {L"DYNAMIC_PARKMTRA_1", kSurfacePark, false, true, 0xC, -1, 2},
        {L"DYNAMIC_LEAF_1", kSurfaceLeafs, false, true, 0, 8, 3},
        {L"BARRICADE_1", kSurfaceMetal, false, false, 0, 8, 1},
        {L"NOVIS_BLOCK", kSurfaceLight, true, false, 0xC, -1, 0},
        {L"BENCH_DEADLY", kSurfaceLight, false, false, 0xC, -1, 4},
        {L"PAAL_WOOD_1", kSurfaceWood, false, false, 0xC, -1, 0},
        {L"TRAFFICLITE001", kSurfaceTraffic, false, false, 0xC, -1, 0},
    };
    ASSERT_EQ(Props().size(), 14u);
    for (const Case& c : cases) {
        const auto found = std::find_if(Props().begin(), Props().end(),
                                         [&c](const dcDynamicObject* object) { return object->name == c.name; });
        ASSERT_NE(found, Props().end()) << WideStringToNarrow(c.name);
        const dcDynamicObject& object = **found;
        SCOPED_TRACE(WideStringToNarrow(c.name));
        EXPECT_EQ(object.GetExtensions(), c.sound == kNoSound ? nullptr : HitSoundTable()[c.sound].get());
        EXPECT_EQ(object.hidden, c.hidden);
        EXPECT_EQ(object.detailOnly, c.detailOnly);
        EXPECT_EQ(object.behaviour, c.behaviour);
        EXPECT_EQ(InPropSpace(object), c.category != -1);
        if (c.category != -1) {
            EXPECT_EQ(object.box.GetCategoryBits(), c.category);
            EXPECT_EQ(object.box.GetCollideBits(), c.collides);
            EXPECT_EQ(object.box.GetOwner(), &object);
        }
        EXPECT_NE(object.GetScene(), nullptr);
    }
}

TEST_F(DynamicObjectLoadingTest, ABoxIsTheFileBoxAHundredthLargerAroundTheMeshCentreInThePlacedPose)
{
    LoadWorld(L"Maps\\Props.DCW");
    const dcDynamicObject& barrel = *Props()[1];
    const Vec3 half = barrel.box.GetHalfExtents();
    EXPECT_NEAR(half.x, 5.05f, 1e-4f);
    EXPECT_NEAR(half.y, 5.05f, 1e-4f);
    const Vec3 at = barrel.box.GetPosition();
    EXPECT_NEAR(at.x, 10.0f, 1e-4f);
    EXPECT_NEAR(at.y, 5.0f, 1e-4f);
    EXPECT_NEAR(barrel.worldBox.centre.x, 10.0f, 1e-4f);
    EXPECT_EQ(barrel.mesh, &Game().GetWorld().GetMeshes()[1]);
}

TEST_F(DynamicObjectLoadingTest, TheLoadedPropsCollideAsOneSpaceAndTheRendererJoinsTheScene)
{
    LoadWorld(L"Maps\\Props.DCW");
    World& world = Game().GetWorld();
    ASSERT_TRUE(DynamicObjectSpace());
    EXPECT_EQ(DynamicObjectSpace()->GetCategoryBits(), 0x8);
    EXPECT_EQ(DynamicObjectSpace()->GetCollideBits(), 0x6C0);
    EXPECT_EQ(DynamicObjectSpace()->GetOwner(), &world.GetRender());
    EXPECT_TRUE(dSpaceQuery(world.GetPhysics().GetSpace(), DynamicObjectSpace()->GetHandle()));
    EXPECT_EQ(world.GetRender().GetScene(), &Game().GetScene());
    // Without a visibility cache every prop is tested each frame, after the static objects.
    const std::vector<MessageReceiver*>& registered = world.GetVisibility().GetRegisteredEntities();
    ASSERT_EQ(registered.size(), 1u + Props().size());
    EXPECT_EQ(registered[0], &world.GetStaticObjects()[0]);
    EXPECT_EQ(registered[1], Props()[0]);
}

TEST_F(DynamicObjectLoadingTest, ADamagedPropIsReportedAndTheFileGivenUpKeepingThePropsBeforeIt)
{
    struct Case {
        const wchar_t* file;
        size_t propsRead;   // before the damaged one
        size_t slots;
    };
    for (const Case& c : std::initializer_list<Case>{{L"Maps\\PropsMesh.DCW", 2, 14},
                                                     {L"Maps\\PropsHalf.DCW", 2, 14},
                                                     {L"Maps\\PropsCut.DCW", 13, 14},
                                                     {L"Maps\\PropsCount.DCW", 0, 0}}) {
        SCOPED_TRACE(WideStringToNarrow(c.file));
        ScopedCapture log(kLogError);
        LoadWorld(c.file);
        EXPECT_TRUE(Game().GetWorld().HasFailed());
        EXPECT_EQ(log->lines, std::vector<WideString>{WideString(c.file) + L" contains errors"});
        ASSERT_EQ(Props().size(), c.slots);
        for (size_t j = 0; j < c.slots; ++j) {
            EXPECT_EQ(Props()[j] != nullptr, j < c.propsRead) << j;
        }
        // Given up before its end: the props' space never joins the physics.
        EXPECT_FALSE(DynamicObjectSpace() && DynamicObjectSpace()->GetWorld());
    }
}

TEST_F(DynamicObjectLoadingTest, ASecondWorldLoadsItsPropsFromNothing)
{
    LoadWorld(L"Maps\\Props.DCW");
    const int32_t sceneWithProps = Game().GetScene().Count();
    Props()[0]->Send(dcCollision{&Props()[0]->box, &Props()[1]->box});
    ASSERT_FALSE(ActiveDynamicObjects().empty());

    // Small has one static object, as Props has, and no props.
    LoadWorld(L"Maps\\Small.DCW");
    EXPECT_TRUE(Props().empty());
    EXPECT_TRUE(ActiveDynamicObjects().empty());
    EXPECT_TRUE(RigidBodyPool().empty());
    EXPECT_EQ(Game().GetScene().Count(), sceneWithProps - 14);
    ASSERT_TRUE(DynamicObjectSpace());
    EXPECT_EQ(dSpaceGetNumGeoms(DynamicObjectSpace()->GetSpace()), 0);

    LoadWorld(L"Maps\\Props.DCW");
    EXPECT_EQ(Game().GetScene().Count(), sceneWithProps);
    EXPECT_EQ(Props().size(), 14u);
    EXPECT_EQ(dSpaceGetNumGeoms(DynamicObjectSpace()->GetSpace()), 13);
}

// The sample city's props, written by the data tools, as the game reads them
// (its street lights have their own checks).
TEST_F(DynamicObjectLoadingTest, TheSampleCityPropsStandOnThePavementWithTheirSounds)
{
    LoadWorld(L"Maps\\Test.DCW");
    ASSERT_FALSE(Game().GetWorld().HasFailed());
    ASSERT_FALSE(Props().empty());
    constexpr float kKerbHeight = 2.0f;
    struct Word {
        const wchar_t* prefix;
        int32_t sound;
    };
    const Word words[] = {{L"DYNAMIC_BARREL_WOOD", kSurfaceWood},
                          {L"DYNAMIC_PHONECELL", kSurfacePhone},
                          {L"DYNAMIC_PARKMTRA", kSurfacePark},
                          {L"PION", kSurfaceCone},
                          {L"BENCH", kSurfaceLight}};
    std::vector<int32_t> seen(std::size(words), 0);
    for (const dcDynamicObject* prop : Props()) {
        const auto word = std::find_if(std::begin(words), std::end(words),
                                       [prop](const Word& w) { return prop->name.starts_with(w.prefix); });
        if (word == std::end(words)) {
            continue;
        }
        SCOPED_TRACE(WideStringToNarrow(prop->name));
        const BoundingBox& box = prop->worldBox;
        EXPECT_NEAR(box.centre.y - box.halfExtents.y, kKerbHeight, 1e-3f);
        EXPECT_TRUE(InPropSpace(*prop));
        ++seen[static_cast<size_t>(word - std::begin(words))];
        EXPECT_EQ(prop->GetExtensions(), HitSoundTable()[word->sound].get());
    }
    for (size_t w = 0; w < std::size(words); ++w) {
        EXPECT_GT(seen[w], 0) << WideStringToNarrow(words[w].prefix);
    }
}

TEST_F(DynamicObjectLoadingTest, ASampleCityPropKnockedLooseComesToRestOnThePavement)
{
    LoadWorld(L"Maps\\Test.DCW");
    const auto loose = std::find_if(Props().begin(), Props().end(),
                                    [](const dcDynamicObject* prop) { return prop->behaviour == kBehaviourLoose; });
    ASSERT_NE(loose, Props().end());
    dcDynamicObject& prop = **loose;
    Game().GetViewCamera().SetPosition(prop.position);
    BoxGeom bullet({1, 1, 1});
    bullet.SetCategoryBits(0x80);
    prop.Send(dcCollision{&prop.box, &bullet});
    ASSERT_NE(prop.body, nullptr);

    World& world = Game().GetWorld();
    constexpr float kStep = 1.0f / 60.0f;
    for (int32_t step = 0; step < 120; ++step) {
        world.GetPhysics().Collide();
        world.GetPhysics().Step(kStep);
        world.GetRender().Send(dcUpdate{kStep});
    }
    EXPECT_FALSE(prop.body->IsEnabled());
    EXPECT_NEAR(prop.GetPosition().y, prop.position.y, 1.0f);
}
