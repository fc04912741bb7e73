#include "engine/physics/BoxGeom.h"
#include "engine/physics/PlaneGeom.h"
#include "engine/physics/SphereGeom.h"
#include "tests/engine/physics/PhysicsProbe.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

enum BodyState { kNoBody, kDisabledBody, kEnabledBody };

// A geometry with the given flags and, optionally, a body.
struct Party {
    Party(PhysicsWorld& world, int32_t flags, BodyState state) : geometry({1, 1, 1})
    {
        geometry.SetFlag(flags, true);
        if (state == kNoBody) {
            return;
        }
        body = std::make_unique<RigidBody>(world);
        body->AttachGeom(&geometry);
        if (state == kEnabledBody) {
            body->Enable();
        }
    }

    BoxGeom geometry;
    std::unique_ptr<RigidBody> body;
};

} // namespace

TEST_F(PhysicsWorldTest, PairFilterFollowsFlagsThenBodies)
{
    struct Case {
        const char* name;
        int32_t aFlags;
        BodyState aBody;
        int32_t bFlags;
        BodyState bBody;
        bool collides;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"two statics", 0, kNoBody, 0, kNoBody, false},
             {"static and moving", 0, kNoBody, 0, kEnabledBody, true},
             {"static and resting (disabled) body", 0, kNoBody, 0, kDisabledBody, false},
             {"two passive moving", kGeomPassive, kEnabledBody, kGeomPassive, kEnabledBody, false},
             {"passive moving and static", kGeomPassive, kEnabledBody, 0, kNoBody, true},
             {"always beats passive", kGeomPassive | kGeomAlwaysCollide, kNoBody, kGeomPassive, kNoBody, true},
             {"always without bodies", 0, kNoBody, kGeomAlwaysCollide, kNoBody, true},
             {"two sensors", kGeomSensing, kNoBody, kGeomSensing, kNoBody, true},
             {"passive sensors", kGeomSensing | kGeomPassive, kNoBody, kGeomSensing | kGeomPassive, kNoBody, true},
             {"sensor and static", kGeomSensing, kNoBody, 0, kNoBody, true},
             {"sensor and passive static", kGeomSensing, kNoBody, kGeomPassive, kNoBody, false},
             {"sensor and passive moving", kGeomSensing, kNoBody, kGeomPassive, kEnabledBody, true},
             {"passive sensor and static", kGeomSensing | kGeomPassive, kNoBody, 0, kNoBody, true}}) {
        Party a(world, c.aFlags, c.aBody);
        Party b(world, c.bFlags, c.bBody);
        EXPECT_EQ(PhysicsWorld::ShouldCollide(a.geometry, b.geometry), c.collides) << c.name;
        EXPECT_EQ(PhysicsWorld::ShouldCollide(b.geometry, a.geometry), c.collides) << c.name << ", swapped";
    }
}

TEST_F(PhysicsWorldTest, TwoPassiveGeometriesAreNeverTold)
{
    dcForceProbe ownerA("a", journal);
    dcForceProbe ownerB("b", journal);
    Party a(world, kGeomPassive, kEnabledBody);
    Party b(world, kGeomPassive, kEnabledBody);
    a.geometry.SetOwner(&ownerA);
    b.geometry.SetOwner(&ownerB);
    a.geometry.AddToWorld(world);
    b.geometry.AddToWorld(world);
    RunSteps(1);
    EXPECT_TRUE(journal.empty());
}

TEST_F(PhysicsWorldTest, ABodilessSensorOnAStaticGeometryIsToldButPushesNothing)
{
    dcForceProbe sensorOwner("sensor", journal);
    dcForceProbe groundOwner("ground", journal);
    SphereGeom sensor(1.0f);
    sensor.SetFlag(kGeomSensing, true);
    sensor.SetOwner(&sensorOwner);
    sensor.SetPosition({0, 0.5f, 0});
    PlaneGeom ground(0, 1, 0, 0);
    ground.SetOwner(&groundOwner);
    sensor.AddToWorld(world);
    ground.AddToWorld(world);

    world.Collide();
    EXPECT_EQ(sensorOwner.collisions, 1);
    EXPECT_EQ(groundOwner.collisions, 1);
    EXPECT_FALSE(sensorOwner.contacts.empty());
    EXPECT_EQ(sensorOwner.contacts.size(), groundOwner.contacts.size());
    EXPECT_EQ(world.GetContactsUsed(), 0);
    world.Step(kFixedStep);
    EXPECT_TRUE(sensorOwner.forces.empty());

    // A passive static one is not even paired with it.
    ground.SetFlag(kGeomPassive, true);
    Take();
    RunSteps(1);
    EXPECT_TRUE(journal.empty());
}
