#pragma once
// A fixed prop of the world: a mesh placed in the city. It only answers
// the visibility system: seen by the camera, it queues its mesh ranges with
// the world renderer (and so needs no dcRender); asked by the visibility
// compile, it tells its box and draws itself for the occlusion queries.

#include "engine/core/MessageReceiver.h"
#include "engine/files/WideString.h"
#include "engine/math/BoundingBox.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"
#include "game/world/GameMessages.h"
#include "game/world/OcclusionMessages.h"

struct ObjectMesh;

class dcWorldObject : public MessageReceiver {
    DC_RECEIVER(dcWorldObject, MessageReceiver)
public:
    static constexpr float kDistanceFactor = 1.0f;   // seen as far as the camera sees

    dcWorldObject();

    // The pose; a loose object's follows its body.
    virtual Vec3 GetPosition() const { return position; }
    virtual Quaternion GetOrientation() const { return rotation; }
    virtual void SetPosition(const Vec3& at) { position = at; }
    virtual void SetOrientation(const Quaternion& turn) { rotation = turn; }
    // Seconds since its leaves began to fall; 0 while they hang.
    virtual float GetFallTime() const { return 0.0f; }
    // The current pose as a world matrix.
    Matrix44 GetCurrentTransform() const;
    // The transform and the world box from the current pose.
    void UpdatePlacement();

    // The name from the file; for a road piece ("ROAD_...") the road's name.
    WideString name;
    Vec3 position;
    Quaternion rotation;
    Matrix44 transform = kIdentityMatrix;
    const ObjectMesh* mesh = nullptr;   // the World's
    BoundingBox worldBox;               // the mesh box moved by the pose
    bool hidden = false;                // never drawn, never collides
    bool leftBehind = false;            // a moved object out of the camera's reach

protected:
    // handlers: dcOcclusionData -> OnOcclusionData, dcVisTest -> OnVisTest,
    // dcOcclusionRender -> OnOcclusionRender
    virtual void OnOcclusionData(const dcOcclusionData& message);
    virtual void OnVisTest(const dcVisTest& message);
    virtual void OnOcclusionRender(const dcOcclusionRender& message);

    // The frustum test of the box, and on success the ranges queued and the
    // test answered; whether it was seen.
    bool QueueIfSeen(const dcVisTest& message, const BoundingBox& box);
    void FillOcclusionData(const dcOcclusionData& message, float distanceFactor) const;
};
