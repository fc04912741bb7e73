#include "game/weapons/SparkMaker.h"

#include "engine/files/RandomRange.h"

void SparkParticle::Reset()
{
    Particle::Reset();
    const float size = RandomRange(0.0f, 1.0f) * 0.5f + 0.25f;
    layers.push_back({0.0f, 0.0f, 1.0f, 1.0f, -size / 2.0f, -size / 2.0f, size, size});
    UpdateRadius();
    life = 1.0f;
    drawFlags = kParticleAdditive;
}

SparkMaker::SparkMaker(std::unique_ptr<TextureResource> texture, const Vec3& gravity)
    : ParticleEmitter(std::move(texture))
{
    Handles<dcGameReset, &SparkMaker::OnGameReset>();
    Handles<dcUpdate, &SparkMaker::OnUpdate>();
    Handles<dcRender, &SparkMaker::OnRender>();
    SetGravity(gravity);
}

bool SparkMaker::Age(Particle& particle, float step) const
{
    auto& spark = static_cast<SparkParticle&>(particle);
    spark.life -= step;
    spark.colour.a = spark.life * spark.life;
    return spark.life <= 0.0f;
}
