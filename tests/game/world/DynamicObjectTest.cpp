#include "tests/game/world/WorldFilesFixture.h"

#include "engine/physics/BoxGeom.h"
#include "engine/physics/RigidBody.h"
#include "game/weapons/DamageMessages.h"
#include "game/world/DynamicObjectState.h"
#include "game/world/ObjectMesh.h"
#include "game/world/dcDynamicObject.h"
#include "game/world/dcWorldRender.h"
#include "tests/game/world/RecordingExtension.h"

#include <cmath>

namespace {

// The props of "Maps\Props.DCW", by their place in the file.
enum PropIndex : size_t {
    kBarrelA = 0,   // A to E: a touching row of barrels from x = 0 to 40
    kBarrelE = 4,
    kPhoneCell = 5,
    kParkingMeter = 7,   // moves alone
    kLeaves = 8,
    kHidden = 10,
    kDeadly = 11,
};

constexpr float kStep = 1.0f / 60.0f;

class DynamicObjectTest : public WorldFilesTest {
protected:
    DynamicObjectTest() { LoadWorld(L"Maps\\Props.DCW"); }

    dcDynamicObject& Prop(size_t index) { return *Game().GetWorld().GetDynamicObjects()[index]; }

    // A geometry of the category touches the prop.
    static void Touch(dcDynamicObject& prop, PhysicsGeom& other) { prop.Send(dcCollision{&prop.box, &other}); }
    void Touch(dcDynamicObject& prop, int32_t category)
    {
        BoxGeom other({1, 1, 1});
        other.SetCategoryBits(category);
        Touch(prop, other);
    }

    // Fixed steps as the world runs them: collide, step, then the update.
    void Run(float seconds)
    {
        World& world = Game().GetWorld();
        for (float t = 0.0f; t < seconds; t += kStep) {
            world.GetPhysics().Collide();
            world.GetPhysics().Step(kStep);
            world.GetRender().Send(dcUpdate{kStep});
        }
    }

    bool IsActive(const dcDynamicObject& prop) const
    {
        const std::vector<dcDynamicObject*>& active = ActiveDynamicObjects();
        return std::count(active.begin(), active.end(), &prop) == 1;
    }

    bool IsMovingEntity(dcDynamicObject& prop)
    {
        const std::vector<MessageReceiver*>& moving = Game().GetWorld().GetVisibility().GetMovingEntities();
        return std::find(moving.begin(), moving.end(), &prop) != moving.end();
    }

    // How far the camera sees a prop of this mesh, times 1.25.
    float Reach(const dcDynamicObject& prop)
    {
        return 1.25f * Game().GetViewCamera().GetLodDistance(prop.mesh->sizeClass - 1);
    }
};

float Distance(const Vec3& a, const Vec3& b)
{
    const Vec3 d = a - b;
    return std::sqrt(Vec3::Dot(d, d));
}

} // namespace

TEST_F(DynamicObjectTest, CarsBulletsExplosionsAndPropsKnockAPropLooseButCharactersAndRocketsDoNot)
{
    struct Case {
        int32_t category;
        bool knocks;
    };
    for (const Case& c : std::initializer_list<Case>{{0x200, true},
                                                     {0x204, true},
                                                     {0x80, true},
                                                     {0x40, true},
                                                     {0x0C, true},
                                                     {0x404, false},
                                                     {0x120, false},
                                                     {0x1, false}}) {
        SCOPED_TRACE(c.category);
        dcDynamicObject& cell = Prop(kPhoneCell);
        Touch(cell, c.category);
        EXPECT_EQ(cell.body != nullptr, c.knocks);
        EXPECT_EQ(IsActive(cell), c.knocks);
        EXPECT_EQ(IsMovingEntity(cell), c.knocks);
        if (c.knocks) {
            EXPECT_TRUE(cell.body->IsEnabled());
            EXPECT_FLOAT_EQ(cell.body->GetMass(), dcDynamicObject::kLooseMass);
            EXPECT_EQ(cell.box.GetRigidBody(), cell.body.get());
        }
        Game().BroadcastGameReset();
    }
}

TEST_F(DynamicObjectTest, ACarDrivingIntoARowOfBarrelsKnocksThemLooseThroughThePropSpace)
{
    RecordingEntity driver({dcDamageMessage::Identity().Id()});
    PhysicsWorld& physics = Game().GetWorld().GetPhysics();
    BoxGeom chassis({5, 4, 5});
    chassis.SetCategoryBits(0x204);
    chassis.SetCollideBits(7);
    chassis.SetOwner(&driver);
    RigidBody car(physics);
    car.AttachGeom(&chassis);
    car.SetMass(1500.0f);
    car.SetPosition({-20, 6, 0});
    car.DisableGravity();
    car.SetLinearVelocity({300, 0, 0});
    car.Enable();
    chassis.AddToWorld(physics);

    Run(0.1f);
    EXPECT_NE(Prop(kBarrelA).body, nullptr);
    EXPECT_TRUE(IsActive(Prop(kBarrelA)));
    // The loose barrel does not stop the car.
    EXPECT_GT(car.GetPosition().x, 0.0f);
    chassis.RemoveFromWorld(physics);
}

