#include "game/weapons/BloodMaker.h"
#include "game/weapons/DecalRing.h"
#include "game/weapons/FireMaker.h"
#include "game/weapons/SmokeMaker.h"
#include "game/weapons/SparkMaker.h"
#include "game/weapons/dcDecalRenderer.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

const Vec3 kGravity{0.0f, -275.0f, 0.0f};

// How many steps of the length the particle stays live.
int32_t StepsLive(dcParticleGroup& group, const Particle* particle, float step)
{
    int32_t steps = 0;
    while (!group.GetParticles().empty() && group.GetParticles().front() == particle && steps < 1000) {
        group.Update(step);
        ++steps;
    }
    return steps;
}

} // namespace

TEST(ParticleEmitters, AFlameFadesAtItsRateAndGoesInTheStepItReachesZero)
{
    FireMaker fire(nullptr);
    auto* flame = static_cast<FireParticle*>(fire.Emit(kEmitRecycleOldest));
    ASSERT_NE(flame, nullptr);
    EXPECT_EQ(flame->drawFlags, kParticleAdditive);
    EXPECT_TRUE(flame->fadeRate == 0.75f || flame->fadeRate == 0.5f || flame->fadeRate == 0.375f);
    EXPECT_GE(flame->spin, -10);
    EXPECT_LE(flame->spin, 9);
    flame->fadeRate = 0.5f;
    flame->spin = 2;
    flame->rotation = 0.0f;
    fire.Update(0.5f);
    EXPECT_FLOAT_EQ(flame->colour.a, 0.75f);
    EXPECT_FLOAT_EQ(flame->rotation, 1.0f);
    EXPECT_EQ(StepsLive(fire, flame, 0.5f), 3);
}

TEST(ParticleEmitters, NeighboursThatExpireTogetherGoInTheSameStep)
{
    SparkMaker sparks(nullptr, kGravity);
    EXPECT_EQ(sparks.GetGravity().y, -275.0f);
    Particle* keeps = sparks.Emit(kEmitAlways);
    auto* first = static_cast<SparkParticle*>(sparks.Emit(kEmitAlways));
    auto* second = static_cast<SparkParticle*>(sparks.Emit(kEmitAlways));
    first->life = 0.1f;
    second->life = 0.1f;
    sparks.Update(0.2f);
    EXPECT_EQ(sparks.GetParticles(), (std::vector<Particle*>{keeps}));
}

TEST(ParticleEmitters, SparksAndBloodFadeByTheirLife)
{
    DecalRing ring(Decal{}, 8);
    dcDecalRenderer decals(nullptr, ring);
    const bool bloodAllowed = true;
    BloodMaker blood(nullptr, nullptr, decals, kGravity, bloodAllowed);
    EXPECT_FLOAT_EQ(blood.GetGravity().y, -275.0f * 0.1666667f);
    SparkMaker sparks(nullptr, kGravity);
    auto* spark = static_cast<SparkParticle*>(sparks.Emit(kEmitAlways));
    auto* drop = static_cast<BloodParticle*>(blood.Emit(kEmitRecycleOldest));
    EXPECT_EQ(spark->life, 1.0f);
    EXPECT_EQ(drop->life, 1.0f);
    EXPECT_NEAR(drop->radius, 0.884f, 0.001f);
    sparks.Update(0.5f);
    blood.Update(0.75f);
    EXPECT_FLOAT_EQ(spark->colour.a, 0.25f);
    EXPECT_FLOAT_EQ(drop->colour.a, 0.5f);
}

TEST(ParticleEmitters, AReusedSmokePuffKeepsItsLifetimeAndSpinButStartsAfresh)
{
    SmokeMaker smoke(nullptr);
    auto* puff = static_cast<SmokeParticle*>(smoke.Emit(kEmitAlways));
    EXPECT_GE(puff->lifetime, 2);
    EXPECT_LE(puff->lifetime, 4);
    const uint8_t lifetime = puff->lifetime;
    puff->spin = 3;
    smoke.Update(0.1f);
    EXPECT_NEAR(puff->colour.a, 1.0f - 0.3f / lifetime, 1e-5f);
    EXPECT_FLOAT_EQ(puff->rotation, 0.3f);
    smoke.Release(puff);
    EXPECT_EQ(smoke.Emit(kEmitAlways), puff);
    EXPECT_EQ(puff->lifetime, lifetime);
    EXPECT_EQ(puff->spin, 3);
    EXPECT_EQ(puff->rotation, 0.0f);
    EXPECT_EQ(puff->colour.a, 1.0f);
    EXPECT_EQ(puff->layers.size(), 1u);
}

TEST(ParticleEmitters, AGameResetEmptiesEveryEmitterAndTheirParticlesAreReused)
{
    DecalRing ring(Decal{}, 8);
    dcDecalRenderer decals(nullptr, ring);
    const bool bloodAllowed = true;
    FireMaker fire(nullptr);
    SmokeMaker smoke(nullptr);
    SparkMaker sparks(nullptr, kGravity);
    BloodMaker blood(nullptr, nullptr, decals, kGravity, bloodAllowed);
    for (ParticleEmitter* emitter : std::initializer_list<ParticleEmitter*>{&fire, &smoke, &sparks, &blood}) {
        emitter->Emit(kEmitAlways);
        Particle* newest = emitter->Emit(kEmitAlways);
        EXPECT_EQ(emitter->Send(dcGameReset{dcGameReset::kRestart}), 1) << emitter->GetClassName().c_str();
        EXPECT_TRUE(emitter->GetParticles().empty());
        EXPECT_EQ(emitter->Emit(kEmitWithinMaximum), newest);   // released last
    }
}

// Drops fly whatever the language allows; splats are laid only where it allows blood.
TEST(ParticleEmitters, NoBloodSplatIsLaidWhereTheLanguageAllowsNoBlood)
{
    DecalRing ring(Decal{}, 8);
    dcDecalRenderer decals(nullptr, ring);
    bool bloodAllowed = false;
    BloodMaker blood(nullptr, nullptr, decals, kGravity, bloodAllowed);
    EXPECT_NE(blood.Emit(kEmitRecycleOldest), nullptr);
    int32_t serial = -1;
    EXPECT_EQ(blood.AddSplat(ring, serial), nullptr);
    EXPECT_EQ(ring.NextSerial(), 0);
    EXPECT_EQ(serial, -1);

    bloodAllowed = true;
    Decal* splat = blood.AddSplat(ring, serial);
    ASSERT_NE(splat, nullptr);
    EXPECT_EQ(serial, 0);
    EXPECT_EQ(splat->batch, &blood.GetSplats());
    EXPECT_EQ(ring.Find(serial), splat);
}
