#include "engine/physics/PhysicsWorld.h"

#include "engine/core/MessageReceiver.h"
#include "engine/physics/ContactBuffer.h"
#include "engine/physics/OdeConversions.h"
#include "engine/physics/PhysicsLibrary.h"
#include "engine/physics/RigidBody.h"

#include <ode/ode.h>

#include <algorithm>
#include <span>

namespace {

constexpr int kSolverIterations = 3;

// Whether the handle still leads to the wrapper: a geometry destroyed during
// the pass has left its handle without one.
bool StillWrapped(dGeomID handle, const PhysicsGeom& geometry)
{
    return dGeomGetData(handle) == &geometry;
}

bool IsZero(const Vec3& v)
{
    return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f;
}

void Wake(RigidBody* body)
{
    if (body) {
        body->Enable();
    }
}

// The point as told to self's owner; normalSign turns the normal to push self.
dcContact MakeContactPayload(PhysicsGeom& self, PhysicsGeom& other, const dContactGeom& point, float normalSign)
{
    dcContact payload;
    payload.self = &self;
    payload.other = &other;
    payload.selfBody = self.GetRigidBody();
    payload.otherBody = other.GetRigidBody();
    payload.selfOwner = self.GetOwner();
    payload.otherOwner = other.GetOwner();
    payload.position = VecFromOde(point.pos);
    payload.normal = VecFromOde(point.normal) * normalSign;
    payload.depth = point.depth;
    return payload;
}

// Tells self's owner about the point and writes back whatever its handler
// changed of it.
dcContact TellPoint(dContact& d, PhysicsGeom& self, PhysicsGeom& other, float normalSign)
{
    dcContact payload = MakeContactPayload(self, other, d.geom, normalSign);
    if (payload.selfOwner && payload.selfOwner->Send(payload) != 0) {
        VecToOde(payload.position, d.geom.pos);
        VecToOde(payload.normal * normalSign, d.geom.normal);
        d.geom.depth = payload.depth;
    }
    return payload;
}

// The sum of both sides' values; a positive sum switches the mode bit on.
void MergeSummed(dSurfaceParameters& surface, dReal& field, float p, float q, int modeBit)
{
    field = p + q;
    if (field > 0.0f) {
        surface.mode |= modeBit;
    }
}

// Which bodies a contact acts on. A one-sided (or passive) side takes the
// contact alone; a side that spares itself leaves it to the other, unless
// both do. The body left to carry the contact is woken, as it may be resting.
void ChooseBodies(bool aAlone, bool bAlone, bool spareA, bool spareB, RigidBody*& bodyA, RigidBody*& bodyB)
{
    if (spareA && spareB) {
        spareA = false;
        spareB = false;
    }
    if (aAlone) {
        Wake(bodyA);
        bodyB = nullptr;
    }
    if (bAlone) {
        Wake(bodyB);
        bodyA = nullptr;
    }
    if (spareA && bodyA) {
        bodyA = nullptr;
        Wake(bodyB);
    }
    if (spareB && bodyB) {
        bodyB = nullptr;
        Wake(bodyA);
    }
}

} // namespace

PhysicsWorld::PhysicsWorld()
{
    InitPhysicsLibrary();
    contacts_ = std::make_unique<ContactJoint[]>(kContactRecords);
    world_ = dWorldCreate();
    dWorldSetCFM(world_, 1e-8f);
    dWorldSetERP(world_, 0.1f);
    dWorldSetQuickStepNumIterations(world_, kSolverIterations);
    jointGroup_ = dJointGroupCreate(0);
}

PhysicsWorld::~PhysicsWorld()
{
    FlushQueuedChanges();
    for (int32_t i = 0; i < contactsUsed_; ++i) {
        contacts_[i].Clear();
    }
    dJointGroupDestroy(jointGroup_);
    if (space_) {
        dSpaceDestroy(space_);
    }
    dWorldDestroy(world_);
}

