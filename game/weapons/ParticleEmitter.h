#pragma once
// What the four emitters (fire, smoke, sparks, blood) share: one texture,
// particles that age and are released by the emitter itself, every live
// particle released on a game reset, and the particle pass's drawing. Each
// emitter has its own class identity and registers these handlers:
// dcGameReset -> OnGameReset, dcUpdate -> OnUpdate, dcRender -> OnRender.

#include "engine/video/TextureResource.h"
#include "game/weapons/dcParticleGroup.h"
#include "game/world/GameMessages.h"

#include <memory>

class ParticleEmitter : public dcParticleGroup {
public:
    // The emitter owns its texture.
    explicit ParticleEmitter(std::unique_ptr<TextureResource> texture);
    ~ParticleEmitter() override;

    TextureResource* GetTexture() const { return texture_.get(); }

    // The group's motion, then every live particle aged once, in list order;
    // one that expires is released at once.
    void Update(float step) override;

protected:
    // A new reset particle of the emitter's kind, with its texture.
    std::unique_ptr<Particle> CreateParticle() override;
    virtual std::unique_ptr<Particle> MakeParticle() const = 0;
    // Ages the particle by the step; true when it has expired.
    virtual bool Age(Particle& particle, float step) const = 0;

    void OnGameReset(const dcGameReset& message) { ReleaseAll(); }
    void OnRender(const dcRender& message) { DrawParticles(message); }

private:
    std::unique_ptr<TextureResource> texture_;
};
