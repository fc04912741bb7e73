#include "game/weapons/dcParticleGroupImpl.h"

#include "engine/video/TextureResource.h"

dcParticleGroupImpl::dcParticleGroupImpl(std::unique_ptr<TextureResource> texture, int16_t drawFlags)
    : texture_(std::move(texture))
    , drawFlags_(drawFlags)
{
    Handles<dcRender, &dcParticleGroupImpl::OnRender>();
}

dcParticleGroupImpl::~dcParticleGroupImpl() = default;

Particle* dcParticleGroupImpl::EmitTextured(ParticleEmitMode mode)
{
    Particle* particle = Emit(mode);
    if (particle) {
        Stamp(*particle);
    }
    return particle;
}

std::unique_ptr<Particle> dcParticleGroupImpl::CreateParticle()
{
    std::unique_ptr<Particle> particle = dcParticleGroup::CreateParticle();
    Stamp(*particle);
    return particle;
}

void dcParticleGroupImpl::Stamp(Particle& particle) const
{
    particle.texture = texture_.get();
    particle.drawFlags = drawFlags_;
}
