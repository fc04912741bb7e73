// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/weapons/WeaponTestEntities.h"

#include "engine/core/FrameMessages.h"
#include "game/weapons/DamageMessages.h"
#include "game/weapons/FireMaker.h"
#include "game/weapons/dcFire.h"

#include <initializer_list>
#include <numbers>

namespace {

constexpr float kStep = 1.0f / 75.0f;

class FireTest : public GameTest {
protected:
    FireTest() { Game(); }

    FireMaker& Flames() { return EffectObjects::Get()->GetFire(); }
    int32_t FlameCount() { return static_cast<int32_t>(Flames().GetParticles().size()); }
    void Step(float step) { Game().GetUpdateChannel().Broadcast(dcUpdate{step}); }
    bool IsLive(const dcFire* fire) { return fire->GetScene() == &Game().GetScene(); }
};

} // namespace

TEST_F(FireTest, EachStepBurnsTheEntityWithFireDamageByTheStepLength)
{
    RecordingEntity attacker;
    AnsweringEntity victim({dcDamageMessage::Identity().Id()});
    Game().GetScene().Add(&attacker);
    Game().GetScene().Add(&victim);
    dcFire::Spawn(attacker.GetId(), victim.GetId(), {}, 5.0f, 1.0f);
    Step(kStep);
    ASSERT_EQ(victim.Count<dcDamageMessage>(), 1);
    dcDamageMessage damage = victim.Last<dcDamageMessage>();
    EXPECT_NEAR(damage.amount, 0.1333f, 1e-4f);
    EXPECT_EQ(damage.kind, kDamageFire);
    EXPECT_EQ(damage.attacker, &attacker);
    EXPECT_EQ(damage.forced, 0);
    EXPECT_EQ(damage.hitGeometry, nullptr);
    // An attacker that has gone leaves the damage without one.
    Game().GetScene().Remove(&attacker);
    Step(kStep);
    ASSERT_EQ(victim.Count<dcDamageMessage>(), 2);
    EXPECT_EQ(victim.Last<dcDamageMessage>().attacker, nullptr);
    Game().GetScene().Remove(&victim);
}

TEST_F(FireTest, FlamesComeTenASecondAndAtLeastOneOnTheFirstStep)
{
    struct Case {
        std::vector<float> steps;
        int32_t flames;
    };
    for (const Case& c : std::initializer_list<Case>{
             {{kStep}, 1},
             {{0.25f}, 3},
             {{0.05f, 0.05f, 0.05f}, 2},
             {{0.33f, 0.33f}, 7},
         }) {
        Flames().ReleaseAll();
        dcFire* fire = dcFire::Spawn(0, 0, {1, 2, 3}, 5.0f, 0.0f);
        for (float step : c.steps) {
            Step(step);
        }
        EXPECT_EQ(FlameCount(), c.flames) << c.steps.size() << " steps of " << c.steps.front();
        ASSERT_GT(FlameCount(), 0);
        const Particle& flame = *Flames().GetParticles().back();
        EXPECT_FLOAT_EQ(flame.colour.a, 0.5f);
        EXPECT_EQ(flame.position.z, 3.0f);
        dcFire::Release(*fire);
    }
}

TEST_F(FireTest, AFireWithoutTimeGoesAtItsFirstStepWithoutFlamesOrDamage)
{
    AnsweringEntity victim({dcDamageMessage::Identity().Id()});
    Game().GetScene().Add(&victim);
    for (float duration : {0.0f, -1.0f, kStep / 2.0f}) {
        Flames().ReleaseAll();
        dcFire* fire = dcFire::Spawn(0, victim.GetId(), {}, duration, 1.0f);
        Step(kStep);
        EXPECT_FALSE(IsLive(fire)) << duration;
        EXPECT_EQ(FlameCount(), 0) << duration;
    }
    EXPECT_EQ(victim.Count<dcDamageMessage>(), 0);
    Game().GetScene().Remove(&victim);
}

