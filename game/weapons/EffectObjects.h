#pragma once
// The effect objects the game module shares with every entity for the whole
// run: the decal renderer, the four particle emitters (fire, smoke, sparks,
// blood), the explosion sprites with the explosion kinds they show, the halo
// particle groups, the kinds of ground pool street lights lay, and the one
// particle renderer they all draw through. They are made with the game module, the groups and the
// decal renderer as entities of its scene, and leave the scene when they go.

#include <array>
#include <cstdint>
#include <memory>

#include "engine/math/Vec3.h"
#include "game/weapons/DecalBatch.h"

class BloodMaker;
class FireMaker;
class Scene;
class SmokeMaker;
class SparkMaker;
class TextureResource;
class ShaderVariableBlock;
class VideoDevice;
class dcDecalRenderer;
class dcExplosionMaker;
class dcParticleGroupImpl;
class ParticleRenderer;

// The halo groups, in the order they are made.
enum HaloGroup : int32_t {
    kHalo02Group,       // car lights, traffic-light lamps, traffic cars
    kCopRedHaloGroup,   // police lights
    kCopBlueHaloGroup,
    kHalo01Group,       // car brake lights
    kStreetHaloGroup,   // street lamps
    kHaloGroupCount,
};

// The pools of light street lights lay on the ground, drawn additively.
enum LightPool : int32_t {
    kLampPool,    // white, under a street lamp
    kRedPool,     // under a traffic light, lit by red and amber
    kGreenPool,   // under a traffic light, lit by green and amber
    kLightPoolCount,
};

class EffectObjects {
public:
    // world: the block the effects' shaders read further variables from;
    // gravity: the physics world's, for sparks and blood; bloodEnabled: the
    // language's blood switch, which the blood splats follow.
    EffectObjects(Scene& scene, VideoDevice* device, ShaderVariableBlock& world, const Vec3& gravity,
                  const bool& bloodEnabled);
    ~EffectObjects();
    EffectObjects(const EffectObjects&) = delete;
    EffectObjects& operator=(const EffectObjects&) = delete;

    // The objects of the running game; none before the game module made them.
    static EffectObjects* Get() { return instance_; }

    dcDecalRenderer& GetDecalRenderer() { return *decalRenderer_; }
    FireMaker& GetFire() { return *fire_; }
    SmokeMaker& GetSmoke() { return *smoke_; }
    SparkMaker& GetSparks() { return *sparks_; }
    BloodMaker& GetBlood() { return *blood_; }
    dcExplosionMaker& GetExplosions() { return *explosions_; }
    dcParticleGroupImpl& GetHaloGroup(HaloGroup group) { return *halos_[static_cast<size_t>(group)]; }
    DecalBatch& GetLightPool(LightPool pool) { return lightPools_[static_cast<size_t>(pool)]; }
    ParticleRenderer& GetParticleRenderer() { return *particleRenderer_; }

private:
    static inline EffectObjects* instance_ = nullptr;

    Scene& scene_;
    std::unique_ptr<dcDecalRenderer> decalRenderer_;
    std::unique_ptr<FireMaker> fire_;
    std::unique_ptr<SmokeMaker> smoke_;
    std::unique_ptr<SparkMaker> sparks_;
    std::unique_ptr<BloodMaker> blood_;
    std::unique_ptr<dcExplosionMaker> explosions_;
    std::array<std::unique_ptr<dcParticleGroupImpl>, kHaloGroupCount> halos_;
    std::array<std::unique_ptr<TextureResource>, kLightPoolCount> lightPoolTextures_;
    std::array<DecalBatch, kLightPoolCount> lightPools_;
    std::unique_ptr<ParticleRenderer> particleRenderer_;
};
