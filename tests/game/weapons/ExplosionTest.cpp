// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/weapons/WeaponTestEntities.h"

#include "engine/core/FrameMessages.h"
#include "engine/physics/BoxGeom.h"
#include "engine/physics/PhysicsMessages.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/physics/RigidBody.h"
#include "game/weapons/DamageMessages.h"
#include "game/weapons/ExplosionKind.h"
#include "game/weapons/SmokeMaker.h"
#include "game/weapons/dcExplosion.h"

#include <cmath>

namespace {

constexpr float kStep = 1.0f / 75.0f;
const Vec3 kUp{0.0f, 1.0f, 0.0f};

class ExplosionTest : public GameTest {
protected:
    ExplosionTest() { Game(); }
    ~ExplosionTest() override { Game().BroadcastGameReset(); }

    dcExplosion& Spawn(const Vec3& point, int32_t rideId = 0, PhysicsGeom* attacker = nullptr)
    {
        dcExplosion::Spawn(attacker, point, kUp, kExplosionRocket, rideId);
        return *dcExplosion::LiveExplosions().back();
    }
    void Step() { Game().GetUpdateChannel().Broadcast(dcUpdate{kStep}); }
    static float Extent(const dcExplosion& explosion) { return 3.0f * explosion.GetSphere().GetRadius(); }
};

} // namespace

TEST_F(ExplosionTest, ABlastGrowsForSeventyFiveStepsAndThenGoes)
{
    dcExplosion& explosion = Spawn({0, 0, 0});
    EXPECT_EQ(Extent(explosion), 15.0f);
    EXPECT_EQ(explosion.GetSphere().GetPosition().y, -20.0f);
    for (int32_t step = 0; step < 74; ++step) {
        Step();
    }
    ASSERT_EQ(dcExplosion::LiveExplosions().size(), 1u);
    EXPECT_NEAR(Extent(explosion), std::sqrt(225.0f + 74.0f * 40000.0f / 75.0f), 0.01f);
    EXPECT_NEAR(Extent(explosion), 199.2f, 0.05f);
    Step();
    EXPECT_TRUE(dcExplosion::LiveExplosions().empty());
    EXPECT_EQ(explosion.GetScene(), nullptr);
}

TEST_F(ExplosionTest, OnlyTwentyBlastsAtATimeTakePartInThePhysicsWorld)
{
    for (int32_t i = 0; i < 21; ++i) {
        Spawn({static_cast<float>(i), 0, 0});
    }
    const std::vector<dcExplosion*>& live = dcExplosion::LiveExplosions();
    ASSERT_EQ(live.size(), 21u);
    for (size_t i = 0; i < live.size(); ++i) {
        EXPECT_EQ(live[i]->IsPhysical(), i < 20) << i;
        EXPECT_EQ(live[i]->GetSphere().HasFlag(kGeomInWorld), i < 20) << i;
    }
    // Room is counted in live blasts, physical or not.
    dcExplosion::Release(*live.front());
    EXPECT_FALSE(Spawn({}).IsPhysical());
    dcExplosion::Release(*live.front());
    dcExplosion::Release(*live.front());
    EXPECT_TRUE(Spawn({}).IsPhysical());
    Game().BroadcastGameReset();
    EXPECT_TRUE(dcExplosion::LiveExplosions().empty());
}

TEST_F(ExplosionTest, TheNextSpawnAfterAResetReusesTheLastReleased)
{
    Spawn({});
    dcExplosion* last = &Spawn({});
    Game().BroadcastGameReset();
    EXPECT_FALSE(last->GetSphere().HasFlag(kGeomInWorld));
    EXPECT_EQ(&Spawn({}), last);
}

TEST_F(ExplosionTest, StaticThingsInsideTakeBlastDamageByTheStepBodiesNone)
{
    RecordingEntity shooter;
    Game().GetScene().Add(&shooter);
    BoxGeom gun({1, 1, 1});
    gun.SetOwner(&shooter);
    dcExplosion& explosion = Spawn({}, 0, &gun);
    AnsweringEntity wall({dcDamageMessage::Identity().Id()});
    BoxGeom stone({1, 1, 1});
    stone.SetOwner(&wall);
    Game().GetWorld().GetPhysics().Step(kStep);

    dcCollisionCull cull;
    cull.self = const_cast<SphereGeom*>(&explosion.GetSphere());
    cull.other = &stone;
    explosion.Send(cull);
    EXPECT_EQ(cull.collide, 1);
    dcCollision collision;
    collision.self = cull.self;
    collision.other = &stone;
    explosion.Send(collision);
    ASSERT_EQ(wall.Count<dcDamageMessage>(), 1);
    const dcDamageMessage damage = wall.Last<dcDamageMessage>();
    EXPECT_NEAR(damage.amount, 250.0f / 75.0f, 1e-4f);
    EXPECT_EQ(damage.kind, kDamageExplosion);
    EXPECT_EQ(damage.attacker, &shooter);

    RigidBody body(Game().GetWorld().GetPhysics());
    BoxGeom car({1, 1, 1});
    body.AttachGeom(&car);
    dcCollisionCull carCull;
    carCull.self = cull.self;
    carCull.other = &car;
    explosion.Send(carCull);
    EXPECT_EQ(carCull.collide, 0);
    body.AttachGeom(nullptr);
    Game().GetScene().Remove(&shooter);
}

TEST_F(ExplosionTest, ABlastOnAMovingCarStartsAheadWithItAndKeepsItsDistance)
{
    PosedEntity car;
    car.velocity = {30, 0, 0};
    Game().GetScene().Add(&car);
    dcExplosion& explosion = Spawn({0, 10, 0}, car.GetId());
    EXPECT_EQ(explosion.GetRideId(), car.GetId());
    const Vec3 centre = explosion.GetSphere().GetPosition();
    EXPECT_GE(centre.x, 20.0f);
    EXPECT_LE(centre.x, 40.0f);
    EXPECT_FLOAT_EQ(centre.y, -10.0f);
    EXPECT_LE(std::fabs(centre.z), 10.0f);
    // Driving away, the car drags the point along at its distance.
    car.position = {500, 0, 0};
    Step();
    EXPECT_NEAR(Vec3::Subtract(explosion.GetPoint(), car.position).Length(), 10.0f, 1e-3f);
    EXPECT_LT(explosion.GetPoint().x, 500.0f);
    // Gone, it leaves the blast where it was.
    Game().GetScene().Remove(&car);
    const Vec3 left = explosion.GetPoint();
    Step();
    EXPECT_EQ(explosion.GetPoint().x, left.x);
}

TEST_F(ExplosionTest, ABlastThrowsSmokeAndAnUnknownKindExplodesAsTheGenericOne)
{
    SmokeMaker& smoke = EffectObjects::Get()->GetSmoke();
    smoke.ReleaseAll();
    dcExplosion::Spawn(nullptr, {0, 100, 0}, kUp, 7, 0);
    ASSERT_EQ(smoke.GetParticles().size(), 32u);
    for (const Particle* puff : smoke.GetParticles()) {
        EXPECT_GE(puff->position.y, 100.0f);
        EXPECT_LE(puff->position.y, 150.0f);
        EXPECT_FLOAT_EQ(puff->colour.a, 0.75f);
        EXPECT_FLOAT_EQ(puff->layers.front().w, 30.0f);
    }
    ASSERT_EQ(ExplosionKinds().size(), 5u);
    EXPECT_EQ(ExplosionKind::Find(7), &ExplosionKinds().front());
    EXPECT_EQ(ExplosionKind::Find(kExplosionAirstrike)->kind, kExplosionAirstrike);
}
