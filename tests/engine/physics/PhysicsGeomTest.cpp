#include "engine/physics/BoxGeom.h"
#include "engine/physics/OdeConversions.h"
#include "engine/physics/PlaneGeom.h"
#include "engine/physics/RayGeom.h"
#include "engine/physics/RigidBody.h"
#include "engine/physics/SphereGeom.h"
#include "tests/engine/math/MathExpect.h"
#include "tests/engine/physics/PhysicsProbe.h"

#include <gtest/gtest.h>
#include <ode/ode.h>

#include <numbers>

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

// Geometries on their own, and bodies in a world without gravity.
class PhysicsGeomTest : public testing::Test {
protected:
    PhysicsWorld world;
};

} // namespace

TEST_F(PhysicsGeomTest, KindsKeepTheirSizesAsODEHoldsThem)
{
    BoxGeom box({1, 2, 3});
    EXPECT_TRUE(NearVec(box.GetHalfExtents(), {1, 2, 3}));
    dVector3 lengths;
    dGeomBoxGetLengths(box.GetHandle(), lengths);
    EXPECT_TRUE(NearVec(VecFromOde(lengths), {2, 4, 6}));
    box.SetHalfExtents({0.5f, 0.5f, 4});
    EXPECT_TRUE(NearVec(box.GetHalfExtents(), {0.5f, 0.5f, 4}));

    SphereGeom sphere(1.5f);
    sphere.SetRadius(2.5f);
    EXPECT_FLOAT_EQ(sphere.GetRadius(), 2.5f);

    RayGeom ray(1.0f);
    ray.SetLength(40.0f);
    EXPECT_FLOAT_EQ(ray.GetLength(), 40.0f);
}

TEST_F(PhysicsGeomTest, RayParamsTakeBackfaceCullingFirst)
{
    RayGeom ray(1.0f);
    ray.SetParams(true, false);
    EXPECT_EQ(dGeomRayGetBackfaceCull(ray.GetHandle()), 1);
    EXPECT_EQ(dGeomRayGetFirstContact(ray.GetHandle()), 0);
    ray.SetParams(false, true);
    EXPECT_EQ(dGeomRayGetBackfaceCull(ray.GetHandle()), 0);
    EXPECT_EQ(dGeomRayGetFirstContact(ray.GetHandle()), 1);
}

TEST_F(PhysicsGeomTest, OrientationsCrossToODETransposedAndReordered)
{
    BoxGeom box({1, 1, 1});
    Matrix44 rotation;
    rotation.SetRow(3, {7, 8, 9});
    box.SetOrientation(Quaternion{});
    box.GetRotation(rotation);
    Matrix44 identityRows;
    identityRows.SetRow(3, {7, 8, 9});
    EXPECT_TRUE(NearMatrix(rotation, identityRows));

    // The geometry turns points as the engine's matrix of the same quaternion does.
    const Quaternion q = Quaternion::FromAxisAngle({0, 0, 1}, kPi / 2);
    box.SetOrientation(q);
    box.GetRotation(rotation);
    Matrix44 expected;
    Quaternion::ToMatrix(q, expected);
    expected.SetRow(3, {7, 8, 9});
    EXPECT_TRUE(NearMatrix(rotation, expected));
    EXPECT_TRUE(SameRotation(box.GetOrientation(), q));
    // ODE sees the quarter turn about z too: its corner (1, -1) is now at (1, 1).
    box.SetPosition({0, 0, 0});
    dVector3 world;
    dGeomGetRelPointPos(box.GetHandle(), 1, 0, 0, world);
    EXPECT_TRUE(NearVec(VecFromOde(world), {0, 1, 0}));

    Matrix44 transform = expected;
    transform.SetRow(3, {1, 2, 3});
    box.SetTransform(transform);
    EXPECT_TRUE(NearMatrix(box.GetTransform(), transform));
}

TEST_F(PhysicsGeomTest, BoundsComeFromODEsBox)
{
    BoxGeom box({1, 2, 3});
    box.SetPosition({10, 20, 30});
    const BoundingBox bounds = box.GetBounds();
    EXPECT_TRUE(NearVec(bounds.centre, {10, 20, 30}));
    EXPECT_TRUE(NearVec(bounds.halfExtents, {1, 2, 3}));
}

