#pragma once
// Physics test helpers: an owner that journals the collision messages it hears
// and lets a test answer them, and a world with a space and gravity.

#include "engine/core/MessageReceiver.h"
#include "engine/physics/BoxGeom.h"
#include "engine/physics/PhysicsMessages.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/physics/PlaneGeom.h"
#include "engine/physics/RigidBody.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// Hears the collision messages but not dcPhysicsForce.
class dcCollisionProbe : public MessageReceiver {
    DC_RECEIVER(dcCollisionProbe, MessageReceiver)
public:
    dcCollisionProbe(std::string name, std::vector<std::string>& journal) : name_(std::move(name)), journal_(journal)
    {
        Handles<dcCollisionCull, &dcCollisionProbe::OnCull>();
        Handles<dcCollision, &dcCollisionProbe::OnCollision>();
        Handles<dcContact, &dcCollisionProbe::OnContact>();
        Handles<dcTriangleContact, &dcCollisionProbe::OnTriangle>();
    }

    std::function<void(const dcCollisionCull&)> onCull;
    std::function<void(const dcCollision&)> onCollision;
    std::function<void(const dcContact&)> onContact;
    std::function<void(const dcTriangleContact&)> onTriangle;

    std::vector<dcContact> contacts;     // as received, before any answer
    std::vector<int32_t> triangles;      // indices offered
    int32_t culls = 0;
    int32_t collisions = 0;

protected:
    void Note(const std::string& what) { journal_.push_back(name_ + " " + what); }

private:
    void OnCull(const dcCollisionCull& msg)
    {
        ++culls;
        Note("cull");
        if (onCull) {
            onCull(msg);
        }
    }
    void OnCollision(const dcCollision& msg)
    {
        ++collisions;
        Note("collision");
        if (onCollision) {
            onCollision(msg);
        }
    }
    void OnContact(const dcContact& msg)
    {
        contacts.push_back(msg);
        Note("contact");
        if (onContact) {
            onContact(msg);
        }
    }
    void OnTriangle(const dcTriangleContact& msg)
    {
        triangles.push_back(msg.triangle);
        Note("triangle " + std::to_string(msg.triangle));
        if (onTriangle) {
            onTriangle(msg);
        }
    }

    std::string name_;
    std::vector<std::string>& journal_;
};
// handlers: dcCollisionCull -> OnCull, dcCollision -> OnCollision, dcContact -> OnContact,
//           dcTriangleContact -> OnTriangle

// Also asks for the forces of its contacts.
class dcForceProbe : public dcCollisionProbe {
    DC_RECEIVER(dcForceProbe, dcCollisionProbe)
public:
    dcForceProbe(std::string name, std::vector<std::string>& journal) : dcCollisionProbe(std::move(name), journal)
    {
        Handles<dcPhysicsForce, &dcForceProbe::OnForce>();
    }

    std::vector<dcPhysicsForce> forces;

private:
    void OnForce(const dcPhysicsForce& msg)
    {
        forces.push_back(msg);
        Note("force");
    }
};
// handlers: dcPhysicsForce -> OnForce

// A box with a unit-mass body, placed, enabled and in the world.
struct DynamicBox {
    DynamicBox(PhysicsWorld& world, const Vec3& position, const Vec3& halfExtents = {0.5f, 0.5f, 0.5f})
        : geometry(halfExtents), body(world)
    {
        body.SetBoxInertia(halfExtents);
        body.AttachGeom(&geometry);
        body.SetPosition(position);
        body.Enable();
        geometry.AddToWorld(world);
    }

    BoxGeom geometry;
    RigidBody body;
};

inline constexpr float kFixedStep = 1.0f / 75.0f;

// A world with a 200-unit space around the origin and earth's gravity.
class PhysicsWorldTest : public testing::Test {
protected:
    PhysicsWorldTest()
    {
        world.CreateSpace({{0.0f, 0.0f, 0.0f}, {100.0f, 100.0f, 100.0f}}, 4);
        world.SetGravity({0.0f, -9.81f, 0.0f});
    }

    void RunSteps(int32_t steps)
    {
        for (int32_t i = 0; i < steps; ++i) {
            world.Collide();
            world.Step(kFixedStep);
        }
    }

    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(journal);
        return taken;
    }

    PhysicsWorld world;
    std::vector<std::string> journal;
};

// A unit box sunk 0.01 into the ground plane y = 0 (four contact points),
// both with owners that journal what they hear.
class GroundBoxTest : public PhysicsWorldTest {
protected:
    GroundBoxTest() : ground(0, 1, 0, 0), box(world, {0, 0.49f, 0})
    {
        ground.SetOwner(&groundOwner);
        ground.AddToWorld(world);
        box.geometry.SetOwner(&boxOwner);
    }

    dcForceProbe boxOwner{"box", journal};
    dcForceProbe groundOwner{"ground", journal};
    PlaneGeom ground;
    DynamicBox box;
};
