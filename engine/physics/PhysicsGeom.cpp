#include "engine/physics/PhysicsGeom.h"

#include "engine/physics/OdeConversions.h"
#include "engine/physics/PhysicsLibrary.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/physics/RigidBody.h"

#include <ode/ode.h>

namespace {

constexpr unsigned long kAllBits = ~0ul;

// ODE marks transform geometries deprecated in favour of body offsets, but a
// transform is what lets a shape sit at an offset while contacts report, and
// spaces hold, the one handle of its wrapper.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

// A transform geometry outside any space that takes over the shape: contacts
// report the transform, and destroying it destroys the shape.
dGeomID WrapShape(dGeomID shape)
{
    dGeomID transform = dCreateGeomTransform(nullptr);
    dGeomTransformSetInfo(transform, 1);
    dGeomTransformSetGeom(transform, shape);
    dGeomTransformSetCleanup(transform, 1);
    return transform;
}

dGeomID WrappedShape(dGeomID transform)
{
    return dGeomTransformGetGeom(transform);
}

#pragma GCC diagnostic pop

} // namespace

PhysicsGeom::PhysicsGeom()
{
    InitPhysicsLibrary();
}

PhysicsGeom::~PhysicsGeom()
{
    ReleaseHandle(nullptr);
}

void PhysicsGeom::Adopt(dGeomID handle)
{
    handle_ = handle;
    dGeomSetData(handle_, this);
}

void PhysicsGeom::ReleaseHandle(std::unique_ptr<GeomResources> resources)
{
    if (!handle_) {
        return;
    }
    if (RigidBody* body = GetRigidBody()) {
        body->ForgetGeom(*this);
    }
    if (HasFlag(kGeomInWorld)) {
        world_->RemoveGeom(*this);
    }
    if (world_) {
        world_->DestroyGeom(*this, std::move(resources));
    } else {
        dGeomDestroy(handle_);
    }
    handle_ = nullptr;
}

bool PhysicsGeom::IsPlaceable() const
{
    return !dGeomIsSpace(handle_) && dGeomGetClass(handle_) != dPlaneClass;
}

dGeomID PhysicsGeom::GetShape() const
{
    return HasFlag(kGeomWrapped) ? WrappedShape(handle_) : handle_;
}

void PhysicsGeom::SetPosition(const Vec3& position)
{
    if (IsPlaceable()) {
        dGeomSetPosition(handle_, position.x, position.y, position.z);
    }
}

void PhysicsGeom::SetOrientation(const Quaternion& orientation)
{
    if (!IsPlaceable()) {
        return;
    }
    dQuaternion q;
    QuaternionToOde(orientation, q);
    dMatrix3 rotation;
    dQtoR(q, rotation);
    dGeomSetRotation(handle_, rotation);
}

Vec3 PhysicsGeom::GetPosition() const
{
    return IsPlaceable() ? VecFromOde(dGeomGetPosition(handle_)) : kZeroVector;
}

Quaternion PhysicsGeom::GetOrientation() const
{
    if (!IsPlaceable()) {
        return {};
    }
    dQuaternion q;
    dRtoQ(dGeomGetRotation(handle_), q);
    return QuaternionFromOde(q);
}

void PhysicsGeom::AttachToBody(RigidBody* body)
{
    if (IsPlaceable()) {
        dGeomSetBody(handle_, RigidBody::HandleOf(body));
    }
}

void PhysicsGeom::AddToWorld(PhysicsWorld& world)
{
    SetFlag(kGeomInWorld, true);
    world_ = &world;
    world.AddGeom(*this);
}

void PhysicsGeom::RemoveFromWorld(PhysicsWorld& world)
{
    SetFlag(kGeomInWorld, false);
    world.RemoveGeom(*this);
}

void PhysicsGeom::Enable()
{
    dGeomEnable(handle_);
}

void PhysicsGeom::Disable()
{
    dGeomDisable(handle_);
}

