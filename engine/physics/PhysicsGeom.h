#pragma once
// The engine's wrapper around one ODE collision geometry: the collision shape
// of every physical thing in a game. It knows the world it was added to, the
// receiver told about its collisions (its owner), the flags that steer the
// world's pair filter and contact rules, and its ODE handle. It can follow a
// rigid body, at an offset when wrapped in an ODE transform geometry.
//
// Every ODE geometry made here carries its wrapper as user data, so a handle
// met in a collision leads back to it. Geometries are made outside any space;
// AddToWorld puts them into the world's. Game entities may derive from a
// geometry kind.

#include "engine/math/BoundingBox.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"

#include <ode/common.h>

#include <cstdint>
#include <memory>

class MessageReceiver;
class PhysicsWorld;
class RigidBody;

enum GeomFlags : int32_t {
    kGeomInWorld = 1,          // added to its world's space
    kGeomPassive = 2,          // contacts push this geometry but not the other party
    kGeomAlwaysCollide = 8,    // the pair filter always lets it collide
    kGeomWrapped = 0x10,       // the handle is a transform geometry holding the shape
    kGeomSensing = 0x20,       // collides even when no party has an enabled body
};

// What a geometry kind must keep alive for as long as ODE's handle lives (a
// mesh's arrays): a handle destroyed during a collision pass outlives its
// wrapper until the pass ends.
struct GeomResources {
    virtual ~GeomResources() = default;
};

class PhysicsGeom {
public:
    PhysicsGeom();
    virtual ~PhysicsGeom();
    PhysicsGeom(const PhysicsGeom&) = delete;
    PhysicsGeom& operator=(const PhysicsGeom&) = delete;

    // The receiver of this geometry's collision messages; null: nobody is told.
    virtual MessageReceiver* GetOwner() const { return owner_; }
    virtual void SetPosition(const Vec3& position);
    virtual void SetOrientation(const Quaternion& orientation);
    // For a geometry that follows a body, the body's position.
    virtual Vec3 GetPosition() const;
    virtual Quaternion GetOrientation() const;
    // Null detaches.
    virtual void AttachToBody(RigidBody* body);

    void SetOwner(MessageReceiver* owner) { owner_ = owner; }
    int32_t GetFlags() const { return flags_; }
    bool HasFlag(int32_t flag) const { return (flags_ & flag) != 0; }
    // Game code sets kGeomPassive and kGeomSensing; the wrapper keeps the others.
    void SetFlag(int32_t flag, bool on) { flags_ = on ? (flags_ | flag) : (flags_ & ~flag); }

    // Immediate, or queued while a collision pass runs. The world is kept
    // after removal.
    void AddToWorld(PhysicsWorld& world);
    void RemoveFromWorld(PhysicsWorld& world);
    PhysicsWorld* GetWorld() const { return world_; }

    // A disabled geometry takes no part in collisions.
    void Enable();
    void Disable();
    bool IsEnabled() const;
    // ODE pairs two geometries only when one's category bits meet the
    // other's collide bits.
    void SetCategoryBits(int32_t bits);
    int32_t GetCategoryBits() const;
    void SetCollideBits(int32_t bits);
    int32_t GetCollideBits() const;

    void SetRotation(const Matrix44& rotation);
    // Rotation rows and position from the translation row.
    void SetTransform(const Matrix44& transform);
    // Rows 0 to 2 of out; its translation row is left as it was.
    void GetRotation(Matrix44& out) const;
    Matrix44 GetTransform() const;
    // ODE's axis-aligned bounds as centre and half extents.
    BoundingBox GetBounds() const;
    RigidBody* GetRigidBody() const;

    // This geometry against every geometry of its world's space, with the
    // full messages and contacts.
    void CollideWithWorld();
    // True when the pair yields at least one contact; without a world a plain
    // contact test.
    bool TestAgainst(PhysicsGeom& other);
    // Places the shape at an offset from its body, read in the body's frame,
    // by wrapping it in a transform geometry. Done before the geometry enters
    // a world.
    void SetOffset(const Vec3& offset);

    // The handle ODE collides: the transform geometry when wrapped.
    dGeomID GetHandle() const { return handle_; }
    // The shape itself, inside the transform when wrapped.
    dGeomID GetShape() const;

protected:
    // Takes a newly made ODE geometry as this wrapper's handle.
    void Adopt(dGeomID handle);
    // Leaves the world and destroys the handle (at the end of a running pass),
    // keeping the resources until the handle is gone. A kind whose handle
    // uses resources of its own calls it from its destructor.
    void ReleaseHandle(std::unique_ptr<GeomResources> resources);

private:
    void WrapInTransform();
    // Planes and spaces have no position or rotation and follow no body.
    bool IsPlaceable() const;

    PhysicsWorld* world_ = nullptr;
    MessageReceiver* owner_ = nullptr;
    int32_t flags_ = 0;
    dGeomID handle_ = nullptr;
};
