// A car's voices on a sound device: they follow the car through its life,
// and a silent car never touches them.

#include "tests/game/vehicles/CarTestSupport.h"

#include "engine/audio/DS8Audio.h"
#include "game/weapons/DamageMessages.h"

namespace {

// A device never opened: its voices take every setting and play nothing.
class CarSoundsTest : public CarTest {
protected:
    CarSoundsTest() : CarTest(std::make_unique<DS8Audio>()) {}
};

void LiveThrough(dcCar& car)
{
    dcCarInput input;
    input.throttle = 1.0f;
    input.gear = 1;
    car.Send(input);
    input.gear = 2;
    car.Send(input);
    car.impactAccumulator = 100.0f;
    car.Send(dcUpdate{1.0f / 75.0f});
    car.Wreck(dcDamageMessage{});
    car.Send(dcUpdate{1.0f / 75.0f});
}

} // namespace

TEST_F(CarSoundsTest, VoicesFollowTheCarThroughItsLife)
{
    for (const bool silent : {false, true}) {
        dcCar& car = AddCar({silent ? 100.0f : 0.0f, 4.0f, 0.0f});
        car.silent = silent;
        LiveThrough(car);
        EXPECT_EQ(car.impactAccumulator, 0.0f) << silent;
    }
}
