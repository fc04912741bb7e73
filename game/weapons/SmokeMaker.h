#pragma once
// Smoke puffs: sprites that turn and fade out in about 0.66, 1 or 1.33
// seconds. A puff's lifetime and spin are drawn once, when the particle is
// made, and kept by every later life of the same particle.

#include "game/weapons/ParticleEmitter.h"

#include <cstdint>

class SmokeParticle : public Particle {
public:
    SmokeParticle();
    void Reset() override;

    uint8_t lifetime;   // 2 to 4
    int8_t spin;        // radians per second
};

class SmokeMaker : public ParticleEmitter {
    DC_RECEIVER(SmokeMaker, ParticleEmitter)
public:
    explicit SmokeMaker(std::unique_ptr<TextureResource> texture);

protected:
    std::unique_ptr<Particle> MakeParticle() const override { return std::make_unique<SmokeParticle>(); }
    bool Age(Particle& particle, float step) const override;
};
// handlers: dcGameReset -> OnGameReset, dcUpdate -> OnUpdate, dcRender -> OnRender
