#pragma once
// Sparks: small additive sprites that fall with the world's gravity and fade
// quadratically over one second.

#include "game/weapons/ParticleEmitter.h"

class SparkParticle : public Particle {
public:
    void Reset() override;

    float life = 0.0f;   // seconds
};

class SparkMaker : public ParticleEmitter {
    DC_RECEIVER(SparkMaker, ParticleEmitter)
public:
    // gravity: the physics world's, copied now.
    SparkMaker(std::unique_ptr<TextureResource> texture, const Vec3& gravity);

protected:
    std::unique_ptr<Particle> MakeParticle() const override { return std::make_unique<SparkParticle>(); }
    bool Age(Particle& particle, float step) const override;
};
// handlers: dcGameReset -> OnGameReset, dcUpdate -> OnUpdate, dcRender -> OnRender
