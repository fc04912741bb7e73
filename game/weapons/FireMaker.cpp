#include "game/weapons/FireMaker.h"

#include "engine/files/RandomRange.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr float kFullTurn = 6.2831855f;
constexpr ParticleLayer kFlameLayer{0.0f, 0.0f, 1.0f, 1.0f, -5.0f, -5.0f, 10.0f, 10.0f};

} // namespace

void FireParticle::Reset()
{
    Particle::Reset();
    fadeRate = 1.5f / static_cast<float>(std::rand() % 3 + 2);
    spin = static_cast<int8_t>(std::rand() % 20 - 10);
    rotation = RandomRange(0.0f, 1.0f) * kFullTurn;
    layers.push_back(kFlameLayer);
    UpdateRadius();
    drawFlags = kParticleAdditive;
}

FireMaker::FireMaker(std::unique_ptr<TextureResource> texture) : ParticleEmitter(std::move(texture))
{
    Handles<dcGameReset, &FireMaker::OnGameReset>();
    Handles<dcUpdate, &FireMaker::OnUpdate>();
    Handles<dcRender, &FireMaker::OnRender>();
}

bool FireMaker::Age(Particle& particle, float step) const
{
    auto& flame = static_cast<FireParticle&>(particle);
    flame.colour.a = std::max(0.0f, flame.colour.a - flame.fadeRate * step);
    flame.rotation += flame.spin * step;
    return flame.colour.a == 0.0f;
}
