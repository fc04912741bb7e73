// The lamp probe: of the ground a ray meets below a light it keeps the most
// level surface, lifted off it, and turns the light's pool to lie on it.

#include "engine/physics/RayGeom.h"
#include "engine/physics/TriMeshGeom.h"
#include "game/world/dcLightCallback.h"
#include "tests/engine/math/MathExpect.h"
#include "tests/engine/physics/PhysicsProbe.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void Offer(dcLightCallback& callback, const Vec3& position, const Vec3& normal, PhysicsGeom* ground)
{
    dcContact contact;
    contact.other = ground;
    contact.position = position;
    contact.normal = normal;
    callback.Send(contact);
}

float Determinant(const Matrix44& m)
{
    return Vec3::Dot(m.GetRow(0), Vec3::Cross(m.GetRow(1), m.GetRow(2)));
}

} // namespace

TEST(dcLightCallbackTest, TheMostLevelSurfaceWinsAndTheFirstOfEqualOnesStays)
{
    RayGeom slope(1.0f);
    RayGeom floor(1.0f);
    const Vec3 tilted{0.0f, 0.5f, 0.87f};
    const Vec3 up{0.0f, 1.0f, 0.0f};
    struct Offered {
        Vec3 normal;
        PhysicsGeom* ground;
    };
    struct Case {
        std::vector<Offered> contacts;
        PhysicsGeom* kept;
    };
    for (const Case& c : std::initializer_list<Case>{{{{tilted, &slope}, {up, &floor}}, &floor},
                                                     {{{up, &floor}, {tilted, &slope}}, &floor},
                                                     {{{up, &floor}, {up, &slope}}, &floor},
                                                     {{}, nullptr}}) {
        dcLightCallback callback;
        for (const Offered& offered : c.contacts) {
            Offer(callback, {1.0f, 2.0f, 3.0f}, offered.normal, offered.ground);
        }
        EXPECT_EQ(callback.HasContact(), c.kept != nullptr);
        if (c.kept) {
            EXPECT_TRUE(NearVec(callback.GetNormal(), up));
            EXPECT_TRUE(NearVec(callback.GetPoint(), {1.0f, 2.0f + dcLightCallback::kLift, 3.0f}));
        }
    }
}

TEST(dcLightCallbackTest, ThePoolLiesOnTheKeptSurface)
{
    RayGeom ground(1.0f);
    for (const Vec3& normal : {Vec3{0.0f, 1.0f, 0.0f}, Vec3{0.0f, 0.6f, 0.8f}, Vec3{0.8f, 0.6f, 0.0f}}) {
        dcLightCallback callback;
        Offer(callback, {}, normal, &ground);
        Matrix44 placement;
        callback.PlacementMatrix(placement);
        EXPECT_TRUE(NearVec(placement.GetRow(1), normal));
        // A turn, not a mirror, and nothing moved.
        EXPECT_NEAR(Determinant(placement), 1.0f, 1e-5f);
        EXPECT_NEAR(Vec3::Dot(placement.GetRow(0), normal), 0.0f, 1e-5f);
        EXPECT_TRUE(NearVec(placement.GetRow(3), {}));
        EXPECT_FLOAT_EQ(placement.m[3][3], 1.0f);
    }
    // On level ground the pool keeps the world's axes.
    dcLightCallback level;
    Offer(level, {}, {0.0f, 1.0f, 0.0f}, &ground);
    Matrix44 placement;
    level.PlacementMatrix(placement);
    EXPECT_TRUE(NearVec(placement.GetRow(0), {1.0f, 0.0f, 0.0f}));
    EXPECT_TRUE(NearVec(placement.GetRow(2), {0.0f, 0.0f, 1.0f}));
}

// A ray cast straight down from a lamp finds the ground under it.
class LampProbeTest : public PhysicsWorldTest {};

TEST_F(LampProbeTest, ARayDownFromTheLampFindsTheGroundBelowIt)
{
    TriMeshGeom ground;
    ground.Vertices() = {{-10, 0, -10}, {10, 0, -10}, {10, 0, 10}, {-10, 0, 10}};
    ground.Triangles() = {{{0, 2, 1}, 0}, {{0, 3, 2}, 0}};
    ground.Build();
    dcLightCallback callback;
    RayGeom probe(100.0f);
    probe.SetOwner(&callback);
    probe.SetFlag(kGeomPassive | kGeomSensing, true);
    for (const float height : {8.0f, 150.0f}) {
        callback.Reset();
        probe.Set({1.0f, height, 2.0f}, {0.0f, -1.0f, 0.0f});
        PhysicsWorld::TestPair(&world, probe, ground);
        if (height > probe.GetLength()) {
            EXPECT_FALSE(callback.HasContact());
            continue;
        }
        ASSERT_TRUE(callback.HasContact());
        EXPECT_TRUE(NearVec(callback.GetPoint(), {1.0f, dcLightCallback::kLift, 2.0f}));
    }
}