TEST_F(DynamicObjectTest, AKnockedPropKnocksItsTouchingNeighboursLooseAtMostThreeLevelsDeep)
{
    Touch(Prop(kBarrelA), 0x200);
    for (size_t barrel = kBarrelA; barrel <= kBarrelE; ++barrel) {
        EXPECT_EQ(Prop(barrel).body != nullptr, barrel < kBarrelE) << barrel;
    }
    EXPECT_EQ(KnockLooseDepth(), 0);
    EXPECT_EQ(ActiveDynamicObjects().size(), 4u);
}

TEST_F(DynamicObjectTest, MovingAPropKnocksWhatItTouchesLooseUnlessItMovesAlone)
{
    dcDynamicObject& meter = Prop(kParkingMeter);
    dcDynamicObject& barrelE = Prop(kBarrelE);
    Touch(meter, 0x200);
    meter.SetPosition({49, 5, 0});
    Run(kStep);
    EXPECT_EQ(barrelE.body, nullptr);

    dcDynamicObject& cell = Prop(kPhoneCell);
    Touch(cell, 0x200);
    cell.SetPosition({49, 5, 0});
    Run(kStep);
    EXPECT_NE(barrelE.body, nullptr);
}

TEST_F(DynamicObjectTest, ALoosePropLandsAndStopsOnceSlowForThreeQuartersOfASecond)
{
    dcDynamicObject& cell = Prop(kPhoneCell);
    Touch(cell, 0x200);
    Run(0.6f);
    ASSERT_NE(cell.body, nullptr);
    EXPECT_TRUE(cell.body->IsEnabled());
    Run(0.4f);
    EXPECT_FALSE(cell.body->IsEnabled());
    // Standing on the floor, where it was placed.
    EXPECT_NEAR(cell.GetPosition().y, 5.0f, 0.5f);
    EXPECT_NEAR(cell.worldBox.centre.x, 200.0f, 0.5f);
    EXPECT_TRUE(IsActive(cell));
}

TEST_F(DynamicObjectTest, LeavesStartFallingAtTheFirstTouchAndKeepItsTime)
{
    dcDynamicObject& leaves = Prop(kLeaves);
    Touch(leaves, 0x404);
    EXPECT_FLOAT_EQ(leaves.fallTime, 0.0001f);
    Game().GetWorld().GetRender().Send(dcUpdate{0.5f});
    Touch(leaves, 0x200);
    EXPECT_FLOAT_EQ(leaves.fallTime, 0.5001f);
    EXPECT_TRUE(IsActive(leaves));
    EXPECT_EQ(leaves.body, nullptr);

    Game().BroadcastGameReset();
    EXPECT_EQ(leaves.fallTime, 0.0f);
    EXPECT_TRUE(ActiveDynamicObjects().empty());
}

TEST_F(DynamicObjectTest, ADeadlyPropKillsWhatTouchesItOnEveryTouch)
{
    dcDynamicObject& deadly = Prop(kDeadly);
    RecordingEntity victim({dcDamageMessage::Identity().Id()});
    BoxGeom body({1, 1, 1});
    body.SetOwner(&victim);
    Touch(deadly, body);
    Touch(deadly, body);
    ASSERT_EQ(victim.Count<dcDamageMessage>(), 2);
    const dcDamageMessage damage = victim.Last<dcDamageMessage>();
    EXPECT_EQ(damage.attacker, nullptr);
    EXPECT_EQ(damage.amount, 5000000.0f);
    EXPECT_EQ(damage.kind, kDamageKill);
    EXPECT_EQ(damage.forced, 1);
    // Nobody to tell: nothing sent, and the prop stays.
    BoxGeom ownerless({1, 1, 1});
    Touch(deadly, ownerless);
    EXPECT_EQ(deadly.body, nullptr);
    EXPECT_FALSE(IsActive(deadly));
}

