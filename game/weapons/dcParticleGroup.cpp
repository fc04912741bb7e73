#include "game/weapons/dcParticleGroup.h"

#include "game/weapons/ParticleRenderer.h"

#include <algorithm>

dcParticleGroup::dcParticleGroup()
{
    Handles<dcUpdate, &dcParticleGroup::OnUpdate>();
}

dcParticleGroup::~dcParticleGroup() = default;

Particle* dcParticleGroup::Emit(ParticleEmitMode mode)
{
    Particle* particle = nullptr;
    if (!free_.empty()) {
        particle = free_.back();
        free_.pop_back();
        particle->Reset();
    } else if (mode == kEmitAlways || static_cast<int32_t>(live_.size()) < maximum_) {
        owned_.push_back(CreateParticle());
        particle = owned_.back().get();
    } else if (mode == kEmitRecycleOldest && !live_.empty()) {
        particle = live_.front();
        live_.erase(live_.begin());
        particle->Reset();
    } else {
        return nullptr;
    }
    live_.push_back(particle);
    return particle;
}

void dcParticleGroup::Release(Particle* particle)
{
    const auto found = std::find(live_.begin(), live_.end(), particle);
    if (found != live_.end()) {
        live_.erase(found);
        free_.push_back(particle);
    }
}

void dcParticleGroup::ReleaseAt(int32_t index)
{
    if (index < 0 || index >= static_cast<int32_t>(live_.size())) {
        return;
    }
    free_.push_back(live_[static_cast<size_t>(index)]);
    live_.erase(live_.begin() + index);
}

void dcParticleGroup::ReleaseAll()
{
    free_.insert(free_.end(), live_.begin(), live_.end());
    live_.clear();
}

std::unique_ptr<Particle> dcParticleGroup::CreateParticle()
{
    auto particle = std::make_unique<Particle>();
    particle->Reset();
    return particle;
}

void dcParticleGroup::Update(float step)
{
    const bool weightless = gravity_.x == 0.0f && gravity_.y == 0.0f && gravity_.z == 0.0f;
    const Vec3 pull = Vec3::Scale(gravity_, step);
    for (Particle* particle : live_) {
        if (!particle->Has(kParticleMoving)) {
            continue;
        }
        if (!weightless) {
            particle->velocity = Vec3::Add(particle->velocity, pull);
        }
        particle->position = Vec3::Add(particle->position, Vec3::Scale(particle->velocity, step));
        if (particle->Has(kParticleMoveOnce)) {
            particle->Set(kParticleMoving, false);
        }
    }
}

void dcParticleGroup::DrawParticles(const dcRender& message)
{
    ParticleRenderer* renderer = ParticleRenderer::Get();
    if (message.pass != kParticlePass || !renderer || !message.camera) {
        return;
    }
    renderer->BuildVertices(*message.camera, live_);
    renderer->Draw(message);
}
