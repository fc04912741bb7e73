#include "game/weapons/ParticleEmitter.h"

#include "engine/video/TextureResource.h"

ParticleEmitter::ParticleEmitter(std::unique_ptr<TextureResource> texture) : texture_(std::move(texture)) {}

ParticleEmitter::~ParticleEmitter() = default;

std::unique_ptr<Particle> ParticleEmitter::CreateParticle()
{
    std::unique_ptr<Particle> particle = MakeParticle();
    particle->Reset();
    particle->texture = texture_.get();
    return particle;
}

void ParticleEmitter::Update(float step)
{
    dcParticleGroup::Update(step);
    int32_t index = 0;
    while (index < static_cast<int32_t>(GetParticles().size())) {
        if (Age(*GetParticles()[static_cast<size_t>(index)], step)) {
            ReleaseAt(index);   // the next particle moves up and is aged too
        } else {
            ++index;
        }
    }
}
