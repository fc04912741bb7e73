#include "engine/core/EngineMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/core/Scene.h"
#include "engine/physics/BoxGeom.h"
#include "engine/physics/PlaneGeom.h"
#include "engine/physics/PhysicsMessages.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/physics/RigidBody.h"
#include "tests/engine/physics/PhysicsProbe.h"

#include <gtest/gtest.h>
#include <ode/ode.h>

namespace {

// A game entity as the game builds them: it owns its box and body, joins the
// physics world when it joins the scene, and hears its collisions.
class dcTestCrate : public MessageReceiver {
    DC_RECEIVER(dcTestCrate, MessageReceiver)
public:
    dcTestCrate(PhysicsWorld& world, const Vec3& position) : world_(world), geometry_({0.5f, 0.5f, 0.5f}), body_(world)
    {
        Handles<dcSceneAdd, &dcTestCrate::OnSceneAdd>();
        Handles<dcCollision, &dcTestCrate::OnCollision>();
        Handles<dcContact, &dcTestCrate::OnContact>();
        Handles<dcPhysicsForce, &dcTestCrate::OnForce>();
        geometry_.SetOwner(this);
        body_.SetMass(2.0f);
        body_.SetBoxInertia({0.5f, 0.5f, 0.5f});
        body_.AttachGeom(&geometry_);
        body_.SetPosition(position);
    }

    Vec3 GetPosition() const { return body_.GetPosition(); }

    bool releaseOnImpact = false;
    int32_t collisions = 0;
    int32_t contacts = 0;
    int32_t forces = 0;
    float lift = 0.0f;   // upward force on the crate in the last step
    int32_t* destroyed = nullptr;

    ~dcTestCrate() override
    {
        if (destroyed) {
            ++*destroyed;
        }
    }

private:
    void OnSceneAdd(const dcSceneAdd&)
    {
        geometry_.AddToWorld(world_);
        body_.Enable();
    }
    void OnCollision(const dcCollision&)
    {
        ++collisions;
        lift = 0.0f;
        if (releaseOnImpact) {
            Release();
        }
    }
    void OnContact(const dcContact&) { ++contacts; }
    void OnForce(const dcPhysicsForce& msg)
    {
        ++forces;
        lift += msg.contact->GetFirstGeom() == &geometry_ ? msg.force1.y : msg.force2.y;
    }

    PhysicsWorld& world_;
    BoxGeom geometry_;
    RigidBody body_;
};
// handlers: dcSceneAdd -> OnSceneAdd, dcCollision -> OnCollision, dcContact -> OnContact, dcPhysicsForce -> OnForce

class TestScene : public Scene {
public:
    int32_t NewId() override { return ++nextId_; }
};

// The game's fixed step: deletions flushed first, then collide and step.
class FallingCrateSceneTest : public PhysicsWorldTest {
protected:
    FallingCrateSceneTest() : ground(0, 1, 0, 0) { ground.AddToWorld(world); }

    void FixedSteps(int32_t steps)
    {
        for (int32_t i = 0; i < steps; ++i) {
            scene.FlushDeletes();
            world.Collide();
            world.Step(kFixedStep);
        }
    }

    PlaneGeom ground;
    TestScene scene;
};

} // namespace

TEST_F(FallingCrateSceneTest, ACrateFallsLandsAndRestsHearingItsContacts)
{
    auto* crate = new dcTestCrate(world, {0, 5, 0});
    scene.Add(crate);
    FixedSteps(30);
    EXPECT_LT(crate->GetPosition().y, 5.0f);
    EXPECT_EQ(crate->collisions, 0);

    FixedSteps(195);
    EXPECT_NEAR(crate->GetPosition().y, 0.5f, 0.02f);
    EXPECT_GT(crate->collisions, 100);
    EXPECT_GE(crate->contacts, crate->collisions);
    EXPECT_GE(crate->forces, crate->contacts);
    // Resting, the ground carries its weight (mass 2).
    EXPECT_NEAR(crate->lift, 2.0f * 9.81f, 1.0f);

    crate->Release();
    EXPECT_EQ(scene.Count(), 0);
    EXPECT_EQ(dSpaceGetNumGeoms(world.GetSpace()), 1);
    FixedSteps(5);
}

TEST_F(FallingCrateSceneTest, ACrateReleasingItselfOnImpactLeavesTheWorldSafely)
{
    int32_t destroyed = 0;
    auto* shell = new dcTestCrate(world, {0, 2, 0});
    shell->releaseOnImpact = true;
    shell->destroyed = &destroyed;
    auto* crate = new dcTestCrate(world, {3, 2, 0});
    scene.Add(shell);
    scene.Add(crate);
    for (int32_t step = 0; step < 150 && destroyed == 0; ++step) {
        FixedSteps(1);
    }
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(scene.Count(), 1);
    EXPECT_EQ(dSpaceGetNumGeoms(world.GetSpace()), 2);
    FixedSteps(150);
    EXPECT_NEAR(crate->GetPosition().y, 0.5f, 0.02f);
    crate->Release();
}