void PhysicsWorld::CreateSpace(const BoundingBox& bounds, int32_t depth)
{
    if (space_) {
        dSpaceDestroy(space_);
    }
    const dVector3 centre = {bounds.centre.x, bounds.centre.y, bounds.centre.z, 0.0f};
    const dVector3 extents = {bounds.halfExtents.x, bounds.halfExtents.y, bounds.halfExtents.z, 0.0f};
    space_ = dQuadTreeSpaceCreate(nullptr, centre, extents, depth);
    // The geometries have wrappers that destroy them; the space only holds them.
    dSpaceSetCleanup(space_, 0);
}

void PhysicsWorld::SetGravity(const Vec3& gravity)
{
    dWorldSetGravity(world_, gravity.x, gravity.y, gravity.z);
}

Vec3 PhysicsWorld::GetGravity() const
{
    dVector3 gravity;
    dWorldGetGravity(world_, gravity);
    return VecFromOde(gravity);
}

void PhysicsWorld::AddGeom(PhysicsGeom& geometry)
{
    if (space_ && passDepth_ == 0) {
        AddToSpace(geometry.GetHandle());
    } else {
        Queue(geometry.GetHandle(), kChangeAdd, nullptr);
    }
}

void PhysicsWorld::RemoveGeom(PhysicsGeom& geometry)
{
    if (space_ && passDepth_ == 0) {
        RemoveFromSpace(geometry.GetHandle());
    } else {
        Queue(geometry.GetHandle(), kChangeRemove, nullptr);
    }
}

void PhysicsWorld::DestroyGeom(PhysicsGeom& geometry, std::unique_ptr<GeomResources> resources)
{
    for (int32_t i = 0; i < contactsUsed_; ++i) {
        contacts_[i].ForgetGeom(geometry);
    }
    dGeomID handle = geometry.GetHandle();
    if (passDepth_ == 0) {
        std::erase_if(queue_, [handle](const QueuedChange& change) { return change.handle == handle; });
        dGeomDestroy(handle);
        return;
    }
    // ODE may still meet the handle before the pass ends: it must lead to no
    // wrapper and take no further part.
    dGeomSetData(handle, nullptr);
    dGeomSetData(geometry.GetShape(), nullptr);
    dGeomDisable(handle);
    Queue(handle, kChangeDestroy, std::move(resources));
}

// A later add or remove overrides an earlier opposite one, so the geometry
// ends as the last request left it.
void PhysicsWorld::Queue(dGeomID handle, int32_t flag, std::unique_ptr<GeomResources> resources)
{
    auto entry = std::find_if(queue_.begin(), queue_.end(),
                              [handle](const QueuedChange& change) { return change.handle == handle; });
    if (entry == queue_.end()) {
        queue_.push_back({flag, handle, std::move(resources)});
        return;
    }
    if (flag == kChangeAdd) {
        entry->flags &= ~kChangeRemove;
    } else if (flag == kChangeRemove) {
        entry->flags &= ~kChangeAdd;
    }
    entry->flags |= flag;
    if (resources) {
        entry->resources = std::move(resources);
    }
}

void PhysicsWorld::FlushQueuedChanges()
{
    if (passDepth_ > 0) {
        return;
    }
    for (QueuedChange& change : queue_) {
        Apply(change);
    }
    std::erase_if(queue_, [](const QueuedChange& change) { return change.flags == 0; });
}

// Adds and removes wait for a space; a destroy needs none.
void PhysicsWorld::Apply(QueuedChange& change)
{
    if (change.flags & kChangeDestroy) {
        dGeomDestroy(change.handle);
        change.resources.reset();
        change.flags = 0;
        return;
    }
    if (!space_) {
        return;
    }
    if (change.flags & kChangeAdd) {
        AddToSpace(change.handle);
    }
    if (change.flags & kChangeRemove) {
        RemoveFromSpace(change.handle);
    }
    change.flags = 0;
}

