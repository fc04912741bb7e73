#pragma once
// What the physics world tells the owners of colliding geometries. In each
// record "self" is the geometry whose owner receives it. The owner answers
// by writing into the record it is handed; handlers see records as const, so
// every field an owner may answer through is mutable.
//
// Per pair the order is: dcCollisionCull to each side, dcTriangleContact for
// each mesh triangle met, dcCollision to each side, then dcContact to each
// side point by point; dcPhysicsForce follows after the step.

#include "engine/core/Message.h"
#include "engine/math/Vec3.h"

#include <cstdint>

class ContactJoint;
class MessageReceiver;
class PhysicsGeom;
class RigidBody;

// Asked before the pair is tested; clearing collide culls the pair.
struct dcCollisionCull {
    DC_LOCAL_MESSAGE(dcCollisionCull)
    PhysicsGeom* self = nullptr;
    PhysicsGeom* other = nullptr;
    mutable uint8_t collide = 1;
};

// Told once the pair touches; clearing accept cancels all its contacts.
struct dcCollision {
    DC_LOCAL_MESSAGE(dcCollision)
    PhysicsGeom* self = nullptr;
    PhysicsGeom* other = nullptr;
    mutable uint8_t accept = 1;
};

// One contact point of a pair. The owner may move it, veto it, keep it off
// its own body and give its side's surface; the two sides' surfaces are
// merged into the contact.
struct dcContact {
    DC_LOCAL_MESSAGE(dcContact)
    PhysicsGeom* self = nullptr;
    PhysicsGeom* other = nullptr;
    mutable RigidBody* selfBody = nullptr;   // null keeps the contact off self's side
    RigidBody* otherBody = nullptr;          // for information only
    MessageReceiver* selfOwner = nullptr;
    MessageReceiver* otherOwner = nullptr;
    mutable Vec3 position;
    mutable Vec3 normal;   // pointing the way self is pushed
    mutable float depth = 0.0f;
    mutable uint8_t accept = 1;            // 0 drops this point
    mutable uint8_t continueContacts = 1;  // with accept 0: 0 also drops the pair's later points
    mutable int32_t spareSelf = 0;         // 1: keep off self's body and wake the other
    mutable uint8_t oneSided = 0;          // nonzero: acts on self's body only, as when self is passive
    mutable Vec3 frictionDirection;        // nonzero: the contact's first friction direction
    mutable float friction = 100.0f;       // multiplied with the other side's
    mutable float secondFriction = 100.0f; // kept for the owners; the contact does not use it
    mutable float slip1 = 0.0f;            // this and the four below: summed with the other side's
    mutable float slip2 = 0.0f;
    mutable float softErp = 0.0f;
    mutable float softCfm = 0.0f;
    mutable float bounce = 0.0f;
    mutable float bounceVelocity = 0.0f;   // multiplied with the other side's
};

// Asked for every triangle of a mesh that another geometry meets; clearing
// accept removes the triangle from this collision.
struct dcTriangleContact {
    DC_LOCAL_MESSAGE(dcTriangleContact)
    PhysicsGeom* self = nullptr;
    PhysicsGeom* other = nullptr;
    int32_t triangle = 0;   // index into the mesh's triangle list
    mutable uint8_t accept = 1;
};

// The forces a contact passed to its bodies during the step, sent to the
// owners that handle it. The contact's first and second bodies and
// geometries tell which side is which.
struct dcPhysicsForce {
    DC_LOCAL_MESSAGE(dcPhysicsForce)
    ContactJoint* contact = nullptr;
    float stepLength = 0.0f;   // seconds
    Vec3 force1;
    Vec3 torque1;
    Vec3 force2;
    Vec3 torque2;
};
