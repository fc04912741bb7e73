#pragma once
// A particle group of plain sprites of one texture and blend, whose owners
// hold their particles and give them back themselves: the halos of car
// lights, police lights and street lamps.

#include "engine/video/TextureResource.h"
#include "game/weapons/dcParticleGroup.h"

#include <memory>

class dcParticleGroupImpl : public dcParticleGroup {
    DC_RECEIVER(dcParticleGroupImpl, dcParticleGroup)
public:
    // The group owns the texture; none draws untextured.
    dcParticleGroupImpl(std::unique_ptr<TextureResource> texture, int16_t drawFlags);
    ~dcParticleGroupImpl() override;

    // Emit, with the group's texture and draw flags on the particle.
    Particle* EmitTextured(ParticleEmitMode mode);
    TextureResource* GetTexture() const { return texture_.get(); }

protected:
    std::unique_ptr<Particle> CreateParticle() override;
    virtual void OnRender(const dcRender& message) { DrawParticles(message); }

private:
    void Stamp(Particle& particle) const;

    std::unique_ptr<TextureResource> texture_;
    int16_t drawFlags_;
};
// handlers: dcRender -> OnRender