void PhysicsWorld::AddToSpace(dGeomID handle)
{
    if (!dGeomGetSpace(handle)) {
        dSpaceAdd(space_, handle);
    }
}

void PhysicsWorld::RemoveFromSpace(dGeomID handle)
{
    if (dGeomGetSpace(handle) == space_) {
        dSpaceRemove(space_, handle);
    }
}

void PhysicsWorld::FlushAndClean()
{
    FlushQueuedChanges();
    if (space_) {
        dSpaceClean(space_);
    }
}

void PhysicsWorld::EnterPass()
{
    ++passDepth_;
}

void PhysicsWorld::LeavePass()
{
    --passDepth_;
    if (passDepth_ == 0) {
        destroyedBodies_.clear();
    }
    FlushQueuedChanges();
}

void PhysicsWorld::Collide()
{
    if (!space_) {
        return;
    }
    EnterPass();
    dSpaceCollide(space_, this, &PhysicsWorld::NearCallback);
    LeavePass();
}

void PhysicsWorld::CollideGeom(PhysicsGeom& geometry)
{
    if (!space_) {
        return;
    }
    EnterPass();
    dSpaceCollide2(reinterpret_cast<dGeomID>(space_), geometry.GetHandle(), this, &PhysicsWorld::NearCallback);
    LeavePass();
}

// The pass stays open around the pair so that whatever its handlers destroy
// lasts until the pair is done.
bool PhysicsWorld::TestPair(PhysicsWorld* world, PhysicsGeom& a, PhysicsGeom& b)
{
    if (!world) {
        ContactBufferScope buffer(ContactBufferScope::kCapacity);
        if (buffer.Size() == 0) {
            return false;
        }
        return dCollide(a.GetHandle(), b.GetHandle(), buffer.Size(), &buffer.Points()[0].geom, sizeof(dContact)) > 0;
    }
    world->FlushQueuedChanges();
    world->EnterPass();
    const bool touched = world->CollidePair(a, b) > 0;
    world->LeavePass();
    return touched;
}

void PhysicsWorld::NearCallback(void* data, dGeomID first, dGeomID second)
{
    PhysicsWorld& world = *static_cast<PhysicsWorld*>(data);
    auto* a = static_cast<PhysicsGeom*>(dGeomGetData(first));
    auto* b = static_cast<PhysicsGeom*>(dGeomGetData(second));
    // A geometry collided against its own space meets itself.
    if (!a || !b || a == b || !ShouldCollide(*a, *b)) {
        return;
    }
    if (world.SendCollisionCull(*a, *b) || !StillWrapped(first, *a) || !StillWrapped(second, *b)) {
        return;
    }
    if (world.SendCollisionCull(*b, *a) || !StillWrapped(first, *a) || !StillWrapped(second, *b)) {
        return;
    }
    world.CollidePair(*a, *b);
}

bool PhysicsWorld::ShouldCollide(const PhysicsGeom& a, const PhysicsGeom& b)
{
    if (a.HasFlag(kGeomAlwaysCollide) || b.HasFlag(kGeomAlwaysCollide)) {
        return true;
    }
    const bool aSensing = a.HasFlag(kGeomSensing);
    const bool bSensing = b.HasFlag(kGeomSensing);
    if (aSensing && bSensing) {
        return true;
    }
    if (aSensing != bSensing) {
        const PhysicsGeom& other = aSensing ? b : a;
        if (!other.HasFlag(kGeomPassive)) {
            return true;
        }
    } else if (a.HasFlag(kGeomPassive) && b.HasFlag(kGeomPassive)) {
        return false;
    }
    const RigidBody* bodyA = a.GetRigidBody();
    const RigidBody* bodyB = b.GetRigidBody();
    return (bodyA && bodyA->IsEnabled()) || (bodyB && bodyB->IsEnabled());
}