bool PhysicsGeom::IsEnabled() const
{
    return dGeomIsEnabled(handle_) != 0;
}

void PhysicsGeom::SetCategoryBits(int32_t bits)
{
    dGeomSetCategoryBits(handle_, static_cast<uint32_t>(bits));
}

int32_t PhysicsGeom::GetCategoryBits() const
{
    return static_cast<int32_t>(dGeomGetCategoryBits(handle_));
}

void PhysicsGeom::SetCollideBits(int32_t bits)
{
    dGeomSetCollideBits(handle_, static_cast<uint32_t>(bits));
}

int32_t PhysicsGeom::GetCollideBits() const
{
    return static_cast<int32_t>(dGeomGetCollideBits(handle_));
}

void PhysicsGeom::SetRotation(const Matrix44& rotation)
{
    if (!IsPlaceable()) {
        return;
    }
    dMatrix3 r;
    RotationToOde(rotation, r);
    dGeomSetRotation(handle_, r);
}

void PhysicsGeom::SetTransform(const Matrix44& transform)
{
    SetRotation(transform);
    SetPosition(transform.GetRow(3));
}

void PhysicsGeom::GetRotation(Matrix44& out) const
{
    if (IsPlaceable()) {
        RotationFromOde(dGeomGetRotation(handle_), out);
    }
}

Matrix44 PhysicsGeom::GetTransform() const
{
    Matrix44 transform;
    GetRotation(transform);
    transform.SetRow(3, GetPosition());
    return transform;
}

BoundingBox PhysicsGeom::GetBounds() const
{
    dReal aabb[6];
    dGeomGetAABB(handle_, aabb);
    return {{(aabb[0] + aabb[1]) * 0.5f, (aabb[2] + aabb[3]) * 0.5f, (aabb[4] + aabb[5]) * 0.5f},
            {(aabb[1] - aabb[0]) * 0.5f, (aabb[3] - aabb[2]) * 0.5f, (aabb[5] - aabb[4]) * 0.5f}};
}

RigidBody* PhysicsGeom::GetRigidBody() const
{
    dBodyID body = dGeomGetBody(handle_);
    return body ? static_cast<RigidBody*>(dBodyGetData(body)) : nullptr;
}

void PhysicsGeom::CollideWithWorld()
{
    if (world_) {
        world_->CollideGeom(*this);
    }
}

bool PhysicsGeom::TestAgainst(PhysicsGeom& other)
{
    return PhysicsWorld::TestPair(world_, *this, other);
}

void PhysicsGeom::SetOffset(const Vec3& offset)
{
    if (!IsPlaceable()) {
        return;
    }
    WrapInTransform();
    dGeomSetPosition(GetShape(), offset.x, offset.y, offset.z);
}

void PhysicsGeom::WrapInTransform()
{
    if (HasFlag(kGeomWrapped)) {
        return;
    }
    RigidBody* body = GetRigidBody();
    const int32_t categories = GetCategoryBits();
    const int32_t collides = GetCollideBits();
    const bool enabled = IsEnabled();
    AttachToBody(nullptr);

    // The inner shape is never filtered on its own, and sits in the body's
    // orientation: detaching left the body's pose in it.
    dGeomID shape = handle_;
    dGeomSetCategoryBits(shape, kAllBits);
    dGeomSetCollideBits(shape, kAllBits);
    dGeomEnable(shape);
    dMatrix3 identity;
    dRSetIdentity(identity);
    dGeomSetRotation(shape, identity);
    dSpaceID space = dGeomGetSpace(shape);
    if (space) {
        dSpaceRemove(space, shape);
    }

    handle_ = WrapShape(shape);
    SetFlag(kGeomWrapped, true);

    AttachToBody(body);
    SetCategoryBits(categories);
    SetCollideBits(collides);
    if (enabled) {
        Enable();
    } else {
        Disable();
    }
    if (space) {
        dSpaceAdd(space, handle_);
    }
    dGeomSetData(handle_, this);
}