TEST_F(PhysicsGeomTest, AnAttachedGeometryFollowsItsBody)
{
    BoxGeom box({1, 1, 1});
    RigidBody body(world);
    body.AttachGeom(&box);
    EXPECT_EQ(box.GetRigidBody(), &body);
    EXPECT_EQ(body.GetGeom(), &box);
    body.SetPosition({4, 5, 6});
    EXPECT_TRUE(NearVec(box.GetPosition(), {4, 5, 6}));

    body.AttachGeom(nullptr);
    EXPECT_EQ(box.GetRigidBody(), nullptr);
    EXPECT_EQ(body.GetGeom(), nullptr);
    body.SetPosition({0, 0, 0});
    EXPECT_TRUE(NearVec(box.GetPosition(), {4, 5, 6}));
}

TEST_F(PhysicsGeomTest, AnOffsetBoxIsCentredOffTheBodyInTheBodysOrientation)
{
    BoxGeom box({1, 2, 3});
    RigidBody body(world);
    body.AttachGeom(&box);
    body.SetPosition({10, 0, 0});
    box.SetOffset({0, 5, 0});
    EXPECT_EQ(box.GetRigidBody(), &body);
    EXPECT_TRUE(box.HasFlag(kGeomWrapped));

    Vec3 corners[8];
    int32_t edges[24];
    box.GetCorners(corners, edges);
    EXPECT_TRUE(NearVec((corners[0] + corners[6]) * 0.5f, {10, 5, 0}));
    EXPECT_TRUE(NearVec(corners[0], {9, 3, -3}));
    EXPECT_EQ(edges[23], BoxEdgeList[23]);

    // A quarter turn of the body about z carries the offset and the box round.
    body.SetOrientation(Quaternion::FromAxisAngle({0, 0, 1}, kPi / 2));
    box.GetCorners(corners, edges);
    EXPECT_TRUE(NearVec((corners[0] + corners[6]) * 0.5f, {5, 0, 0}, 1e-4f));
    const BoundingBox bounds = box.GetBounds();
    EXPECT_TRUE(NearVec(bounds.halfExtents, {2, 1, 3}, 1e-3f));
}

TEST_F(PhysicsGeomTest, WrappingKeepsTheFilterAndOpensTheInnerShape)
{
    for (bool enabled : {true, false}) {
        SphereGeom sphere(1.0f);
        sphere.SetCategoryBits(0x4);
        sphere.SetCollideBits(0x30);
        if (!enabled) {
            sphere.Disable();
        }
        sphere.SetOffset({0, 1, 0});
        EXPECT_EQ(sphere.GetCategoryBits(), 0x4);
        EXPECT_EQ(sphere.GetCollideBits(), 0x30);
        EXPECT_EQ(sphere.IsEnabled(), enabled);
        EXPECT_NE(sphere.GetShape(), sphere.GetHandle());
        EXPECT_EQ(dGeomGetCategoryBits(sphere.GetShape()), ~0ul);
        EXPECT_EQ(dGeomGetCollideBits(sphere.GetShape()), ~0ul);
        EXPECT_TRUE(dGeomIsEnabled(sphere.GetShape()));
        EXPECT_EQ(dGeomGetData(sphere.GetShape()), &sphere);
        EXPECT_EQ(dGeomGetData(sphere.GetHandle()), &sphere);
        // Accessors reach the inner shape.
        sphere.SetRadius(3.0f);
        EXPECT_FLOAT_EQ(dGeomSphereGetRadius(sphere.GetShape()), 3.0f);
    }
}

TEST_F(PhysicsGeomTest, AGeometryNobodyOwnsHasNoOwner)
{
    BoxGeom box({1, 1, 1});
    EXPECT_EQ(box.GetOwner(), nullptr);
    EXPECT_EQ(box.GetFlags(), 0);
    EXPECT_EQ(box.GetWorld(), nullptr);
}

TEST_F(PhysicsGeomTest, APlaneHasNoPoseToSet)
{
    PlaneGeom plane(0, 2, 0, 4);
    plane.SetPosition({1, 2, 3});
    plane.SetOrientation(Quaternion::FromAxisAngle({1, 0, 0}, 1.0f));
    EXPECT_TRUE(NearVec(plane.GetPosition(), kZeroVector));
    dVector4 params;
    dGeomPlaneGetParams(plane.GetHandle(), params);
    EXPECT_TRUE(NearVec(VecFromOde(params), {0, 1, 0}));
    EXPECT_FLOAT_EQ(params[3], 2.0f);
}

TEST_F(PhysicsGeomTest, TestingWithoutAWorldIsAPlainContactTest)
{
    BoxGeom a({1, 1, 1});
    SphereGeom b(1.0f);
    b.SetPosition({1.5f, 0, 0});
    EXPECT_TRUE(a.TestAgainst(b));
    b.SetPosition({2.5f, 0, 0});
    EXPECT_FALSE(a.TestAgainst(b));
}
