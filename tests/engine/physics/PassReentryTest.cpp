#include "engine/physics/BoxGeom.h"
#include "engine/physics/PlaneGeom.h"
#include "engine/physics/SphereGeom.h"
#include "tests/engine/physics/PhysicsProbe.h"

#include <gtest/gtest.h>
#include <ode/ode.h>

#include <cmath>
#include <memory>

namespace {

// Boxes on the ground plane y = 0, whose owners' handlers change the world
// while the pass runs.
class PassReentryTest : public GroundBoxTest {
protected:
    int32_t GeomsInSpace() { return dSpaceGetNumGeoms(world.GetSpace()); }
    bool InSpace(const PhysicsGeom& geometry) { return dSpaceQuery(world.GetSpace(), geometry.GetHandle()) != 0; }
};

} // namespace

TEST_F(PassReentryTest, AGeometryDestroyedByAHandlerGoesWhenThePassEnds)
{
    auto doomed = std::make_unique<DynamicBox>(world, Vec3{3, 0.49f, 0});
    dcForceProbe doomedOwner("doomed", journal);
    doomed->geometry.SetOwner(&doomedOwner);
    int32_t inSpaceDuringPass = -1;
    boxOwner.onCollision = [&](const dcCollision&) {
        if (doomed) {
            doomed.reset();
            inSpaceDuringPass = GeomsInSpace();
        }
    };
    ASSERT_EQ(GeomsInSpace(), 3);
    world.Collide();
    EXPECT_EQ(inSpaceDuringPass, 3);
    EXPECT_EQ(GeomsInSpace(), 2);
    // Once gone, the doomed box hears nothing more and makes no further contact.
    const size_t heardByDoomed = doomedOwner.contacts.size();
    world.Step(kFixedStep);
    EXPECT_TRUE(doomedOwner.forces.empty());
    RunSteps(10);
    EXPECT_EQ(doomedOwner.contacts.size(), heardByDoomed);
    EXPECT_NEAR(box.body.GetPosition().y, 0.5f, 0.02f);
}

TEST_F(PassReentryTest, ADestroyedPartnerEndsItsPairAtOnce)
{
    auto doomed = std::make_unique<DynamicBox>(world, Vec3{3, 0.49f, 0});
    dcForceProbe doomedOwner("doomed", journal);
    doomed->geometry.SetOwner(&doomedOwner);
    doomedOwner.onContact = [&](const dcContact&) { doomed.reset(); };
    world.Collide();
    // The doomed box's first point was its last: the ground heard at most the
    // same point, and only the other box's four points became contacts.
    EXPECT_EQ(doomedOwner.contacts.size(), 1u);
    EXPECT_GE(groundOwner.contacts.size(), 4u);
    EXPECT_LE(groundOwner.contacts.size(), 5u);
    EXPECT_EQ(world.GetContactsUsed(), 4);
    world.Step(kFixedStep);
    EXPECT_TRUE(doomedOwner.forces.empty());
}

TEST_F(PassReentryTest, AddsDuringAPassAreMergedAndApplied)
{
    SphereGeom added(0.5f);
    added.SetPosition({10, 10, 10});
    bool inSpaceDuringPass = true;
    boxOwner.onCollision = [&](const dcCollision&) {
        added.AddToWorld(world);
        added.AddToWorld(world);
        inSpaceDuringPass = InSpace(added);
    };
    world.Collide();
    EXPECT_FALSE(inSpaceDuringPass);
    EXPECT_TRUE(InSpace(added));
    EXPECT_EQ(GeomsInSpace(), 3);
    boxOwner.onCollision = nullptr;
    world.Collide();
    EXPECT_EQ(GeomsInSpace(), 3);
}