TEST_F(DynamicObjectTest, AGameResetPutsEveryPropBackAndADarkLampStaysDark)
{
    std::vector<std::string> journal;
    RecordingExtension lamp("lamp", true, journal);
    dcDynamicObject& cell = Prop(kPhoneCell);
    cell.AddExtension(&lamp);
    Touch(cell, 0x200);
    EXPECT_TRUE(lamp.broken);
    EXPECT_EQ(lamp.hitAt.x, 200.0f);
    cell.body->SetLinearVelocity({0, 200, 100});
    Run(0.3f);
    ASSERT_GT(Distance(cell.GetPosition(), cell.position), 10.0f);

    Game().BroadcastGameReset();
    EXPECT_EQ(cell.body, nullptr);
    EXPECT_EQ(Distance(cell.GetPosition(), {200, 5, 0}), 0.0f);
    EXPECT_LT(Distance(cell.box.GetPosition(), {200, 5, 0}), 1e-4f);
    EXPECT_LT(Distance(cell.worldBox.centre, {200, 5, 0}), 1e-4f);
    EXPECT_TRUE(ActiveDynamicObjects().empty());
    EXPECT_EQ(RigidBodyPool().size(), 1u);
    EXPECT_FALSE(IsMovingEntity(cell));
    EXPECT_TRUE(lamp.broken);

    // Knocked again, it takes the pooled body back, at rest.
    Touch(cell, 0x200);
    EXPECT_TRUE(RigidBodyPool().empty());
    EXPECT_EQ(cell.body->GetLinearVelocity().y, 0.0f);
}

TEST_F(DynamicObjectTest, ALeftBehindPropHidesAndIsPutBackOnlyOnceItsPlaceIsOutOfReachToo)
{
    dcDynamicObject& cell = Prop(kPhoneCell);
    Camera& camera = Game().GetViewCamera();
    const float reach = Reach(cell);
    ASSERT_GT(reach, 0.0f);
    camera.SetPosition({200, 5, 0});
    Touch(cell, 0x200);
    cell.SetPosition({200 + 2 * reach, 5, 0});
    Run(kStep);
    EXPECT_TRUE(cell.leftBehind);
    EXPECT_FALSE(cell.body->IsEnabled());
    EXPECT_TRUE(IsActive(cell));

    camera.SetPosition({200 - 2 * reach, 5, 0});
    Run(kStep);
    EXPECT_FALSE(cell.leftBehind);
    EXPECT_EQ(cell.body, nullptr);
    EXPECT_FALSE(IsActive(cell));
    EXPECT_EQ(cell.GetPosition().x, 200.0f);
}

TEST_F(DynamicObjectTest, HiddenPropsNeitherDrawNorCollide)
{
    dcDynamicObject& hidden = Prop(kHidden);
    dcCollisionCull cull{&hidden.box, &Prop(kBarrelA).box};
    hidden.Send(cull);
    EXPECT_EQ(cull.collide, 0);
    dcCollisionCull seen{&Prop(kBarrelA).box, &hidden.box};
    Prop(kBarrelA).Send(seen);
    EXPECT_EQ(seen.collide, 1);

    Camera& camera = Game().GetViewCamera();
    camera.SetPosition({700, 5, -100});
    camera.Update();
    dcVisTest test{&camera, 1, 31, 0, 1, {}};
    hidden.Send(test);
    EXPECT_EQ(test.visible, 0);
}

TEST_F(DynamicObjectTest, ThePropSpaceMeetsOnlyWhatIsNearTheCamera)
{
    dcWorldRender& render = Game().GetWorld().GetRender();
    Game().GetViewCamera().SetPosition({0, 0, 0});
    BoxGeom closeBy({1, 1, 1});
    closeBy.SetPosition({1999, 0, 0});
    BoxGeom farAway({1, 1, 1});
    farAway.SetPosition({2001, 0, 0});
    SpaceGeom farSpace({{5000, 0, 0}, {10, 10, 10}}, 1);
    struct Case {
        PhysicsGeom* other;
        uint8_t collide;
    };
    for (const Case& c : std::initializer_list<Case>{{&closeBy, 1}, {&farAway, 0}, {&farSpace, 1}}) {
        dcCollisionCull cull{DynamicObjectSpace().get(), c.other};
        render.Send(cull);
        EXPECT_EQ(cull.collide, c.collide);
    }
}

TEST_F(DynamicObjectTest, ASeenPropTellsItsChainAndALampsGroundWidensWhatTheCameraMustSee)
{
    std::vector<std::string> journal;
    RecordingExtension lamp("lamp", true, journal);
    dcDynamicObject& cell = Prop(kPhoneCell);
    cell.AddExtension(&lamp);
    Camera& camera = Game().GetViewCamera();
    // Looking along +z, the cell 150 units to the side, out of the view.
    camera.SetPosition({350, 5, -100});
    camera.Update();
    dcVisTest test{&camera, 1, 31, 0, 1, {}};
    cell.Send(test);
    EXPECT_EQ(test.visible, 0);
    EXPECT_FALSE(cell.visible);

    cell.lit = true;
    cell.Send(test);
    EXPECT_EQ(test.visible, 1);
    EXPECT_EQ(test.wantsRender, 0);
    EXPECT_TRUE(cell.visible);
    EXPECT_EQ(journal, std::vector<std::string>{"lamp:visible"});

    // Without the renderer's high-detail path, a detail-only prop is never seen.
    cell.detailOnly = true;
    cell.Send(test);
    EXPECT_EQ(test.visible, 0);
}
