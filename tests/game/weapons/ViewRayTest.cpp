// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "engine/physics/BoxGeom.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/physics/SpaceGeom.h"
#include "engine/physics/TriMeshGeom.h"
#include "game/weapons/dcViewRay.h"
#include "tests/engine/math/MathExpect.h"

#include <cmath>
#include <initializer_list>

namespace {

// The static world: a floor on y = 0 from -100 to 100 in x and z, and a wall
// across it at z = 50, 100 high.
void BuildCourtyard(TriMeshGeom& mesh)
{
    mesh.Vertices() = {{-100, 0, -100}, {100, 0, -100}, {100, 0, 100}, {-100, 0, 100},
                       {-100, 0, 50},   {100, 0, 50},   {100, 100, 50}, {-100, 100, 50}};
    mesh.Triangles() = {{{0, 2, 1}, 0}, {{0, 3, 2}, 1}, {{4, 5, 6}, 2}, {{4, 6, 7}, 3}};
    mesh.Build();
}

class ViewRayTest : public testing::Test {
protected:
    ViewRayTest() { BuildCourtyard(courtyard); }

    // Aims the ray at a point, over the distance to it and 10 more.
    void AimAt(const Vec3& from, const Vec3& to)
    {
        const Vec3 way = to - from;
        ray.Set(from, way);
        length = way.Length() + 10.0f;
    }

    PhysicsWorld physics;
    TriMeshGeom courtyard;
    dcViewRay ray{physics, courtyard};
    float length = 0.0f;
};

} // namespace

TEST_F(ViewRayTest, CastFindsTheNearestPointOfTheWorldWithinTheLength)
{
    const float diagonal = std::sqrt(0.5f);
    struct Case {
        const char* what;
        Vec3 origin;
        Vec3 direction;
        float length;
        bool hits;
        Vec3 point;
        Vec3 surfaceNormal;   // either way
    };
    for (const Case& c : std::initializer_list<Case>{
             {"down onto the floor", {3, 10, 4}, {0, -1, 0}, 1000.0f, true, {3, 0, 4}, {0, 1, 0}},
             {"too short to reach it", {3, 10, 4}, {0, -1, 0}, 9.0f, false, {}},
             {"up into the sky", {3, 10, 4}, {0, 1, 0}, 1000.0f, false, {}},
             {"down beside the world", {300, 10, 0}, {0, -1, 0}, 1000.0f, false, {}},
             {"ahead into the wall", {0, 10, 0}, {0, 0, 1}, 1000.0f, true, {0, 10, 50}, {0, 0, 1}},
             {"down and ahead: the floor comes first", {0, 10, 0}, {0, -diagonal, diagonal}, 1000.0f, true, {0, 0, 10}, {0, 1, 0}},
             {"from behind the wall through it", {0, 10, 90}, {0, 0, -1}, 1000.0f, true, {0, 10, 50}, {0, 0, 1}},
         }) {
        ray.Set(c.origin, c.direction);
        Vec3 point{-1, -1, -1};
        EXPECT_EQ(ray.Cast(c.length, point), c.hits) << c.what;
        if (c.hits) {
            EXPECT_TRUE(NearVec(point, c.point)) << c.what;
            EXPECT_EQ(ray.GetNearestGeometry(), &courtyard) << c.what;
            EXPECT_NEAR(ray.GetNearestDistance(), (c.point - c.origin).Length(), 1e-3f) << c.what;
            EXPECT_NEAR(std::fabs(Vec3::Dot(ray.GetHitNormal(), c.surfaceNormal)), 1.0f, 1e-3f) << c.what;
        } else {
            EXPECT_TRUE(NearVec(point, {-1, -1, -1})) << c.what;
        }
    }
}

TEST_F(ViewRayTest, ATargetBehindTheWallIsOutOfSightUnlessTheWallIsIgnored)
{
    BoxGeom target({2, 2, 2});
    ray.SetTargetGeometry(&target);
    struct Case {
        const char* what;
        Vec3 targetAt;
        PhysicsGeom* ignored;
        float length;
        bool seen;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"behind the wall", {0, 10, 80}, nullptr, 100.0f, false},
             {"behind the ignored wall", {0, 10, 80}, &courtyard, 100.0f, true},
             {"in front of the wall", {0, 10, 30}, nullptr, 100.0f, true},
             {"beyond the ray's length", {0, 10, 30}, nullptr, 20.0f, false},
         }) {
        target.SetPosition(c.targetAt);
        ray.SetIgnoreGeometry(c.ignored);
        ray.Set({0, 10, 0}, {0, 0, 1});
        EXPECT_EQ(ray.TestLineOfSight(false, c.length), c.seen) << c.what;
    }
}