bool PhysicsWorld::SendCollisionCull(PhysicsGeom& self, PhysicsGeom& other)
{
    MessageReceiver* owner = self.GetOwner();
    if (!owner) {
        return false;
    }
    dcCollisionCull message;
    message.self = &self;
    message.other = &other;
    owner->Send(message);
    return message.collide == 0;
}

bool PhysicsWorld::SendCollision(PhysicsGeom& self, PhysicsGeom& other)
{
    MessageReceiver* owner = self.GetOwner();
    if (!owner) {
        return false;
    }
    // Asked first: the handler may destroy its owner.
    const bool listens = owner->HandlesMessage(dcPhysicsForce::Identity().Id());
    dcCollision message;
    message.self = &self;
    message.other = &other;
    owner->Send(message);
    if (listens) {
        forceListeners_.push_back(owner);
    }
    return message.accept == 0;
}

// A handler may destroy either geometry of the pair under way; the handles,
// kept apart from the wrappers, then tell.
struct PhysicsWorld::Pair {
    PhysicsGeom& a;
    PhysicsGeom& b;
    dGeomID handleA;
    dGeomID handleB;
    size_t listenerBase;   // the pair's force listeners start here

    bool BothPresent() const { return StillWrapped(handleA, a) && StillWrapped(handleB, b); }
};

int32_t PhysicsWorld::CollidePair(PhysicsGeom& a, PhysicsGeom& b)
{
    const Pair pair{a, b, a.GetHandle(), b.GetHandle(), forceListeners_.size()};
    if (dGeomIsSpace(pair.handleA) || dGeomIsSpace(pair.handleB)) {
        dSpaceCollide2(pair.handleA, pair.handleB, this, &PhysicsWorld::NearCallback);
        return 0;
    }
    ContactBufferScope buffer(kMaxContactsPerPair);
    if (buffer.Size() == 0) {
        return 0;
    }
    const int32_t count =
        dCollide(pair.handleA, pair.handleB, buffer.Size(), &buffer.Points()[0].geom, sizeof(dContact));
    if (count <= 0) {
        return 0;
    }
    const bool accepted = TellCollision(pair);
    for (int32_t i = 0; accepted && i < count; ++i) {
        if (!MakeContactAt(buffer.Points()[i], pair)) {
            break;
        }
    }
    forceListeners_.resize(pair.listenerBase);
    return accepted ? count : 0;
}

// A non-sensing side is not told about a passive one.
bool PhysicsWorld::TellCollision(const Pair& pair)
{
    if (!pair.b.HasFlag(kGeomPassive) || pair.a.HasFlag(kGeomSensing)) {
        if (SendCollision(pair.a, pair.b) || !pair.BothPresent()) {
            return false;
        }
    }
    if (!pair.a.HasFlag(kGeomPassive) || pair.b.HasFlag(kGeomSensing)) {
        if (SendCollision(pair.b, pair.a) || !pair.BothPresent()) {
            return false;
        }
    }
    return true;
}

// Asks both sides about the point, writing their answers into it, and makes
// its contact joint. False when no later point of the pair may follow.
bool PhysicsWorld::MakeContactAt(dContact& d, const Pair& pair)
{
    const dcContact p = TellPoint(d, pair.a, pair.b, 1.0f);
    if (!pair.BothPresent()) {
        return false;
    }
    if (!p.accept) {
        return p.continueContacts != 0;
    }
    const dcContact q = TellPoint(d, pair.b, pair.a, -1.0f);
    if (!pair.BothPresent()) {
        return false;
    }
    if (!q.accept) {
        return q.continueContacts != 0;
    }

    RigidBody* bodyA = Present(p.selfBody);
    RigidBody* bodyB = Present(q.selfBody);
    ChooseBodies(pair.a.HasFlag(kGeomPassive) || p.oneSided, pair.b.HasFlag(kGeomPassive) || q.oneSided,
                 p.spareSelf == 1, q.spareSelf == 1, bodyA, bodyB);
    // Neither body left, or a body touching itself.
    if (bodyA == bodyB) {
        return true;
    }
    MakeSurface(d, p, q);
    AddContact(d, bodyA, bodyB, pair);
    return true;
}

