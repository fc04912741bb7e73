// The car as a member of the game scene: its ids, listeners, weapon slots and respawn.

#include "tests/game/vehicles/CarTestSupport.h"

#include "engine/net/ClientScene.h"
#include "game/weapons/DamageMessages.h"
#include "game/weapons/dcCarWeapon.h"

#include <initializer_list>

namespace {

// A weapon that records how it was mounted.
class RecordingWeapon : public dcCarWeapon {
public:
    explicit RecordingWeapon(const char* kind, float ammo = 1.0f) : kind_(kind), ammo_(ammo) {}
    WideString GetClassName() const override { return L"RecordingWeapon"; }
    int32_t GetClassID() const override { return HashClassName(kind_); }
    void SetOwner(dcCar* car, bool sameKind) override
    {
        owner = car;
        mountedAsSameKind = sameKind;
    }
    float GetAmmoFraction() const override { return ammo_; }

    dcCar* owner = nullptr;
    bool mountedAsSameKind = false;

private:
    const char* kind_;
    float ammo_;
};

} // namespace

TEST_F(CarTest, SpawnTakesTheGivenIdOrAFreshOne)
{
    dcCar& fresh = AddCar();
    EXPECT_NE(fresh.GetId(), 0);
    auto* given = new dcCar(type, 0);
    dcCar::Pose pose;
    pose.id = 700;
    given->Spawn(pose);
    cars.push_back(given);
    EXPECT_EQ(given->GetId(), 700);
    EXPECT_EQ(Game().GetScene().FindReceiver(700), given);
}

TEST_F(CarTest, ListenersAreKeptOnceAndToldOfTheKill)
{
    dcCar& car = AddCar();
    RecordingEntity listener;
    Game().GetScene().Add(&listener);
    car.Send(dcAddEntityListener{listener.GetId()});
    car.Send(dcAddEntityListener{listener.GetId()});
    car.Send(dcAddEntityListener{9999});
    EXPECT_EQ(car.GetListeners().size(), 2u);
    car.Send(dcDelEntityListener{9999});
    EXPECT_EQ(car.GetListeners(), std::vector<int32_t>{listener.GetId()});

    car.Wreck(dcDamageMessage{});
    EXPECT_EQ(car.GetHealth(), 0.0f);
    EXPECT_FALSE(car.IsOnGround());
    ASSERT_EQ(listener.Count<dcEntityKilled>(), 1);
    EXPECT_EQ(listener.Last<dcEntityKilled>().killer, car.GetId());
    EXPECT_EQ(listener.Last<dcEntityKilled>().victim, car.GetId());
    Game().GetScene().Remove(&listener);
}

TEST_F(CarTest, AWeaponOfTheSameKindReplacesItsTwin)
{
    dcCar& car = AddCar();
    RecordingWeapon first("dcCarMiniGun");
    RecordingWeapon twin("dcCarMiniGun");
    RecordingWeapon other("dcCarMissile");
    car.SetWeapon(&first);
    EXPECT_EQ(first.owner, &car);
    EXPECT_FALSE(first.mountedAsSameKind);
    car.SetWeapon(&twin);
    EXPECT_EQ(first.owner, nullptr);
    EXPECT_TRUE(twin.mountedAsSameKind);
    car.SetWeapon(&other);
    EXPECT_FALSE(other.mountedAsSameKind);
    car.SetWeapon(nullptr);
    EXPECT_EQ(other.owner, nullptr);
}

TEST_F(CarTest, AnEmptyWeaponIsTakenOff)
{
    dcCar& car = AddCar();
    RecordingWeapon empty("dcCarRocket", 0.0f);
    car.SetWeapon(&empty);
    Run(kStep);
    EXPECT_EQ(car.GetWeapon(), nullptr);
    EXPECT_EQ(empty.owner, nullptr);
}

TEST_F(CarTest, RespawnPutsTheDriverBackUpright)
{
    dcCar& car = AddCar();
    car.driverInControl = false;
    car.lastGroundPosition = {50.0f, 4.0f, 60.0f};
    car.lastGroundDirection = {1.0f, 0.0f, 0.0f};
    car.Send(dcRespawnMessage{});
    EXPECT_TRUE(car.driverInControl);
    EXPECT_TRUE(car.snapNext);
    EXPECT_EQ(car.respawnGrace, 3.0f);
    EXPECT_NEAR(car.GetPosition().x, 50.0f, 1e-3f);
    EXPECT_NEAR(car.GetPosition().z, 60.0f, 1e-3f);
    EXPECT_EQ(car.BuildCarData().flags & 2, 2);
    EXPECT_FALSE(car.snapNext);
}

TEST_F(CarTest, ANetworkClientLeavesRespawnsToItsHost)
{
    dcCar& car = AddCar();
    ClientScene router;
    Game().SetNetworkLinks(nullptr, nullptr, nullptr, &router);
    car.driverInControl = false;
    car.Send(dcRespawnMessage{});
    Game().SetNetworkLinks(nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(car.driverInControl);
}

TEST_F(CarTest, ScootersAreKnownByTheStartOfTheirName)
{
    struct Case {
        const wchar_t* name;
        bool scooter;
    };
    for (const Case& c : std::initializer_list<Case>{
             {L"scooter2", true}, {L"SCOOTER", true}, {L"Scoot", false}, {L"MYSCOOTER", false}}) {
        type.name = c.name;
        EXPECT_EQ(dcCar(type, 0).isScooter, c.scooter) << c.name;
    }
}