TEST_F(FireTest, AFireFollowsItsPointOnAMovingTurningEntity)
{
    PosedEntity car;
    car.position = {100, 0, 0};
    Game().GetScene().Add(&car);
    // Five units in front of the car (its -z) when spawned.
    dcFire::Spawn(0, car.GetId(), {100, 0, -5}, 5.0f, 0.0f);
    car.position = {0, 50, 0};
    car.orientation = Quaternion::FromAxisAngle({0, 1, 0}, std::numbers::pi_v<float> / 2.0f);
    Flames().ReleaseAll();
    Step(kStep);
    ASSERT_EQ(FlameCount(), 1);
    const Vec3 expected = Vec3::TransformPoint({0, 0, -5}, [&] {
        Matrix44 pose = Quaternion::ToTransform(car.orientation);
        pose.SetRow(3, car.position);
        return pose;
    }());
    const Vec3& flame = Flames().GetParticles().front()->position;
    EXPECT_NEAR(flame.x, expected.x, 1e-4f);
    EXPECT_NEAR(flame.y, 50.0f, 1e-4f);
    EXPECT_NEAR(flame.z, expected.z, 1e-4f);
    EXPECT_NEAR(std::fabs(flame.x), 5.0f, 1e-4f);
    // Gone from the scene, it leaves the fire at the stored point.
    Game().GetScene().Remove(&car);
    Flames().ReleaseAll();
    Step(0.1f);
    ASSERT_EQ(FlameCount(), 1);
    EXPECT_EQ(Flames().GetParticles().front()->position.z, -5.0f);
}

TEST_F(FireTest, AReleaseAfterAResetListsTheFireOnce)
{
    dcFire* fire = dcFire::Spawn(0, 0, {}, 5.0f, 0.0f);
    Game().BroadcastGameReset();
    EXPECT_FALSE(IsLive(fire));
    dcFire::Release(*fire);
    dcFire* first = dcFire::Spawn(0, 0, {}, 5.0f, 0.0f);
    dcFire* second = dcFire::Spawn(0, 0, {}, 5.0f, 0.0f);
    EXPECT_EQ(first, fire);
    EXPECT_NE(second, first);
    EXPECT_TRUE(IsLive(first) && IsLive(second));
    Game().BroadcastGameReset();
}

TEST_F(FireTest, OnlyTheFiveKindsOfDamageAreDelivered)
{
    AnsweringEntity victim({dcDamageMessage::Identity().Id()});
    Game().GetScene().Add(&victim);
    struct Case {
        int32_t kind;
        int32_t delivered;
    };
    for (const Case& c : std::initializer_list<Case>{{kDamageFire, 1}, {kDamageKill, 1}, {-1, 0}, {5, 0}, {99, 0}}) {
        EXPECT_EQ(IsDamageKind(c.kind), c.delivered == 1) << c.kind;
        dcDamageMessage damage;
        damage.kind = c.kind;
        damage.amount = 1.0f;
        const int32_t before = victim.Count<dcDamageMessage>();
        EXPECT_EQ(SendDamageMessage(Game().GetScene(), victim.GetId(), damage), c.delivered) << c.kind;
        EXPECT_EQ(victim.Count<dcDamageMessage>() - before, c.delivered) << c.kind;
    }
    dcDamageMessage damage;
    EXPECT_EQ(SendDamageMessage(Game().GetScene(), 0, damage), 0);
    Game().GetScene().Remove(&victim);
}

TEST_F(FireTest, ExtendedDamageFallsBackToThePlainMessage)
{
    RecordingEntity attacker;
    AnsweringEntity plainOnly({dcDamageMessage::Identity().Id()});
    AnsweringEntity extended({dcExtDamageMessage::Identity().Id()});
    dcExtDamageMessage hit;
    hit.attacker = &attacker;
    hit.amount = 12.5f;
    hit.kind = kDamageBullet;
    hit.hitPoint = {1, 2, 3};
    EXPECT_EQ(SendExtDamageMessage(plainOnly, hit), 1);
    ASSERT_EQ(plainOnly.Count<dcDamageMessage>(), 1);
    EXPECT_EQ(plainOnly.deliveries.back().payload.size(), sizeof(dcDamageMessage));
    const dcDamageMessage plain = plainOnly.Last<dcDamageMessage>();
    EXPECT_EQ(plain.attacker, &attacker);
    EXPECT_EQ(plain.amount, 12.5f);
    EXPECT_EQ(plain.kind, kDamageBullet);
    EXPECT_EQ(SendExtDamageMessage(extended, hit), 1);
    EXPECT_EQ(extended.Count<dcExtDamageMessage>(), 1);
    EXPECT_EQ(extended.Count<dcDamageMessage>(), 0);
}
