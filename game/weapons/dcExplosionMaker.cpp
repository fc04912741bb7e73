#include "game/weapons/dcExplosionMaker.h"

namespace {

constexpr ParticleLayer kSpriteLayer{0.0f, 0.0f, 1.0f, 1.0f, -50.0f, -50.0f, 100.0f, 100.0f};

} // namespace

void ExplosionParticle::Reset()
{
    Particle::Reset();
    layers.push_back(kSpriteLayer);
    UpdateRadius();
    drawFlags = kParticleAdditive;
}

void ExplosionParticle::SetSize(float size)
{
    const SpriteAnchor anchor = flipBook_ ? flipBook_->GetAnchor() : ExplosionFlipBook::kAnchor;
    layers.clear();
    layers.push_back({0.0f, 0.0f, 1.0f, 1.0f, -size / 2.0f + size * anchor.x, -size / 2.0f + size * anchor.y, size,
                      size});
    UpdateRadius();
    drawFlags = kParticleAdditive;
}

void ExplosionParticle::SetFlipBook(std::unique_ptr<ExplosionFlipBook> book)
{
    flipBook_ = std::move(book);
    texture = flipBook_.get();
}

dcExplosionMaker::dcExplosionMaker()
{
    Handles<dcUpdate, &dcExplosionMaker::OnUpdate>();
    Handles<dcRender, &dcExplosionMaker::OnRender>();
}

std::unique_ptr<Particle> dcExplosionMaker::CreateParticle()
{
    auto particle = std::make_unique<ExplosionParticle>();
    particle->Reset();
    return particle;
}

void dcExplosionMaker::Update(float step)
{
    dcParticleGroup::Update(step);
    int32_t index = 0;
    while (index < static_cast<int32_t>(GetParticles().size())) {
        auto& sprite = static_cast<ExplosionParticle&>(*GetParticles()[static_cast<size_t>(index)]);
        ExplosionFlipBook* book = sprite.GetFlipBook();
        if (book) {
            book->Advance(step);
        }
        if (!book || book->IsFinished()) {
            ReleaseAt(index);   // the next sprite moves up and is advanced too
        } else {
            ++index;
        }
    }
}
