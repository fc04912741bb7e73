#include "game/world/LightHalo.h"

#include "engine/files/RandomRange.h"
#include "game/weapons/Decal.h"
#include "game/weapons/EffectObjects.h"
#include "game/weapons/Particle.h"
#include "game/weapons/dcParticleGroupImpl.h"

#include <array>

namespace {

// The halo's quad, in the particle's half units: 20 units across.
constexpr ParticleLayer kHaloLayer{0.0f, 0.0f, 1.0f, 1.0f, -10.0f, -10.0f, 20.0f, 20.0f};
constexpr float kPoolLeastHalf = 50.0f;
constexpr float kPoolHalfSpread = 25.0f;
constexpr float kPoolScale = 3.0f;

} // namespace

Particle* TakeLightHalo(const Vec3& position, const Color& colour, HaloGroup group)
{
    EffectObjects* effects = EffectObjects::Get();
    if (!effects) {
        return nullptr;
    }
    Particle* halo = effects->GetHaloGroup(group).EmitTextured(kEmitAlways);
    halo->Set(kParticleDrawOnce, true);
    halo->Set(kParticleVisible, false);
    halo->layers.assign(1, kHaloLayer);
    halo->UpdateRadius();
    halo->position = position;
    halo->colour = colour;
    return halo;
}

void ReturnLightHalo(Particle* halo, HaloGroup group)
{
    if (EffectObjects* effects = EffectObjects::Get(); effects && halo) {
        effects->GetHaloGroup(group).Release(halo);
    }
}

void PlaceLightPool(Decal& pool, const Vec3& point, const Matrix44& placement)
{
    const float half = (RandomRange(0.0f, kPoolHalfSpread) + kPoolLeastHalf) * kPoolScale;
    const std::array<Vec3, 4> corners = {Vec3{-half, 0.0f, -half}, Vec3{-half, 0.0f, half}, Vec3{half, 0.0f, -half},
                                         Vec3{half, 0.0f, half}};
    for (size_t i = 0; i < corners.size(); ++i) {
        pool.corners[i] = point + Vec3::TransformDirection(corners[i], placement);
    }
    pool.texCoords = {DecalTexCoord{0.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 0.0f}, {1.0f, 1.0f}};
}
