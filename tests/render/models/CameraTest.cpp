#include "render/models/Camera.h"

#include "tests/engine/math/MathExpect.h"

#include <gtest/gtest.h>

namespace {

constexpr float kDegree = 3.1415927f / 180.0f;

// Looking down world -z from the origin: 90 degrees, square, near 1, far 100.
Camera SquareCamera()
{
    Camera camera;
    camera.SetFov(90.0f * kDegree);
    camera.SetFarPlane(100.0f);
    camera.SetViewport({0, 0, 600, 600});
    camera.Update();
    return camera;
}

} // namespace

TEST(Camera, ClampsTheFieldOfView)
{
    struct Case { float degrees; float stored; };
    for (const Case& c : std::initializer_list<Case>{
             {0.5f, 1.0f}, {1.0f, 1.0f}, {75.0f, 75.0f}, {150.0f, 150.0f}, {179.0f, 150.0f}}) {
        Camera camera;
        camera.SetFov(c.degrees * kDegree);
        EXPECT_FLOAT_EQ(camera.GetFov(), c.stored * kDegree) << c.degrees;
    }
}

TEST(Camera, DerivesLevelOfDetailDistancesAndAspect)
{
    Camera camera;
    const float expected[] = {3072.0f, 2730.6667f, 2048.0f, 1365.3334f, 1024.0f};
    for (int32_t level = 0; level < Camera::kLodLevels; ++level) {
        EXPECT_FLOAT_EQ(camera.GetLodDistance(level), expected[level]);
    }
    camera.SetViewport({0, 0, 800, 600});
    EXPECT_FLOAT_EQ(camera.GetAspect(), 1.3333334f);
    EXPECT_FLOAT_EQ(camera.GetFov(), 75.0f * kDegree);
    EXPECT_FLOAT_EQ(camera.GetNearPlane(), 1.0f);
}

TEST(Camera, StartsWithIdentityMatricesAndAZeroFrustum)
{
    Camera camera;
    EXPECT_TRUE(NearMatrix(camera.GetView(), Matrix44{}));
    EXPECT_TRUE(NearMatrix(camera.GetProjection(), Matrix44{}));
    for (const FrustumPlane& plane : camera.GetFrustum().planes) {
        EXPECT_TRUE(NearVec(plane.normal, kZeroVector));
        EXPECT_EQ(plane.distance, 0.0f);
    }
    for (int32_t i = 0; i < Camera::kCornerCount; ++i) {
        EXPECT_TRUE(NearVec(camera.GetCorner(i), kZeroVector));
    }
}

TEST(Camera, ProjectsKnownPointsOntoTheScreen)
{
    Camera camera;
    camera.SetFov(90.0f * kDegree);
    camera.SetViewport({0, 0, 800, 600});
    camera.Update();
    struct Case { Vec3 point; float x; float y; };
    for (const Case& c : std::initializer_list<Case>{
             {{0.0f, 0.0f, -10.0f}, 400.0f, 300.0f},
             {{0.0f, 5.0f, -10.0f}, 400.0f, 150.0f},
             // The camera looks down -z, so its right is world -x.
             {{-20.0f / 3.0f, 0.0f, -10.0f}, 600.0f, 300.0f},
             {{10.0f, -5.0f, -10.0f}, 100.0f, 450.0f}}) {
        const Vec2 screen = camera.ProjectToScreen(c.point);
        EXPECT_NEAR(screen.x, c.x, 1e-3f) << c.point.x << ", " << c.point.y;
        EXPECT_NEAR(screen.y, c.y, 1e-3f) << c.point.x << ", " << c.point.y;
    }
    const Rect rect = camera.ScreenRectOfBox({{0.0f, 0.0f, -10.0f}, {20.0f / 3.0f, 5.0f, 0.0f}});
    EXPECT_NEAR(rect.min.x, 200.0f, 1e-3f);
    EXPECT_NEAR(rect.min.y, 150.0f, 1e-3f);
    EXPECT_NEAR(rect.max.x, 600.0f, 1e-3f);
    EXPECT_NEAR(rect.max.y, 450.0f, 1e-3f);
}

