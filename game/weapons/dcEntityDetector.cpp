#include "game/weapons/dcEntityDetector.h"

#include "engine/core/Scene.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "engine/physics/PhysicsWorld.h"
#include "game/weapons/SensorGeometry.h"
#include "game/weapons/VolumeMessages.h"

dcEntityDetector::dcEntityDetector(int32_t followedId, const Vec3& offset, float radius, bool diesWithEntity,
                                   const std::vector<int32_t>& watchedIds)
    : sphere_(radius)
    , offset_(offset)
    , followedId_(followedId)
    , diesWithEntity_(diesWithEntity)
{
    Handles<dcOrientation, &dcEntityDetector::OnOrientation>();
    Handles<dcTargetMessage, &dcEntityDetector::OnTargetMessage>();
    Handles<dcGetGeometry, &dcEntityDetector::OnGetGeometry>();
    Handles<dcUpdate, &dcEntityDetector::OnUpdate>();
    sphere_.SetPosition(offset);
    MakeSensor(sphere_);
    sphere_.Disable();
    AddToGamePhysics(sphere_);
    watched_.reserve(watchedIds.size());
    for (int32_t id : watchedIds) {
        watched_.push_back({id, kUndecided});
    }
}

dcEntityDetector::~dcEntityDetector()
{
    if (destroyedFlag_) {
        *destroyedFlag_ = true;
    }
}

void dcEntityDetector::OnOrientation(const dcOrientation& message)
{
    message.position = sphere_.GetPosition();
}

void dcEntityDetector::OnTargetMessage(const dcTargetMessage& message)
{
    message.geometry = &sphere_;
    message.position = sphere_.GetPosition();
    message.health = 1.0f;
    message.maxHealth = 0.0f;
}

void dcEntityDetector::OnGetGeometry(const dcGetGeometry& message)
{
    message.geometry = &sphere_;
}

void dcEntityDetector::OnUpdate(const dcUpdate&)
{
    Scene* scene = GetScene();
    if (!scene) {
        return;
    }
    if (followedId_ != 0 && !FollowEntity(*scene)) {
        if (diesWithEntity_) {
            Release();
            return;
        }
        followedId_ = 0;
        return;
    }
    bool destroyed = false;
    destroyedFlag_ = &destroyed;
    if (TestWatched(*scene, destroyed)) {
        destroyedFlag_ = nullptr;
    }
}

bool dcEntityDetector::FollowEntity(Scene& scene)
{
    dcOrientation pose;
    if (SendToEntity(scene, followedId_, pose) == 0) {
        return false;
    }
    const Vec3 turned = Vec3::TransformDirection(offset_, Quaternion::ToTransform(pose.orientation));
    sphere_.SetPosition(pose.position + turned);
    return true;
}

bool dcEntityDetector::TestWatched(Scene& scene, const bool& destroyed)
{
    size_t i = 0;
    while (i < watched_.size()) {
        const int32_t entityId = watched_[i].entityId;
        dcGetGeometry query;
        const bool answered = SendToEntity(scene, entityId, query) != 0;
        if (destroyed) {
            return false;
        }
        if (!answered) {
            watched_.erase(watched_.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        // An entity without a geometry for now counts as outside, and stays watched.
        const bool touches = query.geometry && PhysicsWorld::TestPair(sphere_.GetWorld(), sphere_, *query.geometry);
        if (destroyed) {
            return false;
        }
        const int32_t state = touches ? kInside : kOutside;
        if (state != watched_[i].state) {
            watched_[i].state = state;
            Notify(scene, state, entityId);
            if (destroyed) {
                return false;
            }
        }
        ++i;
    }
    return true;
}

void dcEntityDetector::Notify(Scene& scene, int32_t state, int32_t entityId)
{
    if (state == kInside) {
        dcVolumeEnter enter{followedId_, entityId};
        SendToEntity(scene, notifyId_, enter);
    } else {
        dcVolumeLeave leave{followedId_, entityId};
        SendToEntity(scene, notifyId_, leave);
    }
}
