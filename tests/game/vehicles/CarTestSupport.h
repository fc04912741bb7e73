#pragma once
// A car of a small test type on an endless flat ground, stepped as the game
// module steps its world: collide, integrate, then the car's update.

// First: it includes <windows.h> before any receiver is declared.
#include "tests/game/GameTestSupport.h"

#include "engine/math/BoundingBox.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/physics/PlaneGeom.h"
#include "game/vehicles/CarDamageHandler.h"
#include "game/vehicles/VehicleType.h"
#include "game/vehicles/dcCar.h"

#include <memory>

inline VehicleType MakeTestVehicleType()
{
    VehicleType type;
    type.name = L"TESTCAR";
    type.gearCount = 4;
    type.gearRatios = {-3.0f, 0.0f, 3.5f, 2.2f, 1.5f, 1.1f};
    type.finalDrive = 3.5f;
    type.driveEfficiency = 0.8f;
    type.torqueCurve = {100, 150, 200, 250, 280, 300, 300, 290, 270, 230, 180, 120, 60, 0};
    type.torqueScale = 1.0f;
    type.rollingResistance = 10.0f;
    type.airDrag = 0.05f;
    type.angularDamping = 1.0f;
    type.mass = 700.0f;
    type.brakeForce = 0.5f;
    type.wheelSoftErp = 0.8f;
    type.wheelSoftCfm = 0.0001f;
    type.maxSteerAngle = 0.6f;
    type.chassisBoxCentre = {0.0f, 6.0f, 0.0f};
    type.chassisBoxHalf = {8.0f, 4.0f, 18.0f};
    type.wheelMounts = {Vec3{-8.0f, 0.0f, -12.0f}, Vec3{8.0f, 0.0f, -12.0f}, Vec3{-8.0f, 0.0f, 12.0f},
                        Vec3{8.0f, 0.0f, 12.0f}};
    type.wheelRadii = {4.0f, 4.0f, 4.0f, 4.0f};
    type.frontAxle = {0.0f, 0.0f, -12.0f};
    type.rearAxle = {0.0f, 0.0f, 12.0f};
    return type;
}

// The ground, in the world it is made in; cars touch it with their wheels and chassis.
class FlatGround {
public:
    explicit FlatGround(PhysicsWorld& world) : world_(world)
    {
        world.SetGravity({0.0f, -275.0f, 0.0f});
        if (!world.GetSpace()) {
            world.CreateSpace(BoundingBox{{0.0f, 0.0f, 0.0f}, {8000.0f, 2000.0f, 8000.0f}}, 4);
        }
        plane_.SetCategoryBits(1);
        plane_.SetCollideBits(0);
        plane_.AddToWorld(world);
    }
    ~FlatGround() { plane_.RemoveFromWorld(world_); }

    // One fixed step of the world and of every car in the scene.
    static void Step(PhysicsWorld& world, Scene& scene, float dt)
    {
        world.Collide();
        world.Step(dt);
        scene.Broadcast(dcUpdate{dt});
        scene.FlushDeletes();
    }

private:
    PhysicsWorld& world_;
    PlaneGeom plane_{0.0f, 1.0f, 0.0f, 0.0f};
};

class CarTest : public GameTest {
protected:
    static constexpr float kStep = 1.0f / 75.0f;

    CarTest() : CarTest(nullptr) {}
    explicit CarTest(std::unique_ptr<AudioDevice> audio) : GameTest(std::move(audio)), type(MakeTestVehicleType())
    {
        InstallCarDamage();
        ground = std::make_unique<FlatGround>(Physics());
    }
    ~CarTest() override
    {
        for (dcCar* car : cars) {
            car->Release();
        }
        Game().GetScene().FlushDeletes();
        ground.reset();
    }

    PhysicsWorld& Physics() { return Game().GetWorld().GetPhysics(); }

    // A car standing on its wheels at the point, heading along -z.
    dcCar& AddCar(const Vec3& position = {0.0f, 4.0f, 0.0f})
    {
        auto* car = new dcCar(type, 0);
        dcCar::Pose pose;
        pose.position = position;
        car->Spawn(pose);
        cars.push_back(car);
        return *car;
    }

    void Run(float seconds)
    {
        for (float t = 0.0f; t < seconds; t += kStep) {
            FlatGround::Step(Physics(), Game().GetScene(), kStep);
        }
    }

    // Controls as a driver hands them over.
    static void Drive(dcCar& car, float throttle, float brake, float steering, int32_t gear, int32_t buttons = 0)
    {
        dcCarInput input;
        input.throttle = throttle;
        input.brake = brake;
        input.steering = steering;
        input.gear = gear;
        input.buttons = buttons | dcCarInput::kDirectSteering;
        car.Send(input);
    }

    VehicleType type;
    std::unique_ptr<FlatGround> ground;
    std::vector<dcCar*> cars;
};
