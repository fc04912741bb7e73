#include "game/weapons/dcParticleGroup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

namespace {

// A group holding its maximum of live particles, none free.
struct FullGroup {
    FullGroup()
    {
        for (int32_t i = 0; i < group.GetMaximum(); ++i) {
            group.Emit(kEmitWithinMaximum);
        }
    }
    dcParticleGroup group;
};

} // namespace

TEST(ParticleGroup, AFullGroupAnswersEachEmitModeDifferently)
{
    {
        FullGroup full;
        EXPECT_EQ(full.group.Emit(kEmitWithinMaximum), nullptr);
        EXPECT_EQ(full.group.GetParticles().size(), 1000u);
    }
    {
        FullGroup full;
        Particle* oldest = full.group.GetParticles().front();
        oldest->position = {1.0f, 2.0f, 3.0f};
        oldest->colour.a = 0.25f;
        EXPECT_EQ(full.group.Emit(kEmitRecycleOldest), oldest);
        EXPECT_EQ(full.group.GetParticles().back(), oldest);
        EXPECT_EQ(full.group.GetParticles().size(), 1000u);
        EXPECT_EQ(oldest->position.y, 0.0f);   // reset
        EXPECT_EQ(oldest->colour.a, 1.0f);
    }
    {
        FullGroup full;
        Particle* created = full.group.Emit(kEmitAlways);
        ASSERT_NE(created, nullptr);
        EXPECT_EQ(full.group.GetParticles().size(), 1001u);
        EXPECT_EQ(full.group.GetParticles().back(), created);
    }
}

TEST(ParticleGroup, AReleasedParticleIsReusedOnceLastReleasedFirst)
{
    dcParticleGroup group;
    Particle* first = group.Emit(kEmitWithinMaximum);
    Particle* second = group.Emit(kEmitWithinMaximum);
    group.Release(first);
    group.Release(first);   // not live any more: nothing happens
    group.Release(second);
    EXPECT_TRUE(group.GetParticles().empty());
    EXPECT_EQ(group.Emit(kEmitWithinMaximum), second);
    EXPECT_EQ(group.Emit(kEmitWithinMaximum), first);
    // The free list held each once: the next one is new.
    Particle* third = group.Emit(kEmitWithinMaximum);
    EXPECT_NE(third, first);
    EXPECT_NE(third, second);

    group.ReleaseAt(7);   // no such position: nothing happens
    group.ReleaseAt(0);
    EXPECT_EQ(group.GetParticles(), (std::vector<Particle*>{first, third}));
    group.ReleaseAll();
    EXPECT_TRUE(group.GetParticles().empty());
    EXPECT_EQ(group.Emit(kEmitWithinMaximum), third);   // released last, by ReleaseAll
}

TEST(ParticleGroup, AResetParticleIsStillWhiteVisibleAndBare)
{
    dcParticleGroup group;
    Particle* particle = group.Emit(kEmitAlways);
    particle->state = kParticleDrawn | kParticleMoveOnce | kParticleDrawOnce;
    particle->layers.push_back({0, 0, 1, 1, -1, -1, 2, 2});
    particle->drawFlags = kParticleAdditive;
    particle->rotation = 1.0f;
    particle->Reset();
    EXPECT_EQ(particle->state, kParticleDrawn | kParticleMoving | kParticleVisible | kParticleFresh);
    EXPECT_TRUE(particle->layers.empty());
    EXPECT_EQ(particle->drawFlags, kParticleModulate);
    EXPECT_EQ(particle->rotation, 0.0f);
    EXPECT_EQ(particle->radius, 0.0f);
}

TEST(ParticleGroup, TheRadiusReachesTheFarthestLayerCorner)
{
    Particle particle;
    particle.UpdateRadius();
    EXPECT_EQ(particle.radius, 0.0f);
    particle.layers.push_back({0, 0, 1, 1, -0.625f, -0.625f, 1.25f, 1.25f});
    particle.UpdateRadius();
    EXPECT_NEAR(particle.radius, 0.884f, 0.001f);
    particle.layers.push_back({0, 0, 1, 1, -5, -5, 10, 10});
    particle.UpdateRadius();
    EXPECT_NEAR(particle.radius, std::sqrt(50.0f), 0.001f);
}

TEST(ParticleGroup, MovingParticlesFollowTheirVelocityAndTheGroupsGravity)
{
    struct Case {
        Vec3 gravity;
        uint16_t extraState;
        Vec3 afterTwoSteps;
    };
    // Velocity (10, 0, 0), two steps of 0.5 s.
    for (const Case& c : std::initializer_list<Case>{
             {{0, 0, 0}, 0, {10, 0, 0}},
             {{0, 0, 0}, kParticleMoveOnce, {5, 0, 0}},
             // The velocity gains the pull before it moves the particle.
             {{0, -4, 0}, 0, {10, -3, 0}},
         }) {
        dcParticleGroup group;
        group.SetGravity(c.gravity);
        Particle* moving = group.Emit(kEmitAlways);
        moving->velocity = {10, 0, 0};
        moving->state |= c.extraState;
        Particle* still = group.Emit(kEmitAlways);
        still->velocity = {10, 0, 0};
        still->Set(kParticleMoving, false);
        group.Update(0.5f);
        group.Update(0.5f);
        EXPECT_NEAR(moving->position.x, c.afterTwoSteps.x, 1e-5f);
        EXPECT_NEAR(moving->position.y, c.afterTwoSteps.y, 1e-5f);
        EXPECT_EQ(moving->Has(kParticleMoving), c.extraState == 0);
        EXPECT_EQ(still->position.x, 0.0f);
    }
}
