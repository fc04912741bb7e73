#pragma once
// The glow of a car's lights: one halo per head, brake and reverse light
// node of its type, taken from the halo groups as the car enters the scene
// and given back as it leaves. Each fixed step sizes and fades them for the
// active camera: head lights glow towards a camera in front of the car,
// brake and reverse lights towards one behind it. The visibility test shows
// them for one frame at their nodes on the drawn car.

#include "engine/math/Matrix44.h"
#include "engine/math/Vec3.h"
#include "game/vehicles/VehicleType.h"
#include "game/weapons/EffectObjects.h"

#include <vector>

class Camera;
class Particle;
class dcCar;

class CarLightHalos {
public:
    struct Halo {
        Vec3 node;                     // in car space
        Particle* particle = nullptr;  // none without the game's effects
    };

    explicit CarLightHalos(const VehicleType& type);
    ~CarLightHalos();
    CarLightHalos(const CarLightHalos&) = delete;
    CarLightHalos& operator=(const CarLightHalos&) = delete;

    // Each halo at its node carried by the drawn pose, shown in this frame only.
    void Place(const Matrix44& drawn);
    // One fixed step as seen from the camera.
    void Step(const dcCar& car, const Camera& camera, float dt);

    const std::vector<Halo>& GetHeadlights() const { return headlights_; }
    const std::vector<Halo>& GetBrakeLights() const { return brakeLights_; }
    const std::vector<Halo>& GetRearLights() const { return rearLights_; }
    // The eased brightness of the brake lights, 0.75 to 1 once braking was seen.
    float GetBrakeLightLevel() const { return brakeLightLevel_; }

private:
    // What a step does to a set of halos: their size, of the halo's distance
    // scale, and whether they brighten or fade.
    struct Glow {
        float factor;
        bool lit;
    };

    static std::vector<Halo> Take(const std::vector<VehicleLightNode>& nodes, HaloGroup group);
    static void Return(std::vector<Halo>& halos, HaloGroup group);
    static void Shine(std::vector<Halo>& halos, const Camera& camera, const Glow& glow, float dt);

    std::vector<Halo> headlights_;
    std::vector<Halo> brakeLights_;
    std::vector<Halo> rearLights_;
    float brakeLightLevel_ = 0.0f;
};
