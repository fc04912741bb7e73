#include "game/vehicles/CarLightHalos.h"

#include "engine/math/Quaternion.h"
#include "engine/math/Scalar.h"
#include "game/vehicles/dcCar.h"
#include "game/weapons/Particle.h"
#include "game/world/LightHalo.h"
#include "render/models/Camera.h"

#include <algorithm>
#include <cmath>

namespace {

// Lit halos brighten at 10 per second and fade at 5.
constexpr float kBrightenRate = 10.0f;
constexpr float kFadeRate = 5.0f;
// Below this facing a halo does not glow at all.
constexpr float kFacingThreshold = 0.33f;
// The size scale grows with the squared distance, within these bounds.
constexpr float kDistanceScale = 0.00001f;
constexpr float kLeastScale = 1.5f;
constexpr float kMostScale = 6.0f;
constexpr float kHalfQuad = 5.0f;
constexpr float kBrakeLightLeast = 0.75f;
constexpr float kBrakeShowsAbove = 0.1f;
constexpr Color kUnlit{1.0f, 1.0f, 1.0f, 0.0f};

float Facing(float dot)
{
    return std::sqrt(std::max(0.0f, dot - kFacingThreshold));
}

} // namespace

CarLightHalos::CarLightHalos(const VehicleType& type)
    : headlights_(Take(type.headlightNodes, kHalo02Group)), brakeLights_(Take(type.brakeLightNodes, kHalo01Group)),
      rearLights_(Take(type.rearLightNodes, kHalo02Group))
{
}

CarLightHalos::~CarLightHalos()
{
    Return(headlights_, kHalo02Group);
    Return(brakeLights_, kHalo01Group);
    Return(rearLights_, kHalo02Group);
}

std::vector<CarLightHalos::Halo> CarLightHalos::Take(const std::vector<VehicleLightNode>& nodes, HaloGroup group)
{
    std::vector<Halo> halos;
    for (const VehicleLightNode& node : nodes) {
        halos.push_back({node.position, TakeLightHalo(node.position, kUnlit, group)});
    }
    return halos;
}

void CarLightHalos::Return(std::vector<Halo>& halos, HaloGroup group)
{
    for (Halo& halo : halos) {
        ReturnLightHalo(halo.particle, group);
        halo.particle = nullptr;
    }
}

void CarLightHalos::Place(const Matrix44& drawn)
{
    for (std::vector<Halo>* halos : {&headlights_, &brakeLights_, &rearLights_}) {
        for (Halo& halo : *halos) {
            if (halo.particle) {
                halo.particle->position = Vec3::TransformPoint(halo.node, drawn);
                halo.particle->Set(kParticleVisible, true);
            }
        }
    }
}

void CarLightHalos::Step(const dcCar& car, const Camera& camera, float dt)
{
    Matrix44 cameraRotation;
    Quaternion::ToMatrix(Quaternion::Conjugate(camera.GetOrientation()), cameraRotation);
    const Vec3 carAxis = Quaternion::ToTransform(car.GetOrientation()).GetRow(2);
    const float facing = Vec3::Dot(cameraRotation.GetRow(2), carAxis);
    const float front = Facing(-facing);
    const float back = Facing(facing);
    Shine(headlights_, camera, {front, car.lightsOn}, dt);
    brakeLightLevel_ = Lerp(brakeLightLevel_, Clamp(car.brake, kBrakeLightLeast, 1.0f), 2.0f * dt);
    Shine(brakeLights_, camera, {back * brakeLightLevel_, car.lightsOn || car.brake > kBrakeShowsAbove}, dt);
    Shine(rearLights_, camera, {back, car.gear == -1}, dt);
}

void CarLightHalos::Shine(std::vector<Halo>& halos, const Camera& camera, const Glow& glow, float dt)
{
    for (Halo& halo : halos) {
        Particle* particle = halo.particle;
        if (!particle) {
            continue;
        }
        const Vec3 away = camera.GetPosition() - particle->position;
        const float scale = Clamp(Vec3::Dot(away, away) * kDistanceScale, kLeastScale, kMostScale);
        const float size = scale * glow.factor;
        for (ParticleLayer& layer : particle->layers) {
            layer.x = -kHalfQuad * size;
            layer.y = -kHalfQuad * size;
            layer.w = 2.0f * kHalfQuad * size;
            layer.h = 2.0f * kHalfQuad * size;
        }
        particle->UpdateRadius();
        const float change = glow.lit ? kBrightenRate * dt : -kFadeRate * dt;
        particle->colour.a = Clamp01(particle->colour.a + change);
    }
}