TEST_F(ViewRayTest, MovableObjectsBlockTheSightOnlyWhenIncluded)
{
    SpaceGeom movables({{0, 0, 0}, {200, 200, 200}}, 2);
    BoxGeom crate({5, 5, 5});
    crate.SetPosition({0, 10, 20});
    movables.Add(crate);
    ray.SetDynamicObjects(&movables);
    BoxGeom target({2, 2, 2});
    target.SetPosition({0, 10, 40});
    ray.SetTargetGeometry(&target);
    struct Case {
        bool includeDynamic;
        PhysicsGeom* ignored;
        bool seen;
    };
    for (const Case& c : std::initializer_list<Case>{{false, nullptr, true}, {true, nullptr, false}, {true, &crate, true}}) {
        ray.SetIgnoreGeometry(c.ignored);
        AimAt({0, 10, 0}, {0, 10, 40});
        EXPECT_EQ(ray.TestLineOfSight(c.includeDynamic, length), c.seen)
            << "dynamic " << c.includeDynamic << ", crate ignored " << (c.ignored != nullptr);
    }
    movables.Remove(crate);
}

TEST_F(ViewRayTest, WithoutATargetTheSightTellsWhetherAnythingWasHit)
{
    ray.Set({0, 10, 0}, {0, 0, 1});
    EXPECT_TRUE(ray.TestLineOfSight(false, 100.0f));
    EXPECT_FALSE(ray.TestLineOfSight(false, 30.0f));
}

// A hit of an earlier test says nothing about the next one.
TEST_F(ViewRayTest, ATestThatHitsNothingForgetsTheLastNearestHit)
{
    BoxGeom target({2, 2, 2});
    target.SetPosition({0, 10, 30});
    ray.SetTargetGeometry(&target);
    AimAt({0, 10, 0}, {0, 10, 30});
    ASSERT_TRUE(ray.TestLineOfSight(false, length));
    ray.Set({0, 10, 0}, {0, 1, 0});
    EXPECT_FALSE(ray.TestLineOfSight(false, length));
    EXPECT_EQ(ray.GetNearestGeometry(), nullptr);

    // The ignored geometry's hits leave no point behind.
    ray.SetIgnoreGeometry(&courtyard);
    ray.Set({0, 10, 0}, {0, -1, 0});
    Vec3 point{-1, -1, -1};
    EXPECT_FALSE(ray.Cast(100.0f, point));
    EXPECT_TRUE(NearVec(point, {-1, -1, -1}));
}

TEST_F(ViewRayTest, TheRayIsAProbeThatPushesNothing)
{
    EXPECT_EQ(ray.GetOwner(), &ray);
    EXPECT_EQ(ray.GetFlags(), kGeomPassive | kGeomSensing);
    EXPECT_EQ(ray.GetCategoryBits(), 16);
    EXPECT_EQ(ray.GetCollideBits(), -1);
    EXPECT_EQ(ray.GetWorld(), nullptr);
    ray.Set({0, 10, 0}, {0, -1, 0});
    Vec3 point;
    ASSERT_TRUE(ray.Cast(100.0f, point));
    EXPECT_EQ(physics.GetContactsUsed(), 0);
}

class SharedViewRayTest : public GameTest {};

TEST_F(SharedViewRayTest, TheGameModuleMakesTheSharedRayOverItsWorld)
{
    Game();
    dcViewRay* ray = dcViewRay::Get();
    ASSERT_NE(ray, nullptr);
    EXPECT_EQ(ray->GetLength(), dcViewRay::kDefaultLength);
    // Before a world is loaded there is nothing to hit.
    ray->Set({0, 10, 0}, {0, -1, 0});
    Vec3 point;
    EXPECT_FALSE(ray->Cast(1000.0f, point));
    DropGame();
    EXPECT_EQ(dcViewRay::Get(), nullptr);
}
