// A car's controls and its network state: who may send what, what a
// received frame may change, and a client's car following the host's.

#include "tests/game/vehicles/CarTestSupport.h"

#include "engine/net/HostScene.h"
#include "game/weapons/dcCarSpecial.h"

#include <cmath>
#include <initializer_list>

namespace {

// A special that counts its trigger calls.
class CountingSpecial : public dcCarSpecial {
public:
    WideString GetClassName() const override { return L"CountingSpecial"; }
    int32_t GetClassID() const override { return HashClassName("CountingSpecial"); }
    void Trigger(bool held, bool pressed) override { ++triggers; }
    int32_t triggers = 0;
};

const dcCar* localCar = nullptr;
int32_t driverCollisions = 0;

class CarNetworkTest : public CarTest {
protected:
    CarNetworkTest()
    {
        CarLinks& links = GetCarLinks();
        links.makeSpecial = [](dcCar&, bool, const WideString&) -> dcCarSpecial* { return new CountingSpecial; };
        links.localPlayersCar = [] { return localCar; };
        links.notifyDriverCollision = [](MessageReceiver&, dcCar&) { ++driverCollisions; };
        localCar = nullptr;
        driverCollisions = 0;
    }
    ~CarNetworkTest() override { GetCarLinks() = CarLinks{}; }

    static dcCarData DataFrom(const CarState& state) { return PackCarState(state); }
};

CarState MovingState()
{
    CarState state;
    state.position = {10.0f, 4.0f, -20.0f};
    state.velocity = {0.0f, 0.0f, -40.0f};
    state.throttle = 1.0f;
    state.steering = 0.5f;
    state.gear = 2;
    state.healthFraction = 0.5f;
    state.driverInControl = true;
    return state;
}

} // namespace

TEST_F(CarNetworkTest, RefusesWhatThePeerMayNotSend)
{
    struct Case {
        const char* what;
        int32_t identity;
        dcCarInput input;
        dcCarData data;
        int32_t size;
        int32_t connection;
        bool changes;
    };
    dcCarInput input;
    input.throttle = 1.0f;
    input.gear = 1;
    const dcCarData data = DataFrom(MovingState());
    const int32_t inputId = dcCarInput::Identity().Id();
    const int32_t dataId = dcCarData::Identity().Id();
    for (const Case& c : std::initializer_list<Case>{
             {"controls from the driving client", inputId, input, data, sizeof(dcCarInput), 5, true},
             {"controls from another client", inputId, input, data, sizeof(dcCarInput), 6, false},
             {"controls cut short", inputId, input, data, sizeof(dcCarInput) - 1, 5, false},
             {"state from the host", dataId, input, data, sizeof(dcCarData), 0, true},
             {"state from a client", dataId, input, data, sizeof(dcCarData), 5, false},
             {"state cut short", dataId, input, data, 52, 0, false}}) {
        dcCar& car = AddCar({static_cast<float>(cars.size()) * 100.0f, 4.0f, 0.0f});
        car.ownerConnection = 5;
        const void* payload = c.identity == inputId ? static_cast<const void*>(&c.input) : &c.data;
        car.HandleMessage(c.identity, payload, c.size, c.connection);
        EXPECT_EQ(car.throttle != 0.0f, c.changes) << c.what;
    }
}

TEST_F(CarNetworkTest, ReceivedIdsMustBeFree)
{
    dcCar& car = AddCar();
    dcCar& other = AddCar({100.0f, 4.0f, 0.0f});
    ASSERT_NE(car.GetSpecial(), nullptr);
    const int32_t before = car.GetSpecial()->GetId();
    for (const int32_t id : {0, 1, 2, other.GetId(), car.GetId()}) {
        car.Send(dcCarInit{id});
        EXPECT_EQ(car.GetSpecial()->GetId(), before) << id;
    }
    const dcCarInit fromClient{500};
    car.HandleMessage(dcCarInit::Identity().Id(), &fromClient, sizeof(dcCarInit), 3);
    EXPECT_EQ(car.GetSpecial()->GetId(), before);
    car.Send(dcCarInit{500});
    EXPECT_EQ(car.GetSpecial()->GetId(), 500);
    EXPECT_EQ(Game().GetScene().FindReceiver(500), car.GetSpecial());
}

TEST_F(CarNetworkTest, ReceivedNumbersStayInsideTheType)
{
    dcCar& car = AddCar();
    dcCarInput input;
    input.gear = 99;
    input.throttle = 7.0f;
    car.Send(input);
    EXPECT_EQ(car.gear, type.gearCount);
    EXPECT_EQ(car.throttle, 1.0f);
    CarState state = MovingState();
    state.gear = -100;
    car.Send(DataFrom(state));
    EXPECT_EQ(car.gear, -1);
    dcCarData broken = DataFrom(MovingState());
    broken.orientation[3] = std::nanf("");
    car.Send(broken);
    EXPECT_TRUE(std::isfinite(car.GetOrientation().w));
}

