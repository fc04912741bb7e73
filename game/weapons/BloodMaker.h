#pragma once
// Blood drops, which fall at a sixth of the world's gravity and fade over
// one second, and the blood-splat decals that people leave where they are
// hurt. Drops fly whatever the language allows; splats are laid only where
// its blood switch is on.

#include "game/weapons/DecalBatch.h"
#include "game/weapons/ParticleEmitter.h"

#include <cstdint>
#include <memory>

class DecalRing;
class dcDecalRenderer;
struct Decal;

class BloodParticle : public Particle {
public:
    void Reset() override;

    float life = 0.0f;   // seconds
};

class BloodMaker : public ParticleEmitter {
    DC_RECEIVER(BloodMaker, ParticleEmitter)
public:
    static constexpr float kGravityShare = 0.1666667f;

    // Registers the splat batch with the decal renderer. gravity: the
    // physics world's, copied now; bloodEnabled: the language's switch,
    // read whenever a splat is to be laid.
    BloodMaker(std::unique_ptr<TextureResource> drop, std::unique_ptr<TextureResource> splat,
               dcDecalRenderer& decals, const Vec3& gravity, const bool& bloodEnabled);
    ~BloodMaker() override;

    DecalBatch& GetSplats() { return splats_; }
    // A blood splat taken from the ring, its serial in serial, for the caller
    // to place; none while the language allows no blood.
    Decal* AddSplat(DecalRing& ring, int32_t& serial);

protected:
    std::unique_ptr<Particle> MakeParticle() const override { return std::make_unique<BloodParticle>(); }
    bool Age(Particle& particle, float step) const override;

private:
    std::unique_ptr<TextureResource> splatTexture_;
    DecalBatch splats_;
    const bool& bloodEnabled_;
};
// handlers: dcGameReset -> OnGameReset, dcUpdate -> OnUpdate, dcRender -> OnRender
