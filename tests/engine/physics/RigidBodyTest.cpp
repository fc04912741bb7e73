#include "engine/physics/HingeJoint.h"
#include "engine/physics/OdeConversions.h"
#include "engine/physics/OffsetRigidBody.h"
#include "engine/physics/RigidBody.h"
#include "tests/engine/math/MathExpect.h"
#include "tests/engine/physics/PhysicsProbe.h"

#include <gtest/gtest.h>
#include <ode/ode.h>

#include <limits>
#include <numbers>

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

class RigidBodyTest : public testing::Test {
protected:
    dMass Mass(const RigidBody& body)
    {
        dMass mass;
        dBodyGetMass(body.GetHandle(), &mass);
        return mass;
    }

    PhysicsWorld world;
};

} // namespace

TEST_F(RigidBodyTest, StartsDisabledUntilItsOwnerPlacesIt)
{
    RigidBody body(world);
    EXPECT_FALSE(body.IsEnabled());
    EXPECT_TRUE(body.IsBody());
    EXPECT_EQ(body.GetGeom(), nullptr);
    EXPECT_EQ(dBodyGetData(body.GetHandle()), &body);
    body.Enable();
    EXPECT_TRUE(body.IsEnabled());
}

TEST_F(RigidBodyTest, MassChangesKeepTheInertia)
{
    RigidBody body(world);
    body.SetMass(1.0f);
    body.SetBoxInertia({1, 1, 1});
    const dMass before = Mass(body);
    body.SetMass(5.0f);
    const dMass after = Mass(body);
    EXPECT_FLOAT_EQ(body.GetMass(), 5.0f);
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(after.I[i], before.I[i]) << "inertia element " << i;
    }
    body.SetCenterOfMass({0.5f, 0, 0});
    EXPECT_TRUE(NearVec(body.GetCenterOfMass(), {0.5f, 0, 0}));
    EXPECT_FLOAT_EQ(body.GetMass(), 5.0f);
}

TEST_F(RigidBodyTest, InertiaShapesFillTheDiagonalForTheCurrentMass)
{
    RigidBody body(world);
    body.SetMass(10.0f);
    EXPECT_FLOAT_EQ(body.SetSphereInertia(2.0f), 16.0f);
    dMass mass = Mass(body);
    EXPECT_FLOAT_EQ(mass.I[0], 16.0f);
    EXPECT_FLOAT_EQ(mass.I[5], 16.0f);
    EXPECT_FLOAT_EQ(mass.I[10], 16.0f);

    body.SetMass(12.0f);
    EXPECT_TRUE(NearVec(body.SetBoxInertia({1, 1, 1}), {4, 4, 4}));
    mass = Mass(body);
    EXPECT_FLOAT_EQ(mass.I[0], 8.0f);
    EXPECT_FLOAT_EQ(mass.I[5], 8.0f);
    EXPECT_FLOAT_EQ(mass.I[10], 8.0f);

    body.SetScaledInertia({1, 2, 3});
    mass = Mass(body);
    EXPECT_FLOAT_EQ(mass.I[0], 1.0f);
    EXPECT_FLOAT_EQ(mass.I[5], 2.0f);
    EXPECT_FLOAT_EQ(mass.I[10], 3.0f);
}

TEST_F(RigidBodyTest, PoseAndVelocitiesCrossToODE)
{
    RigidBody body(world);
    const Quaternion q = Quaternion::FromAxisAngle({0, 1, 0}, kPi / 2);
    body.SetOrientation(q);
    EXPECT_TRUE(SameRotation(body.GetOrientation(), q));
    Matrix44 expected;
    Quaternion::ToMatrix(q, expected);
    expected.SetRow(3, {1, 2, 3});
    body.SetTransform(expected);
    EXPECT_TRUE(NearMatrix(body.GetTransform(), expected));
    EXPECT_TRUE(NearVec(body.GetPosition(), {1, 2, 3}));

    body.SetLinearVelocity({1, 0, 0});
    body.SetAngularVelocity({0, 2, 0});
    EXPECT_TRUE(NearVec(body.GetLinearVelocity(), {1, 0, 0}));
    EXPECT_TRUE(NearVec(body.GetAngularVelocity(), {0, 2, 0}));
    // A point one unit along the body's x axis (world -z after the quarter
    // turn) moves with the spin: w x r = (0, 2, 0) x (0, 0, -1) = (-2, 0, 0).
    EXPECT_TRUE(NearVec(body.GetPointVelocity({1, 0, 0}), {-1, 0, 0}));
}

