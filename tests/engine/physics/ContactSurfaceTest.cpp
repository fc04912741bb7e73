#include "engine/physics/OdeConversions.h"
#include "engine/physics/PhysicsWorld.h"
#include "tests/engine/math/MathExpect.h"

#include <gtest/gtest.h>
#include <ode/ode.h>

#include <functional>

namespace {

dContact Merge(const std::function<void(const dcContact&, const dcContact&)>& answer)
{
    dcContact p;
    dcContact q;
    answer(p, q);
    dContact contact{};
    contact.surface.mu2 = 55.0f;   // stale values from an earlier point
    PhysicsWorld::MakeSurface(contact, p, q);
    return contact;
}

} // namespace

TEST(ContactSurface, DefaultsGiveFrictionTenThousandAndNothingElse)
{
    const dContact contact = Merge([](const dcContact&, const dcContact&) {});
    EXPECT_EQ(contact.surface.mode, 0);
    EXPECT_FLOAT_EQ(contact.surface.mu, 10000.0f);
    EXPECT_EQ(contact.surface.bounce, 0.0f);
    EXPECT_EQ(contact.surface.slip1, 0.0f);
    EXPECT_EQ(contact.surface.soft_cfm, 0.0f);
    EXPECT_EQ(contact.surface.mu2, 0.0f);
}

TEST(ContactSurface, MergesBothSidesAndSwitchesOnWhatIsPositive)
{
    struct Case {
        const char* name;
        std::function<void(const dcContact&, const dcContact&)> answer;
        int mode;
        std::function<void(const dSurfaceParameters&)> check;
    };
    const std::initializer_list<Case> cases{
        {"friction multiplies", [](const dcContact& p, const dcContact& q) { p.friction = 2; q.friction = 3; }, 0,
         [](const dSurfaceParameters& s) { EXPECT_FLOAT_EQ(s.mu, 6.0f); }},
        {"slip sums", [](const dcContact& p, const dcContact& q) { p.slip1 = 0.1f; q.slip1 = 0.2f; }, dContactSlip1,
         [](const dSurfaceParameters& s) { EXPECT_FLOAT_EQ(s.slip1, 0.3f); }},
        {"a sum of zero or less stays off",
         [](const dcContact& p, const dcContact& q) {
             p.slip2 = 0.1f;
             q.slip2 = -0.2f;
         },
         0, [](const dSurfaceParameters& s) { EXPECT_FLOAT_EQ(s.slip2, -0.1f); }},
        {"softness", [](const dcContact& p, const dcContact&) { p.softErp = 0.5f; p.softCfm = 0.01f; },
         dContactSoftERP | dContactSoftCFM,
         [](const dSurfaceParameters& s) {
             EXPECT_FLOAT_EQ(s.soft_erp, 0.5f);
             EXPECT_FLOAT_EQ(s.soft_cfm, 0.01f);
         }},
        {"bounce sums, its velocity multiplies",
         [](const dcContact& p, const dcContact& q) {
             p.bounce = 0.25f;
             q.bounce = 0.25f;
             p.bounceVelocity = 2.0f;
             q.bounceVelocity = 0.5f;
         },
         dContactBounce,
         [](const dSurfaceParameters& s) {
             EXPECT_FLOAT_EQ(s.bounce, 0.5f);
             EXPECT_FLOAT_EQ(s.bounce_vel, 1.0f);
         }},
        {"bounce velocity alone does nothing", [](const dcContact& p, const dcContact&) { p.bounceVelocity = 3.0f; }, 0,
         [](const dSurfaceParameters& s) { EXPECT_EQ(s.bounce_vel, 0.0f); }},
        {"second friction is not used", [](const dcContact& p, const dcContact&) { p.secondFriction = 7.0f; }, 0,
         [](const dSurfaceParameters& s) { EXPECT_FLOAT_EQ(s.mu, 10000.0f); }},
    };
    for (const Case& c : cases) {
        const dContact contact = Merge(c.answer);
        EXPECT_EQ(contact.surface.mode, c.mode) << c.name;
        c.check(contact.surface);
    }
}

TEST(ContactSurface, TheFirstSidesFrictionDirectionWins)
{
    dContact contact = Merge([](const dcContact& p, const dcContact& q) {
        p.frictionDirection = {1, 0, 0};
        q.frictionDirection = {0, 0, 1};
    });
    EXPECT_EQ(contact.surface.mode, dContactFDir1);
    EXPECT_TRUE(NearVec(VecFromOde(contact.fdir1), {1, 0, 0}));

    contact = Merge([](const dcContact&, const dcContact& q) { q.frictionDirection = {0, 0, 1}; });
    EXPECT_EQ(contact.surface.mode, dContactFDir1);
    EXPECT_TRUE(NearVec(VecFromOde(contact.fdir1), {0, 0, 1}));
}