TEST_F(CarNetworkTest, TheLocalPlayersControlsStayItsOwn)
{
    dcCar& car = AddCar();
    localCar = &car;
    Drive(car, 0.25f, 0.0f, -1.0f, 1, dcCarInput::kBoost);
    const bool lights = car.lightsOn;
    CarState state = MovingState();
    state.lightsOn = !lights;
    state.gaugeLevel = 0.5f;
    car.Send(DataFrom(state));
    EXPECT_EQ(car.throttle, 0.25f);
    EXPECT_EQ(car.steering, -1.0f);
    EXPECT_EQ(car.gear, 1);
    EXPECT_EQ(car.lightsOn, lights);
    EXPECT_TRUE(car.GetFuelGauge()->IsBurning());
    EXPECT_NEAR(car.GetFuelGauge()->GetLevel(), 0.496f, 1e-3f);
    EXPECT_NEAR(car.GetHealth(), 0.496f * car.GetMaxHealth(), 1.0f);
}

TEST_F(CarNetworkTest, AnUpsideDownStateIsTakenAtOnce)
{
    dcCar& car = AddCar();
    CarState state = MovingState();
    state.position = car.GetPosition();
    state.orientation = Quaternion::FromAxisAngle({0.0f, 0.0f, 1.0f}, 3.14159265f);
    car.Send(DataFrom(state));
    EXPECT_NEAR(car.GetOrientation().z, state.orientation.z, 1e-5f);
    EXPECT_EQ(car.netRotationError.w, 1.0f);
}

TEST_F(CarNetworkTest, LightsToggleOncePerMessage)
{
    dcCar& car = AddCar();
    const bool lights = car.lightsOn;
    for (int32_t press = 1; press <= 3; ++press) {
        Drive(car, 0.0f, 0.0f, 0.0f, 0, dcCarInput::kToggleLights);
        EXPECT_EQ(car.lightsOn, press % 2 == 0 ? lights : !lights);
    }
    car.inputEnabled = false;
    Drive(car, 1.0f, 0.0f, 0.0f, 2, dcCarInput::kToggleLights);
    EXPECT_EQ(car.gear, 0);
    EXPECT_EQ(car.lightsOn, !lights);
}

TEST_F(CarNetworkTest, ContactsWithoutADriverTellNobody)
{
    dcCar& car = AddCar();
    dcCar& other = AddCar({0.0f, 4.0f, -100.0f});
    dcContact contact;
    contact.self = &car.GetChassisGeom();
    contact.other = &other.GetChassisGeom();
    contact.otherOwner = &other;
    car.Send(contact);
    contact.otherOwner = nullptr;
    car.Send(contact);
    EXPECT_EQ(driverCollisions, 0);
    EXPECT_EQ(car.contactSteerTimer, 0.5f);
}

TEST_F(CarNetworkTest, AClientsCarFollowsTheHosts)
{
    dcCar& host = AddCar();
    PhysicsWorld clientWorld;
    FlatGround clientGround(clientWorld);
    HostScene clientScene;
    auto* client = new dcCar(type, 0, clientWorld);
    dcCar::Pose pose;
    pose.position = {30.0f, 4.0f, 40.0f};
    pose.id = host.GetId();
    client->Spawn(clientScene, pose);

    Drive(host, 1.0f, 0.0f, 0.4f, 1);
    for (int32_t step = 0; step < 75 * 6; ++step) {
        FlatGround::Step(Physics(), Game().GetScene(), kStep);
        FlatGround::Step(clientWorld, clientScene, kStep);
        if (step % 8 == 0) {
            client->Send(host.BuildCarData());
        }
    }
    const Vec3 gap = host.GetPosition() - client->GetPosition();
    EXPECT_LT(gap.Length(), 5.0f);
    EXPECT_EQ(client->throttle, 1.0f);
    EXPECT_NEAR(client->steering, 50.0f / 127.0f, 1e-5f);
    client->Release();
}

TEST_F(CarNetworkTest, WeaponsComeOnlyFromTheHostUnderAFreeId)
{
    static int32_t given = 0;
    given = 0;
    GetCarLinks().giveWeapon = [](int32_t, dcCar&, int32_t) -> dcCarWeapon* {
        ++given;
        return nullptr;
    };
    dcCar& car = AddCar();
    const int32_t minigun = HashClassName("dcCarMiniGun");
    struct Case {
        const char* what;
        dcCarSetWeapon message;
        int32_t connection;
        int32_t given;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"from a client", {minigun, 800}, 4, 0},
             {"under id 0", {minigun, 0}, 0, 0},
             {"under the car's own id", {minigun, car.GetId()}, 0, 0},
             {"of a class no weapon has", {HashClassName("dcCar"), 800}, 0, 0},
             {"from the host under a free id", {minigun, 800}, 0, 1}}) {
        given = 0;
        car.HandleMessage(dcCarSetWeapon::Identity().Id(), &c.message, sizeof(dcCarSetWeapon), c.connection);
        EXPECT_EQ(given, c.given) << c.what;
    }
}