RigidBody* PhysicsWorld::Present(RigidBody* body) const
{
    const bool destroyed = std::find(destroyedBodies_.begin(), destroyedBodies_.end(), body) != destroyedBodies_.end();
    return destroyed ? nullptr : body;
}

void PhysicsWorld::MakeSurface(dContact& contact, const dcContact& p, const dcContact& q)
{
    dSurfaceParameters& surface = contact.surface;
    surface = dSurfaceParameters{};
    surface.mu = p.friction * q.friction;
    const Vec3* direction = !IsZero(p.frictionDirection) ? &p.frictionDirection
                            : !IsZero(q.frictionDirection) ? &q.frictionDirection
                                                           : nullptr;
    if (direction) {
        VecToOde(*direction, contact.fdir1);
        surface.mode = dContactFDir1;
    }
    MergeSummed(surface, surface.slip1, p.slip1, q.slip1, dContactSlip1);
    MergeSummed(surface, surface.slip2, p.slip2, q.slip2, dContactSlip2);
    MergeSummed(surface, surface.soft_erp, p.softErp, q.softErp, dContactSoftERP);
    MergeSummed(surface, surface.soft_cfm, p.softCfm, q.softCfm, dContactSoftCFM);
    MergeSummed(surface, surface.bounce, p.bounce, q.bounce, dContactBounce);
    if (surface.mode & dContactBounce) {
        surface.bounce_vel = p.bounceVelocity * q.bounceVelocity;
    }
}

void PhysicsWorld::AddContact(dContact& contact, RigidBody* a, RigidBody* b, const Pair& pair)
{
    if (contactsUsed_ >= kContactRecords) {
        return;
    }
    dJointID joint = dJointCreateContact(world_, jointGroup_, &contact);
    const std::span<MessageReceiver* const> listeners(forceListeners_.data() + pair.listenerBase,
                                                     forceListeners_.size() - pair.listenerBase);
    contacts_[contactsUsed_].Fill(joint, a, b, &pair.a, &pair.b, listeners);
    ++contactsUsed_;
}

void PhysicsWorld::RemoveBody(const RigidBody& body)
{
    for (int32_t i = 0; i < contactsUsed_; ++i) {
        ContactJoint& contact = contacts_[i];
        if (contact.GetFirstBody() == &body || contact.GetSecondBody() == &body) {
            contact.ForgetListeners();
        }
    }
    if (passDepth_ > 0) {
        destroyedBodies_.push_back(&body);
    }
}

void PhysicsWorld::Step(float dt)
{
    stepLength_ = dt;
    // A paused game steps by zero, which the solver cannot divide by.
    if (dt > 0.0f) {
        dWorldQuickStep(world_, dt);
        ReportForces(dt);
    }
    for (int32_t i = 0; i < contactsUsed_; ++i) {
        contacts_[i].Clear();
    }
    contactsUsed_ = 0;
    dJointGroupEmpty(jointGroup_);
}

// A listener's handler may destroy bodies and geometries, which empties
// the lists of their contacts, so each list is read afresh at every step.
void PhysicsWorld::ReportForces(float dt)
{
    for (int32_t i = 0; i < contactsUsed_; ++i) {
        ContactJoint& contact = contacts_[i];
        const std::vector<MessageReceiver*>& listeners = contact.GetForceListeners();
        for (size_t j = 0; j < listeners.size(); ++j) {
            const dJointFeedback& feedback = contact.GetFeedback();
            dcPhysicsForce message;
            message.contact = &contact;
            message.stepLength = dt;
            message.force1 = VecFromOde(feedback.f1);
            message.torque1 = VecFromOde(feedback.t1);
            message.force2 = VecFromOde(feedback.f2);
            message.torque2 = VecFromOde(feedback.t2);
            listeners[j]->Send(message);
        }
    }
}
