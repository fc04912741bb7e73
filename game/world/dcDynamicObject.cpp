#include "game/world/dcDynamicObject.h"

#include "engine/core/LogHub.h"
#include "engine/core/dcEngine.h"
#include "engine/video/VideoDevice.h"
#include "game/weapons/DamageMessages.h"
#include "game/world/DynamicObjectState.h"
#include "game/world/GameModule.h"
#include "game/world/ObjectMesh.h"
#include "game/world/WorldObjectExtension.h"
#include "game/world/dcWorldGeometry.h"
#include "render/models/Camera.h"

#include <algorithm>

namespace {

float DistanceSquared(const Vec3& a, const Vec3& b)
{
    const Vec3 d = a - b;
    return Vec3::Dot(d, d);
}

// The box grown by the ground a lamp lights around and below it.
BoundingBox LitBox(const BoundingBox& box)
{
    Vec3 low = box.centre - box.halfExtents;
    Vec3 high = box.centre + box.halfExtents;
    low.x -= dcDynamicObject::kLitReachSideways;
    low.z -= dcDynamicObject::kLitReachSideways;
    high.x += dcDynamicObject::kLitReachSideways;
    high.z += dcDynamicObject::kLitReachSideways;
    low.y -= dcDynamicObject::kLitReachDown;
    return {(low + high) * 0.5f, (high - low) * 0.5f};
}

} // namespace

dcDynamicObject::dcDynamicObject()
{
    Handles<dcGameReset, &dcDynamicObject::OnGameReset>();
    Handles<dcOcclusionData, &dcDynamicObject::OnOcclusionData>();
    Handles<dcVisTest, &dcDynamicObject::OnVisTest>();
    Handles<dcOcclusionRender, &dcDynamicObject::OnOcclusionRender>();
    Handles<dcCollisionCull, &dcDynamicObject::OnCollisionCull>();
    Handles<dcCollision, &dcDynamicObject::OnCollision>();
    Handles<dcContact, &dcDynamicObject::OnContact>();
}

// The body goes before the box (members in reverse order), and takes the
// box off itself; the box then leaves the space it is in.
dcDynamicObject::~dcDynamicObject()
{
    std::erase(ActiveDynamicObjects(), this);
}

void dcDynamicObject::AddExtension(WorldObjectExtension* extension)
{
    if (!extensions) {
        extensions = extension;
    } else if (extensions->PassesOn()) {
        extensions->Append(extension);
    } else if (extension->PassesOn()) {
        extension->Append(extensions);
        extensions = extension;
    } else {
        LogHub::PrintVerbose("Extension loop not possible!!");
    }
}

Vec3 dcDynamicObject::GetPosition() const
{
    return body ? body->GetPosition() : position;
}

Quaternion dcDynamicObject::GetOrientation() const
{
    return body ? body->GetOrientation() : rotation;
}

void dcDynamicObject::SetPosition(const Vec3& at)
{
    if (body) {
        body->SetPosition(at);
    } else {
        position = at;
    }
}

void dcDynamicObject::SetOrientation(const Quaternion& turn)
{
    if (body) {
        body->SetOrientation(turn);
    } else {
        rotation = turn;
    }
}

void dcDynamicObject::PlaceBox()
{
    const Vec3 centre = mesh ? mesh->box.centre : kZeroVector;
    box.SetPosition(Vec3::TransformPoint(centre, transform));
    box.SetOrientation(rotation);
}

bool dcDynamicObject::DetailShown()
{
    const VideoDevice* video = dcEngine::Instance().GetVideoDevice();
    return video && video->HasCapability(kCapabilityHardwareVertexShaders) && DetailOption != 0;
}

void dcDynamicObject::OnVisTest(const dcVisTest& message)
{
    visible = TestVisible(message);
    message.visible = visible ? 1 : 0;
}

bool dcDynamicObject::TestVisible(const dcVisTest& message)
{
    if (detailOnly && !DetailShown()) {
        return false;
    }
    if (behaviour == kBehaviourStill) {
        dcWorldObject::OnVisTest(message);
        return message.visible != 0;
    }
    if (hidden || leftBehind || !QueueIfSeen(message, lit ? LitBox(worldBox) : worldBox)) {
        return false;
    }
    if (extensions) {
        extensions->CallOnVisible();
    }
    return true;
}

void dcDynamicObject::OnOcclusionData(const dcOcclusionData& message)
{
    FillOcclusionData(message, behaviour == kBehaviourStill ? dcWorldObject::kDistanceFactor : kDistanceFactor);
}

// A prop that can move does not occlude by its mesh: it may not be where
// the compile saw it.
void dcDynamicObject::OnOcclusionRender(const dcOcclusionRender& message)
{
    if (behaviour == kBehaviourStill) {
        dcWorldObject::OnOcclusionRender(message);
    }
}

void dcDynamicObject::OnCollisionCull(const dcCollisionCull& message)
{
    message.collide = hidden ? 0 : 1;
}