TEST_F(PassReentryTest, TheLastRequestOfAPassDecides)
{
    SphereGeom other(0.5f);
    other.SetPosition({10, 10, 10});
    other.AddToWorld(world);
    struct Case {
        const char* name;
        bool startsIn;
        bool removeFirst;
        bool endsIn;
    };
    for (const Case& c : std::initializer_list<Case>{{"remove then add", true, true, true},
                                                     {"add then remove", false, false, false},
                                                     {"remove then add, from outside", false, true, true},
                                                     {"add then remove, from inside", true, false, false}}) {
        if (c.startsIn) {
            other.AddToWorld(world);
        } else {
            other.RemoveFromWorld(world);
        }
        ASSERT_EQ(InSpace(other), c.startsIn);
        boxOwner.onCollision = [&](const dcCollision&) {
            if (c.removeFirst) {
                other.RemoveFromWorld(world);
                other.AddToWorld(world);
            } else {
                other.AddToWorld(world);
                other.RemoveFromWorld(world);
            }
        };
        world.Collide();
        EXPECT_EQ(InSpace(other), c.endsIn) << c.name;
        world.Step(kFixedStep);
    }
    boxOwner.onCollision = nullptr;
}

TEST_F(PassReentryTest, APairTestedFromAHandlerLeavesTheOuterPairsPointsAlone)
{
    // Two overlapping spheres far off, outside the space, each with an owner
    // that asks for forces.
    SphereGeom left(1.0f);
    SphereGeom right(1.0f);
    left.SetPosition({50, 5, 50});
    right.SetPosition({51, 5, 50});
    dcForceProbe leftOwner("left", journal);
    dcForceProbe rightOwner("right", journal);
    left.SetOwner(&leftOwner);
    right.SetOwner(&rightOwner);
    left.SetFlag(kGeomSensing, true);

    bool nestedTouched = false;
    groundOwner.onCollision = [&](const dcCollision&) { nestedTouched = PhysicsWorld::TestPair(&world, left, right); };
    world.Collide();
    EXPECT_TRUE(nestedTouched);
    EXPECT_EQ(leftOwner.collisions, 1);
    ASSERT_EQ(boxOwner.contacts.size(), 4u);
    for (const dcContact& contact : boxOwner.contacts) {
        EXPECT_LE(std::fabs(contact.position.x), 0.5f + 1e-4f);
        EXPECT_NEAR(contact.position.y, 0.0f, 0.02f);
    }
    ASSERT_EQ(world.GetContactsUsed(), 4);
    for (int32_t i = 0; i < 4; ++i) {
        const std::vector<MessageReceiver*>& listeners = world.GetContact(i).GetForceListeners();
        ASSERT_EQ(listeners.size(), 2u);
        EXPECT_NE(listeners[0], listeners[1]);
        for (MessageReceiver* listener : listeners) {
            EXPECT_TRUE(listener == &boxOwner || listener == &groundOwner);
        }
    }
}

TEST_F(PassReentryTest, CollidingOneGeometryAgainstTheWorldSkipsItself)
{
    world.CollideGeom(box.geometry);
    EXPECT_EQ(boxOwner.collisions, 1);
    EXPECT_EQ(groundOwner.collisions, 1);
    EXPECT_EQ(world.GetContactsUsed(), 4);
}

TEST(PhysicsWorldQueue, ChangesWaitForTheSpaceAndDieWithTheirGeometry)
{
    PhysicsWorld world;
    auto early = std::make_unique<SphereGeom>(1.0f);
    SphereGeom kept(1.0f);
    early->AddToWorld(world);
    kept.AddToWorld(world);
    // A pair test flushes the queue, but without a space the adds must wait.
    EXPECT_TRUE(PhysicsWorld::TestPair(&world, *early, kept));
    EXPECT_EQ(world.GetContactsUsed(), 0);
    early.reset();
    world.CreateSpace({{0, 0, 0}, {10, 10, 10}}, 2);
    world.FlushAndClean();
    EXPECT_EQ(dSpaceGetNumGeoms(world.GetSpace()), 1);
    EXPECT_TRUE(dSpaceQuery(world.GetSpace(), kept.GetHandle()));
}
