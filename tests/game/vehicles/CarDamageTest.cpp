// A car's damage: how much a hit takes, the smoke it throws, the wreck that
// only the host decides, the chassis parts that swing and come off, and the
// scraps a scrape throws.

#include "tests/game/vehicles/CarTestSupport.h"

#include "engine/files/ArchiveList.h"
#include "engine/files/PackArchive.h"
#include "engine/net/ClientScene.h"
#include "game/vehicles/CarDamageHandler.h"
#include "game/vehicles/dcDamageSpark.h"
#include "game/weapons/DamageMessages.h"
#include "game/weapons/dcExplosion.h"
#include "render/models/Model.h"

#include <algorithm>
#include <filesystem>
#include <initializer_list>

namespace {

constexpr float kHalfPi = 1.57079633f;

class CarDamageTest : public CarTest {
protected:
    // Impacts count as they are handed over at this mass.
    CarDamageTest() { type.mass = 1000.0f; }

    // Settled on its wheels, or falling from high up for a while; each car
    // apart from the others, at full health whatever its landing cost.
    dcCar& SettledCar(bool airborne)
    {
        nextX_ += 100.0f;
        dcCar& car = AddCar({nextX_, airborne ? 2000.0f : 4.0f, 0.0f});
        Run(0.5f);
        car.SetHealth(car.GetMaxHealth(), car.GetMaxHealth());
        car.crashSoundCooldown = 0.0f;
        return car;
    }

    static dcDamageMessage Hit(int32_t kind, float amount, bool forced = false)
    {
        dcDamageMessage damage;
        damage.kind = kind;
        damage.amount = amount;
        damage.forced = forced ? 1 : 0;
        return damage;
    }

    // A model of the named nodes, for the car to be drawn with.
    static std::unique_ptr<Model> ModelWithNodes(std::initializer_list<MeshNode> nodes)
    {
        auto model = std::make_unique<Model>(L"Models\\NoSuchModel.DCM", WideString());
        model->GetNodes().assign(nodes);
        return model;
    }

