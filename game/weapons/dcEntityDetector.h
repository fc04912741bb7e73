#pragma once
// A mission's watch volume: a sphere that follows an entity (or stays where
// it was put) and, every step, tests each watched entity's geometry against
// itself. Each change between inside and outside goes to the notify id as
// dcVolumeEnter or dcVolumeLeave; as every state starts undecided, the first
// step reports each watched entity once. The sphere takes no part in the
// world's collision pass: the detector tests its pairs itself.
//
// When the followed entity stops answering, the detector releases itself or,
// if it is not to die with it, stays where it last was. A watched entity that
// is gone is dropped without a report.

#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/math/Vec3.h"
#include "engine/physics/SphereGeom.h"
#include "game/weapons/TargetMessage.h"
#include "game/world/GameMessages.h"

#include <cstdint>
#include <vector>

class dcEntityDetector : public MessageReceiver {
    DC_RECEIVER(dcEntityDetector, MessageReceiver)
public:
    static constexpr int32_t kUndecided = -1;
    static constexpr int32_t kOutside = 0;
    static constexpr int32_t kInside = 1;

    struct WatchedEntity {
        int32_t entityId;
        int32_t state;   // kUndecided, kOutside or kInside
    };

    // followedId 0: the volume stays at the offset, in world space. The
    // creator then sets the notify id and adds the detector to its scene.
    dcEntityDetector(int32_t followedId, const Vec3& offset, float radius, bool diesWithEntity,
                     const std::vector<int32_t>& watchedIds);
    ~dcEntityDetector() override;

    void SetNotifyId(int32_t id) { notifyId_ = id; }
    int32_t GetFollowedId() const { return followedId_; }
    const std::vector<WatchedEntity>& GetWatched() const { return watched_; }
    SphereGeom& GetSphere() { return sphere_; }

protected:
    virtual void OnOrientation(const dcOrientation& message);
    // A way point that cannot be destroyed.
    virtual void OnTargetMessage(const dcTargetMessage& message);
    virtual void OnGetGeometry(const dcGetGeometry& message);
    virtual void OnUpdate(const dcUpdate& message);

private:
    // The sphere moved with the followed entity; false when it did not answer.
    bool FollowEntity(Scene& scene);
    // False when the detector was destroyed meanwhile, as destroyed tells.
    bool TestWatched(Scene& scene, const bool& destroyed);
    void Notify(Scene& scene, int32_t state, int32_t entityId);

    SphereGeom sphere_;
    Vec3 offset_;
    int32_t followedId_;
    bool diesWithEntity_;
    std::vector<WatchedEntity> watched_;
    int32_t notifyId_ = 0;
    // While an update sends messages, whose handlers may destroy the
    // detector: set by the destructor.
    bool* destroyedFlag_ = nullptr;
};
// handlers: dcOrientation -> OnOrientation, dcTargetMessage -> OnTargetMessage, dcGetGeometry -> OnGetGeometry,
//           dcUpdate -> OnUpdate
