#pragma once
// Flames: additive sprites that turn as they rise and fade out in 1.33, 2 or
// 2.67 seconds. Burning things take their particles with recycling (mode 1).

#include "game/weapons/ParticleEmitter.h"

#include <cstdint>

class FireParticle : public Particle {
public:
    void Reset() override;

    float fadeRate = 0.0f;   // alpha per second
    int8_t spin = 0;         // radians per second
};

class FireMaker : public ParticleEmitter {
    DC_RECEIVER(FireMaker, ParticleEmitter)
public:
    explicit FireMaker(std::unique_ptr<TextureResource> texture);

protected:
    std::unique_ptr<Particle> MakeParticle() const override { return std::make_unique<FireParticle>(); }
    bool Age(Particle& particle, float step) const override;
};
// handlers: dcGameReset -> OnGameReset, dcUpdate -> OnUpdate, dcRender -> OnRender