TEST(Camera, MovesAndTurnsTheView)
{
    Camera camera;
    camera.SetFov(90.0f * kDegree);
    camera.SetViewport({0, 0, 600, 600});
    camera.SetPosition({5.0f, 0.0f, 0.0f});
    // The orientation turns world axes into camera axes: a quarter turn
    // about y makes the camera look down world +x.
    camera.SetOrientation(Quaternion::FromAxisAngle(kWorldUp, 90.0f * kDegree));
    camera.Update();
    const Vec2 ahead = camera.ProjectToScreen({15.0f, 0.0f, 0.0f});
    EXPECT_NEAR(ahead.x, 300.0f, 1e-3f);
    EXPECT_NEAR(ahead.y, 300.0f, 1e-3f);
    EXPECT_TRUE(camera.GetFrustum().IsBoxVisible({{15.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f}}));
    EXPECT_FALSE(camera.GetFrustum().IsBoxVisible({{-5.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f}}));
}

TEST(Frustum, TellsBoxesInsideFromBoxesOutside)
{
    const Camera camera = SquareCamera();
    struct Case { BoundingBox box; bool visible; const char* what; };
    for (const Case& c : std::initializer_list<Case>{
             {{{0.0f, 0.0f, -50.0f}, {1.0f, 1.0f, 1.0f}}, true, "inside"},
             {{{0.0f, 0.0f, -0.4f}, {0.5f, 0.5f, 0.5f}}, false, "just short of the near plane"},
             {{{0.0f, 0.0f, -1.0f}, {0.5f, 0.5f, 0.5f}}, true, "straddling the near plane"},
             {{{0.0f, 0.0f, 10.0f}, {1.0f, 1.0f, 1.0f}}, false, "behind the camera"},
             {{{0.0f, 0.0f, -102.0f}, {1.0f, 1.0f, 1.0f}}, false, "beyond the far plane"},
             {{{0.0f, 0.0f, -100.0f}, {1.0f, 1.0f, 1.0f}}, true, "straddling the far plane"},
             {{{60.0f, 0.0f, -50.0f}, {1.0f, 1.0f, 1.0f}}, false, "left of the volume"},
             {{{50.0f, 0.0f, -50.0f}, {1.0f, 1.0f, 1.0f}}, true, "straddling a side plane"},
             {{{0.0f, -70.0f, -50.0f}, {5.0f, 5.0f, 5.0f}}, false, "below the volume"},
             {{{0.0f, 0.0f, 0.0f}, {500.0f, 500.0f, 500.0f}}, true, "around the whole volume"}}) {
        EXPECT_EQ(camera.GetFrustum().IsBoxVisible(c.box), c.visible) << c.what;
    }
}

TEST(Frustum, ABoxTouchingAPlaneFromOutsideIsNotVisible)
{
    // The cube from -1 to 1, planes facing inwards.
    Frustum cube;
    const Vec3 normals[Frustum::kPlaneCount] = {{0, 0, 1}, {0, 0, -1}, {1, 0, 0}, {-1, 0, 0}, {0, -1, 0}, {0, 1, 0}};
    for (int32_t i = 0; i < Frustum::kPlaneCount; ++i) {
        const Vec3& n = normals[i];
        cube.planes[i] = {n, -1.0f, {std::fabs(n.x), std::fabs(n.y), std::fabs(n.z)}};
    }
    EXPECT_FALSE(cube.IsBoxVisible({{0.0f, 0.0f, -2.0f}, {1.0f, 1.0f, 1.0f}}));
    EXPECT_FALSE(cube.IsBoxVisible({{3.0f, 0.0f, 0.0f}, {2.0f, 0.5f, 0.5f}}));
    EXPECT_TRUE(cube.IsBoxVisible({{0.0f, 0.0f, -1.5f}, {1.0f, 1.0f, 1.0f}}));
    EXPECT_TRUE(cube.IsBoxVisible({{0.0f, 0.0f, 0.0f}, {0.1f, 0.1f, 0.1f}}));
}

