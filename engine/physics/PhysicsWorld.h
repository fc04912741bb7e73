#pragma once
// The ODE world of one game with its collision space, its contact joints and
// the contact records that outlive the collision pass until the step. Once
// per fixed step the game calls Collide, then Step.
//
// Collision is where the engine talks to the game: for every candidate pair
// the owners of both geometries are asked whether it may collide, told that
// it does, asked about each contact point, and after the step told the forces
// they asked for (PhysicsMessages.h). Handlers may add, remove and destroy
// geometries and destroy bodies: while a pass runs the world queues geometry
// changes and applies them when it ends, and a pair whose geometry or body
// went away meanwhile stops there.
//
// Geometries, bodies and joints must be destroyed before their world.

#include "engine/math/BoundingBox.h"
#include "engine/math/Vec3.h"
#include "engine/physics/ContactJoint.h"
#include "engine/physics/PhysicsGeom.h"
#include "engine/physics/PhysicsMessages.h"

#include <ode/common.h>
#include <ode/contact.h>

#include <cstdint>
#include <memory>
#include <vector>

class MessageReceiver;
class RigidBody;

class PhysicsWorld {
public:
    // Contact records per step; later contacts of a step are dropped.
    static constexpr int32_t kContactRecords = 4096;
    static constexpr int32_t kMaxContactsPerPair = 50;

    PhysicsWorld();
    ~PhysicsWorld();
    PhysicsWorld(const PhysicsWorld&) = delete;
    PhysicsWorld& operator=(const PhysicsWorld&) = delete;

    // A quadtree over the bounds (centre and half extents), split depth times.
    // World loading makes it before adding geometry; a new one replaces the
    // last level's, whose geometries must already be gone.
    void CreateSpace(const BoundingBox& bounds, int32_t depth);
    void SetGravity(const Vec3& gravity);
    Vec3 GetGravity() const;

    // At once with a space and no pass running, else queued. Adding a
    // geometry already in a space, or removing one that is not in this
    // world's, does nothing.
    void AddGeom(PhysicsGeom& geometry);
    void RemoveGeom(PhysicsGeom& geometry);
    // At once unless a pass runs; then the handle stays, out of play, until
    // the pass ends, and the resources with it.
    void DestroyGeom(PhysicsGeom& geometry, std::unique_ptr<GeomResources> resources = nullptr);
    void FlushQueuedChanges();
    // The end of world loading.
    void FlushAndClean();

    // One pass over the whole space.
    void Collide();
    // The geometry against every geometry of the space.
    void CollideGeom(PhysicsGeom& geometry);
    // With a world: the pair with all messages and contact joints; without
    // one: a plain contact test. True when the pair touches.
    static bool TestPair(PhysicsWorld* world, PhysicsGeom& a, PhysicsGeom& b);
    // Solves the step, reports the contacts' forces, discards the contacts.
    void Step(float dt);
    // Called by a body's destructor: no contact reports forces for it any more.
    void RemoveBody(const RigidBody& body);

    // The pair filter on both geometries' flags and bodies.
    static bool ShouldCollide(const PhysicsGeom& a, const PhysicsGeom& b);
    // Merges the two sides' surfaces into the contact.
    static void MakeSurface(dContact& contact, const dcContact& p, const dcContact& q);

    // The length of the last step: game code reads it as the physics step.
    float GetStepLength() const { return stepLength_; }
    // The contacts made since the last step.
    int32_t GetContactsUsed() const { return contactsUsed_; }
    const ContactJoint& GetContact(int32_t index) const { return contacts_[index]; }
    dWorldID GetOdeWorld() const { return world_; }
    dSpaceID GetSpace() const { return space_; }

private:
    enum ChangeFlags : int32_t {
        kChangeAdd = 1,
        kChangeRemove = 2,
        kChangeDestroy = 4,
    };

    struct QueuedChange {
        int32_t flags;
        dGeomID handle;
        std::unique_ptr<GeomResources> resources;
    };

    static void NearCallback(void* data, dGeomID first, dGeomID second);
    void EnterPass();
    void LeavePass();
    void Queue(dGeomID handle, int32_t flag, std::unique_ptr<GeomResources> resources);
    void Apply(QueuedChange& change);
    void AddToSpace(dGeomID handle);
    void RemoveFromSpace(dGeomID handle);

    struct Pair;

    int32_t CollidePair(PhysicsGeom& a, PhysicsGeom& b);
    // False when the pair's contacts were cancelled or a side went away.
    bool TellCollision(const Pair& pair);
    bool MakeContactAt(dContact& contact, const Pair& pair);
    // True when the owner culled the pair.
    bool SendCollisionCull(PhysicsGeom& self, PhysicsGeom& other);
    // True when the owner cancelled the pair's contacts.
    bool SendCollision(PhysicsGeom& self, PhysicsGeom& other);
    void AddContact(dContact& contact, RigidBody* a, RigidBody* b, const Pair& pair);
    // A body destroyed during the pass takes no further contact.
    RigidBody* Present(RigidBody* body) const;
    void ReportForces(float dt);

    std::unique_ptr<ContactJoint[]> contacts_;
    int32_t contactsUsed_ = 0;
    // The owners to tell about forces, from listenerBase up for the pair under
    // way; a pair tested from a handler stacks its own above them.
    std::vector<MessageReceiver*> forceListeners_;
    dSpaceID space_ = nullptr;
    dWorldID world_;
    dJointGroupID jointGroup_;
    int32_t passDepth_ = 0;
    float stepLength_ = 0.0f;
    std::vector<QueuedChange> queue_;
    std::vector<const RigidBody*> destroyedBodies_;   // during the pass under way
};