void dcDynamicObject::OnContact(const dcContact&) {}

// The contacts are made as usual in every case.
void dcDynamicObject::OnCollision(const dcCollision& message)
{
    switch (behaviour) {
    case kBehaviourDeadly:
        if (MessageReceiver* victim = message.other ? message.other->GetOwner() : nullptr) {
            victim->Send(ForcedKillDamage());
        }
        break;
    case kBehaviourLeaves:
        StartFalling();
        break;
    case kBehaviourLoose:
    case kBehaviourLooseAlone:
        if (!body && message.other && (message.other->GetCategoryBits() & kKnockingCategories) != 0) {
            KnockLoose();
        }
        break;
    default:
        break;
    }
}

void dcDynamicObject::StartFalling()
{
    if (fallTime == 0.0f) {
        fallTime = 0.0001f;
        ActiveDynamicObjects().push_back(this);
    }
}

void dcDynamicObject::KnockLoose()
{
    GameModule* game = GameModule::Get();
    if (!game) {
        return;
    }
    if (extensions) {
        extensions->CallOnHit(position);
    }
    World& world = game->GetWorld();
    PhysicsWorld& physics = world.GetPhysics();
    body = TakePooledBody(physics);
    body->AttachGeom(&box);
    body->SetMass(kLooseMass);
    body->SetOrientation(rotation);
    body->SetPosition(position);
    const Vec3 half = mesh ? mesh->box.halfExtents : kZeroVector;
    body->SetBoxInertia({std::max(kLeastInertiaHalfExtent, half.x), std::max(kLeastInertiaHalfExtent, half.y),
                         std::max(kLeastInertiaHalfExtent, half.z)});
    body->Enable();
    restTime = 0.0f;
    ActiveDynamicObjects().push_back(this);
    // The box's own dcCollision from this test finds it with a body and is
    // ignored; the neighbours it touches hear of it and may come loose too.
    int32_t& depth = KnockLooseDepth();
    if (depth < kCascadeLimit && DynamicObjectSpace()) {
        ++depth;
        PhysicsWorld::TestPair(&physics, box, *DynamicObjectSpace());
        --depth;
    }
    world.GetVisibility().AddMovingEntity(this);
}

bool dcDynamicObject::UpdateActive(float dt, const Camera& camera)
{
    if (behaviour == kBehaviourLeaves) {
        fallTime += dt;
        return true;
    }
    if (body && body->IsEnabled()) {
        UpdatePlacement();
        Settle(dt);
    }
    const float reach = kReachFactor * Reach(camera);
    const float reachSquared = reach * reach;
    if (!hidden && DistanceSquared(camera.GetPosition(), worldBox.centre) > reachSquared) {
        leftBehind = true;
        if (body) {
            body->Disable();
        }
    }
    if (leftBehind && DistanceSquared(camera.GetPosition(), position) > reachSquared) {
        Reset();
        return false;
    }
    return true;
}

// The props share a space of their own, which the physics world's pass
// meets only with cars, characters, bullets and explosions: a loose prop
// is collided with the other props (unless it moves alone) and with the
// city's ground here, so that it can land and come to rest.
void dcDynamicObject::Settle(float dt)
{
    GameModule* game = GameModule::Get();
    if (game) {
        PhysicsWorld& physics = game->GetWorld().GetPhysics();
        if (behaviour != kBehaviourLooseAlone && DynamicObjectSpace()) {
            PhysicsWorld::TestPair(&physics, box, *DynamicObjectSpace());
        }
        dcWorldGeometry& ground = game->GetWorld().GetGeometry();
        if (ground.GetWorld() && body) {
            PhysicsWorld::TestPair(&physics, box, ground);
        }
    }
    if (!body) {
        return;
    }
    const Vec3 velocity = body->GetLinearVelocity();
    if (Vec3::Dot(velocity, velocity) >= kRestSpeedSquared) {
        restTime = 0.0f;
        return;
    }
    restTime += dt;
    if (restTime > kRestSeconds) {
        body->Disable();
        restTime = 0.0f;
    }
}

float dcDynamicObject::Reach(const Camera& camera) const
{
    const int32_t sizeClass = mesh ? mesh->sizeClass : 0;
    if (sizeClass <= 0 || sizeClass > Camera::kLodLevels) {
        return camera.GetFarPlane();
    }
    return camera.GetLodDistance(sizeClass - 1);
}

void dcDynamicObject::Reset()
{
    if (body) {
        body->AttachGeom(nullptr);
        body->Disable();
        RigidBodyPool().push_back(std::move(body));
    }
    UpdatePlacement();
    PlaceBox();
    if (GameModule* game = GameModule::Get()) {
        game->GetWorld().GetVisibility().RemoveMovingEntity(this);
    }
    leftBehind = false;
    fallTime = 0.0f;
}

void dcDynamicObject::OnGameReset(const dcGameReset&)
{
    Reset();
}
