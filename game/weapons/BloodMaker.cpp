#include "game/weapons/BloodMaker.h"

#include "engine/video/TextureResource.h"
#include "game/weapons/DecalRing.h"
#include "game/weapons/dcDecalRenderer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr ParticleLayer kDropLayer{0.0f, 0.0f, 1.0f, 1.0f, -0.625f, -0.625f, 1.25f, 1.25f};

} // namespace

void BloodParticle::Reset()
{
    Particle::Reset();
    layers.push_back(kDropLayer);
    UpdateRadius();
    life = 1.0f;
    drawFlags = kParticleModulate;
}

BloodMaker::BloodMaker(std::unique_ptr<TextureResource> drop, std::unique_ptr<TextureResource> splat,
                       dcDecalRenderer& decals, const Vec3& gravity, const bool& bloodEnabled)
    : ParticleEmitter(std::move(drop))
    , splatTexture_(std::move(splat))
    , bloodEnabled_(bloodEnabled)
{
    Handles<dcGameReset, &BloodMaker::OnGameReset>();
    Handles<dcUpdate, &BloodMaker::OnUpdate>();
    Handles<dcRender, &BloodMaker::OnRender>();
    SetGravity(Vec3::Scale(gravity, kGravityShare));
    splats_.shader = decals.LoadShader(L"dcDecal_Mod.DCS");
    splats_.texture = splatTexture_.get();
    decals.AddBatch(&splats_);
}

BloodMaker::~BloodMaker() = default;

Decal* BloodMaker::AddSplat(DecalRing& ring, int32_t& serial)
{
    if (!bloodEnabled_) {
        return nullptr;
    }
    serial = ring.NextSerial();
    return &ring.Add(&splats_);
}

bool BloodMaker::Age(Particle& particle, float step) const
{
    auto& drop = static_cast<BloodParticle&>(particle);
    drop.life -= step;
    drop.colour.a = std::sqrt(std::max(0.0f, drop.life));
    return drop.life <= 0.0f;
}