    static MeshNode Node(const wchar_t* name, const Vec3& position)
    {
        MeshNode node;
        node.name = name;
        node.position = position;
        return node;
    }

private:
    float nextX_ = 0.0f;
};

TEST_F(CarDamageTest, AHitTakesItsScaledCappedShare)
{
    struct Case {
        const char* what;
        dcDamageMessage damage;
        bool airborne;
        float speed;
        float loss;
        float collected;   // toward the crash sound
    };
    const float third = 0.33333334f;
    for (const Case& c : std::initializer_list<Case>{
             {"a bullet", Hit(kDamageBullet, 50.0f), false, 0.0f, 50.0f, 50.0f},
             {"a quarter of the health, capped", Hit(kDamageBullet, 125.0f), false, 0.0f, 100.0f, 100.0f},
             {"a forced quarter, uncapped", Hit(kDamageBullet, 125.0f, true), false, 0.0f, 125.0f, 125.0f},
             {"a bullet in the air", Hit(kDamageBullet, 50.0f), true, 0.0f, 50.0f * third, 50.0f * third},
             {"fire, an eighth", Hit(kDamageFire, 80.0f), false, 0.0f, 10.0f, 10.0f},
             {"a fast impact", Hit(kDamageImpact, 50.0f), false, 150.0f, 50.0f, 50.0f},
             {"a slow impact", Hit(kDamageImpact, 50.0f), false, 100.0f, 0.0f, 50.0f},
             {"a fast impact in the air", Hit(kDamageImpact, 50.0f), true, 150.0f, 50.0f * third, 50.0f * third},
             {"a negative amount", Hit(kDamageBullet, -50.0f), false, 0.0f, 0.0f, 0.0f}}) {
        dcCar& car = SettledCar(c.airborne);
        ASSERT_EQ(car.IsOnGround(), !c.airborne) << c.what;
        car.GetBody().SetLinearVelocity({0.0f, 0.0f, -c.speed});
        car.Send(c.damage);
        EXPECT_NEAR(car.GetMaxHealth() - car.GetHealth(), c.loss, 1e-3f) << c.what;
        EXPECT_NEAR(car.impactAccumulator, c.collected, 1e-3f) << c.what;
    }
}

TEST_F(CarDamageTest, HeavierCarsTakeLessFromImpacts)
{
    for (const float mass : {500.0f, 2000.0f}) {
        type.mass = mass;
        dcCar& car = SettledCar(false);
        car.GetBody().SetLinearVelocity({0.0f, 0.0f, -150.0f});
        car.Send(Hit(kDamageImpact, 40.0f));
        EXPECT_NEAR(car.GetMaxHealth() - car.GetHealth(), 40.0f * 0.125f * 8.0f * 1000.0f / mass, 1e-3f) << mass;
    }
}

TEST_F(CarDamageTest, SomeHitsAreIgnored)
{
    dcCar& car = SettledCar(false);
    dcDamageMessage onWheel = Hit(kDamageBullet, 50.0f);
    onWheel.hitGeometry = const_cast<SphereGeom*>(&car.GetWheel(0).sphere);
    car.Send(onWheel);
    car.invulnerable = true;
    car.Send(Hit(kDamageBullet, 50.0f));
    EXPECT_EQ(car.GetHealth(), car.GetMaxHealth()) << "a wheel, or an invulnerable car";
    car.Send(Hit(kDamageBullet, 50.0f, true));
    EXPECT_EQ(car.GetHealth(), car.GetMaxHealth() - 50.0f) << "forced through invulnerability";
}

TEST_F(CarDamageTest, AVisibleHitThrowsSmokeByItsUnscaledSize)
{
    dcCar& car = AddCar();
    CarDamageHandler damage(car);
    const float max = car.GetMaxHealth();
    struct Case {
        dcDamageMessage hit;
        int32_t puffs;
    };
    for (const Case& c : std::initializer_list<Case>{{Hit(kDamageBullet, max), 40},
                                                     {Hit(kDamageImpact, 0.05f * max), 10},
                                                     {Hit(kDamageBullet, 0.002f * max), 1},
                                                     {Hit(kDamageBullet, 0.001f * max), 0},
                                                     {Hit(kDamageFire, max), 0},
                                                     {Hit(kDamageExplosion, max), 0}}) {
        EXPECT_EQ(damage.SmokePuffCount(c.hit), c.puffs) << c.hit.kind << " " << c.hit.amount;
    }
}

TEST_F(CarDamageTest, TheHostWrecksOnceWithOneExplosionAndTellsTheListeners)
{
    dcCar& car = SettledCar(false);
    RecordingEntity listener;
    RecordingEntity attacker;
    Game().GetScene().Add(&listener);
    Game().GetScene().Add(&attacker);
    car.Send(dcAddEntityListener{listener.GetId()});
    const size_t explosionsBefore = dcExplosion::LiveExplosions().size();

    dcDamageMessage kill = ForcedKillDamage();
    kill.attacker = &attacker;
    car.Send(kill);
    car.Send(kill);
    car.Send(Hit(kDamageBullet, 50.0f));
    car.Wreck(kill);

    EXPECT_EQ(car.GetHealth(), 0.0f);
    EXPECT_TRUE(car.killedByKillFloor);
    ASSERT_EQ(dcExplosion::LiveExplosions().size(), explosionsBefore + 1);
    const Vec3 gap = dcExplosion::LiveExplosions().back()->GetPoint() - car.GetPosition();
    EXPECT_LT(gap.Length(), 1e-3f);
    ASSERT_EQ(listener.Count<dcEntityKilled>(), 1);
    EXPECT_EQ(listener.Last<dcEntityKilled>().killer, attacker.GetId());
    EXPECT_EQ(listener.Last<dcEntityKilled>().victim, car.GetId());
    EXPECT_EQ(car.BuildCarData().health & 0x7F, 0) << "the clients follow the wreck";
    Game().GetScene().Remove(&listener);
    Game().GetScene().Remove(&attacker);
}

TEST_F(CarDamageTest, FiveOrdinaryHitsWreckAFreshCar)
{
    dcCar& car = SettledCar(false);
    for (int32_t hit = 0; hit < 4; ++hit) {
        car.Send(Hit(kDamageBullet, 1000.0f));
    }
    EXPECT_EQ(car.GetHealth(), 100.0f);
    const size_t explosionsBefore = dcExplosion::LiveExplosions().size();
    car.Send(Hit(kDamageBullet, 1000.0f));
    EXPECT_EQ(car.GetHealth(), 0.0f);
    EXPECT_EQ(dcExplosion::LiveExplosions().size(), explosionsBefore + 1);
}

TEST_F(CarDamageTest, ANetworkClientNeverWrecksACarItself)
{
    dcCar& car = SettledCar(false);
    RecordingEntity listener;
    Game().GetScene().Add(&listener);
    car.Send(dcAddEntityListener{listener.GetId()});
    const size_t explosionsBefore = dcExplosion::LiveExplosions().size();
    ClientScene router;
    Game().SetNetworkLinks(nullptr, nullptr, nullptr, &router);
    for (int32_t hit = 0; hit < 6; ++hit) {
        car.Send(Hit(kDamageBullet, 1000.0f));
    }
    car.Send(ForcedKillDamage());
    Game().SetNetworkLinks(nullptr, nullptr, nullptr, nullptr);

    EXPECT_GT(car.GetHealth(), 0.0f);
    EXPECT_TRUE(car.IsOnGround()) << "not wrecked";
    EXPECT_EQ(dcExplosion::LiveExplosions().size(), explosionsBefore);
    EXPECT_EQ(listener.Count<dcEntityKilled>(), 0);
    Game().GetScene().Remove(&listener);
}

TEST_F(CarDamageTest, PartsAreKnownByNameAndOpenAwayFromTheCar)
{
    dcCar& car = AddCar();
    auto model = ModelWithNodes({});
    struct Case {
        const wchar_t* name;
        Vec3 position;
        dcCar::DamageObject::Kind kind;
        float minAngle;
        float maxAngle;
        float strength;
    };
    using Kind = dcCar::DamageObject::Kind;
    for (const Case& c : std::initializer_list<Case>{
             {L"DAMAGE_DOOR_L", {-8.0f, 6.0f, -6.0f}, Kind::Door, -kHalfPi, 0.0f, 2.0f},
             {L"damage_door_r", {8.0f, 6.0f, -6.0f}, Kind::Door, 0.0f, kHalfPi, 2.0f},
             {L"DAMAGE_BONNET", {0.0f, 8.0f, -5.0f}, Kind::Other, 0.0f, kHalfPi, 0.5f},
             {L"Damage_Boot", {0.0f, 8.0f, 13.0f}, Kind::Other, -kHalfPi, 0.0f, 0.5f}}) {
        ASSERT_EQ(dcCar::DamageObject::KindOf(c.name), c.kind);
        model->GetNodes().assign({Node(c.name, c.position)});
        const dcCar::DamageObject part(car, *model, 0, c.kind, nullptr);
        EXPECT_NEAR(part.minAngle, c.minAngle, 1e-6f);
        EXPECT_NEAR(part.maxAngle, c.maxAngle, 1e-6f);
        EXPECT_EQ(part.strength, c.strength);
        EXPECT_EQ(part.isDoor, c.kind == Kind::Door);
    }
    for (const wchar_t* name : {L"CAR_BODY", L"DAMAGED", L"WHEEL_1"}) {
        EXPECT_EQ(dcCar::DamageObject::KindOf(name), Kind::None);
    }
}

TEST_F(CarDamageTest, StopsWearPartsOut)
{
    dcCar& car = AddCar();
    auto model = ModelWithNodes({Node(L"DAMAGE_DOOR_L", {-8.0f, 6.0f, -6.0f}), Node(L"DAMAGE_BONNET", {0.0f, 8.0f, -5.0f})});
    using Kind = dcCar::DamageObject::Kind;
    dcCar::DamageObject door(car, *model, 0, Kind::Door, nullptr);
    // Sideways deceleration that keeps the door at 10 radians per second, into its closed stop.
    const Vec3 pushClosed{-50.0f, 0.0f, 0.0f};
    door.angularSpeed = 10.0f;
    door.Step(pushClosed, kStep);
    EXPECT_EQ(door.angle, door.maxAngle);
    EXPECT_NEAR(door.strength, 1.0f, 1e-4f);
    EXPECT_EQ(door.angularSpeed, 0.0f);
    door.angularSpeed = 10.0f;
    door.Step(pushClosed, kStep);
    EXPECT_TRUE(door.IsLoose());

    dcCar::DamageObject bonnet(car, *model, 1, Kind::Other, nullptr);
    bonnet.angle = bonnet.maxAngle - 0.01f;
    bonnet.angularSpeed = 5.0f;
    // Braking that holds the bonnet's speed against its fall back.
    bonnet.Step({0.0f, 0.0f, 140.0f}, kStep);
    EXPECT_EQ(bonnet.angle, bonnet.maxAngle);
    EXPECT_NEAR(bonnet.angularSpeed, -3.0f, 1e-4f);
    EXPECT_NEAR(bonnet.strength, 0.5f - 0.09f, 1e-4f);
    bonnet.angle = bonnet.minAngle + 0.01f;
    bonnet.angularSpeed = -5.0f;
    bonnet.Step({0.0f, 0.0f, -60.0f}, kStep);
    EXPECT_NEAR(bonnet.angularSpeed, 3.0f, 1e-4f) << "it rests on the car without wear";
    EXPECT_NEAR(bonnet.strength, 0.5f - 0.09f, 1e-4f);
}

TEST_F(CarDamageTest, TheWorldPushesADoorAboutItsHinge)
{
    dcCar& car = AddCar();
    using Kind = dcCar::DamageObject::Kind;
    struct Case {
        Vec3 position;   // left or right door
        Vec3 normal;
        float speed;
    };
    for (const Case& c : std::initializer_list<Case>{{{-8.0f, 6.0f, -6.0f}, {0.0f, 0.0f, 1.0f}, 2.0f},
                                                     {{-8.0f, 6.0f, -6.0f}, {0.0f, 0.0f, -1.0f}, -2.0f},
                                                     {{8.0f, 6.0f, -6.0f}, {0.0f, 0.0f, 1.0f}, -2.0f}}) {
        auto model = ModelWithNodes({Node(L"DAMAGE_DOOR", c.position)});
        dcCar::DamageObject door(car, *model, 0, Kind::Door, nullptr);
        dcContact contact;
        contact.normal = c.normal;
        contact.depth = 2.0f;
        door.Send(contact);
        EXPECT_EQ(door.angularSpeed, c.speed) << c.position.x << " " << c.normal.z;
    }
}

TEST_F(CarDamageTest, APartTornOffFallsOnItsOwnAndIsDrawnWhereItIs)
{
    dcCar& car = AddCar();
    CarDamageHandler damage(car);
    auto model = ModelWithNodes({Node(L"CAR_BODY", {}), Node(L"DAMAGE_DOOR_R", {8.0f, 6.0f, -6.0f})});
    car.currentModel = model.get();
    const Matrix44 drawn = Matrix44::FromRotationTranslation(kIdentityMatrix, {100.0f, 20.0f, 0.0f});
    damage.StepParts({}, kStep);
    damage.PlaceParts(drawn);
    ASSERT_EQ(damage.GetParts().size(), 1u);
    dcCar::DamageObject& door = *damage.GetParts().front();
    EXPECT_EQ(door.partIndex, 1);
    EXPECT_TRUE(model->GetNodes()[1].attached);
    EXPECT_NEAR((door.worldPosition - Vec3{108.0f, 26.0f, -6.0f}).Length(), 0.0f, 1e-4f);

    door.strength = 0.0f;
    const Vec3 tornOffAt = door.worldPosition;
    const float seconds = 0.5f;
    for (float t = 0.0f; t < seconds - 1e-4f; t += kStep) {
        damage.StepParts({}, kStep);
        damage.PlaceParts(drawn);
    }
    EXPECT_LT(door.worldPosition.y, tornOffAt.y - 5.0f) << "it falls with its own gravity";
    const MeshNode& node = model->GetNodes()[1];
    EXPECT_FALSE(node.attached) << "drawn in world space";
    EXPECT_EQ(node.position.y, door.worldPosition.y);

    auto damaged = ModelWithNodes({Node(L"DAMAGE_BONNET", {0.0f, 8.0f, -5.0f}), Node(L"DAMAGE_BOOT", {0.0f, 8.0f, 13.0f})});
    car.currentModel = damaged.get();
    damage.StepParts({}, kStep);
    EXPECT_EQ(damage.GetParts().size(), 2u) << "the parts follow the model the car is drawn with";
    car.currentModel = nullptr;
    damage.StepParts({}, kStep);
}

// The sample car, as the game reads it from the built pack.
TEST_F(CarDamageTest, TheSampleCarHasTwoDoorsABonnetAndABoot)
{
    std::filesystem::copy_file(FixturePath(L"sampledata\\Data.DCP").c_str(), "Data.DCP");
    ArchiveList::Instance().Mount(std::make_unique<PackArchive>(L"Data.DCP"));
    LoadVehicleTypes();
    ASSERT_FALSE(VehicleTypes().empty());
    auto* car = new dcCar(*VehicleTypes()[0], 0);
    car->Spawn({{0.0f, 4.0f, 0.0f}, {}, {}, 0});
    CarDamageHandler damage(*car);
    damage.StepParts({}, kStep);
    const auto& parts = damage.GetParts();
    EXPECT_EQ(parts.size(), 4u);
    EXPECT_EQ(std::count_if(parts.begin(), parts.end(), [](const auto& part) { return part->isDoor; }), 2);
    // The doors' boxes ride along in the physics world while the car drives off.
    Drive(*car, 1.0f, 0.0f, 0.5f, 1);
    for (float t = 0.0f; t < 1.0f; t += kStep) {
        FlatGround::Step(Physics(), Game().GetScene(), kStep);
        damage.StepParts({}, kStep);
        damage.PlaceParts(Matrix44::FromRotationTranslation(kIdentityMatrix, car->GetPosition()));
    }
    EXPECT_GT(car->GetHealth(), 0.0f);
    EXPECT_LT((parts.front()->worldPosition - car->GetPosition()).Length(), 20.0f);
    // The car goes before the type it was made from.
    car->Release();
    Game().GetScene().FlushDeletes();
    VehicleTypes().clear();
}

TEST_F(CarDamageTest, ScrapsTumbleForFiveSecondsAndGoWithTheirCar)
{
    dcCar& car = AddCar();
    CarDamageHandler damage(car);
    const int32_t freeBefore = dcDamageSpark::FreeCount();
    dcDamageSpark* spark = dcDamageSpark::Spawn(car.GetId(), damage.GetDamageModel(), {0.0f, 10.0f, 0.0f},
                                                {0.0f, 40.0f, 0.0f});
    ASSERT_NE(spark, nullptr);
    EXPECT_EQ(spark->life, 5.0f);
    EXPECT_NEAR(spark->spinAxis.Length(), 1.0f, 1e-4f);
    spark->Send(dcUpdate{0.1f});
    EXPECT_NEAR(spark->velocity.y, 40.0f * (1.0f - 0.01f) - 9.81f, 1e-3f);
    EXPECT_GT(spark->position.y, 10.0f);
    for (int32_t step = 0; step < 50 && spark->GetScene(); ++step) {
        spark->Send(dcUpdate{0.1f});
    }
    EXPECT_EQ(spark->GetScene(), nullptr);
    EXPECT_EQ(dcDamageSpark::FreeCount(), std::max(freeBefore - 1, 0) + 1);

    dcDamageSpark* orphan = dcDamageSpark::Spawn(987654, damage.GetDamageModel(), {}, {});
    orphan->Send(dcRender{nullptr, 0, 1, 0});
    EXPECT_EQ(orphan->GetScene(), nullptr) << "its car is gone";
}

} // namespace