TEST(Frustum, HasUnitNormalsPointingInside)
{
    const Camera camera = SquareCamera();
    const Vec3 inside{0.0f, 0.0f, -50.0f};
    for (const FrustumPlane& plane : camera.GetFrustum().planes) {
        EXPECT_NEAR(plane.normal.Length(), 1.0f, 1e-5f);
        EXPECT_GT(Vec3::Dot(plane.normal, inside) - plane.distance, 0.0f);
        EXPECT_TRUE(NearVec(plane.absNormal, {std::fabs(plane.normal.x), std::fabs(plane.normal.y),
                                              std::fabs(plane.normal.z)}));
    }
    const FrustumPlane& nearPlane = camera.GetFrustum().planes[Frustum::kNear];
    EXPECT_TRUE(NearVec(nearPlane.normal, {0.0f, 0.0f, -1.0f}));
    EXPECT_NEAR(nearPlane.distance, 1.0f, 1e-5f);
}

TEST(Camera, PutsTheCornersInsideTheVolume)
{
    const Camera camera = SquareCamera();
    // The half extents use the angle in radians: pi/4 at distance 1.
    const float half = 45.0f * kDegree;
    EXPECT_TRUE(NearVec(camera.GetCorner(0), {half, -half, -1.0f}));
    EXPECT_TRUE(NearVec(camera.GetCorner(2), {-half, half, -1.0f}));
    EXPECT_TRUE(NearVec(camera.GetCorner(6), {-half * 100.0f, half * 100.0f, -100.0f}, 1e-3f));
    for (int32_t i = 0; i < Camera::kCornerCount; ++i) {
        EXPECT_TRUE(camera.GetFrustum().IsBoxVisible({camera.GetCorner(i), {0.01f, 0.01f, 0.01f}})) << i;
    }
}

TEST(Camera, OrthographicProjectionIgnoresNearAndFov)
{
    Camera camera;
    camera.SetNearPlane(5.0f);
    camera.SetFarPlane(200.0f);
    camera.SetOrthographic(true);
    camera.SetOrthoSize(40.0f, 20.0f);
    camera.SetViewport({0, 0, 800, 600});
    camera.Update();
    Matrix44 expected;
    expected.m[0][0] = 2.0f / 40.0f;
    expected.m[1][1] = 2.0f / 20.0f;
    expected.m[2][2] = 1.0f / 200.0f;
    EXPECT_TRUE(NearMatrix(camera.GetProjection(), expected));
    // The volume starts at the camera, not at the near distance.
    EXPECT_TRUE(camera.GetFrustum().IsBoxVisible({{0.0f, 0.0f, -2.0f}, {0.5f, 0.5f, 0.5f}}));
    EXPECT_FALSE(camera.GetFrustum().IsBoxVisible({{25.0f, 0.0f, -50.0f}, {1.0f, 1.0f, 1.0f}}));
}

TEST(Camera, ResetKeepsTheMatricesUntilTheNextUpdate)
{
    Camera camera = SquareCamera();
    const Matrix44 projection = camera.GetProjection();
    camera.SetPosition({1.0f, 2.0f, 3.0f});
    camera.SetOrthographic(true);
    camera.Reset();
    EXPECT_TRUE(NearVec(camera.GetPosition(), kZeroVector));
    EXPECT_FALSE(camera.IsOrthographic());
    EXPECT_FLOAT_EQ(camera.GetFov(), 75.0f * kDegree);
    EXPECT_TRUE(NearMatrix(camera.GetProjection(), projection));
}