TEST_F(RigidBodyTest, ForcesActDuringTheStep)
{
    RigidBody pushed(world);
    pushed.SetMass(2.0f);
    pushed.Enable();
    pushed.AddForce({4, 0, 0});
    RigidBody resting(world);
    resting.Enable();
    resting.DisableGravity();
    world.SetGravity({0, -10, 0});
    world.Step(0.5f);
    EXPECT_TRUE(NearVec(pushed.GetLinearVelocity(), {1, -5, 0}));
    EXPECT_TRUE(NearVec(resting.GetLinearVelocity(), {0, 0, 0}));
    EXPECT_FLOAT_EQ(world.GetStepLength(), 0.5f);
}

TEST_F(RigidBodyTest, AHingeLinksBodiesAndStopsAtItsLimits)
{
    RigidBody door(world);
    door.SetPosition({1, 0, 0});
    door.Enable();
    RigidBody frame(world);
    EXPECT_FALSE(door.IsConnectedTo(frame));

    HingeJoint hinge(world);
    hinge.SetBodies(&door, &frame);
    hinge.Attach();
    EXPECT_TRUE(hinge.IsAttached());
    EXPECT_TRUE(door.IsConnectedTo(frame));
    EXPECT_EQ(hinge.GetFirstBody(), &door);

    hinge.SetBodies(&door, nullptr);
    EXPECT_FALSE(door.IsConnectedTo(frame));
    hinge.SetAnchor({0, 0, 0});
    hinge.SetAxis(0, 1, 0);
    hinge.SetSecondAxis(1, 0, 0);

    hinge.SetLimits({false, -0.5f, 0.5f});
    EXPECT_EQ(dJointGetHingeParam(hinge.GetHandle(), dParamLoStop), -std::numeric_limits<float>::max());
    EXPECT_EQ(dJointGetHingeParam(hinge.GetHandle(), dParamHiStop), std::numeric_limits<float>::max());

    hinge.SetLimits({true, -0.5f, 0.5f});
    EXPECT_FLOAT_EQ(dJointGetHingeParam(hinge.GetHandle(), dParamLoStop), -0.5f);
    EXPECT_FLOAT_EQ(dJointGetHingeParam(hinge.GetHandle(), dParamHiStop), 0.5f);
    // Spun hard about the hinge, the door swings no further than the stop.
    for (int i = 0; i < 150; ++i) {
        door.AddTorque({0, 20, 0});
        world.Step(kFixedStep);
    }
    EXPECT_NEAR(dJointGetHingeAngle(hinge.GetHandle()), 0.5f, 0.05f);
}

TEST_F(RigidBodyTest, AnOffsetBodyIsPlacedByItsReferencePoint)
{
    OffsetRigidBody body(world);
    body.SetOffset({0, 0, 1});
    body.SetPosition({5, 0, 0});
    EXPECT_TRUE(NearVec(VecFromOde(dBodyGetPosition(body.GetHandle())), {5, 0, 1}));
    EXPECT_TRUE(NearVec(body.GetPosition(), {5, 0, 0}));

    // Turned a quarter about y the offset points along x.
    body.SetOrientation(Quaternion::FromAxisAngle({0, 1, 0}, kPi / 2));
    body.SetPosition({5, 0, 0});
    EXPECT_TRUE(NearVec(VecFromOde(dBodyGetPosition(body.GetHandle())), {6, 0, 0}));
    EXPECT_TRUE(NearVec(body.GetTransform().GetRow(3), {5, 0, 0}));

    // Reading the transform and setting it again leaves the body where it was.
    body.SetTransform(body.GetTransform());
    EXPECT_TRUE(NearVec(VecFromOde(dBodyGetPosition(body.GetHandle())), {6, 0, 0}));
}
