#include "game/weapons/SmokeMaker.h"

#include <cstdlib>

namespace {

constexpr ParticleLayer kPuffLayer{0.0f, 0.0f, 1.0f, 1.0f, -5.0f, -5.0f, 10.0f, 10.0f};
constexpr float kGoneAlpha = 0.01f;

} // namespace

SmokeParticle::SmokeParticle()
    : lifetime(static_cast<uint8_t>(std::rand() % 3 + 2))
    , spin(static_cast<int8_t>(std::rand() % 20 - 10))
{
}

void SmokeParticle::Reset()
{
    Particle::Reset();
    layers.push_back(kPuffLayer);
    UpdateRadius();
    drawFlags = kParticleModulate;
}

SmokeMaker::SmokeMaker(std::unique_ptr<TextureResource> texture) : ParticleEmitter(std::move(texture))
{
    Handles<dcGameReset, &SmokeMaker::OnGameReset>();
    Handles<dcUpdate, &SmokeMaker::OnUpdate>();
    Handles<dcRender, &SmokeMaker::OnRender>();
}

bool SmokeMaker::Age(Particle& particle, float step) const
{
    auto& puff = static_cast<SmokeParticle&>(particle);
    puff.colour.a -= 3.0f * step / puff.lifetime;
    puff.rotation += puff.spin * step;
    return puff.colour.a <= kGoneAlpha;
}
