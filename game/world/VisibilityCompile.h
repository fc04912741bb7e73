#pragma once
// What the offline visibility compile keeps while it runs: one record per
// entity that can hide or be hidden, and one occlusion query per candidate
// drawn from a block's corner.

#include "engine/math/BoundingBox.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Vec3.h"
#include "render/device/OcclusionQuery.h"

#include <cstdint>
#include <deque>
#include <vector>

class Camera;
class MessageReceiver;
class PhysicsGeom;
class VideoDevice;
class VisibilityManager;

// An entity's answer to dcOcclusionData, with what the compile derives from it.
struct OccluderRecord {
    MessageReceiver* entity = nullptr;
    Vec3 boxCentre;        // in the entity's own coordinates
    Vec3 boxHalfExtents;
    Vec3 worldCentre;      // the box centre moved by the world matrix
    float radius = 0.0f;   // of the sphere around the box
    Matrix44 world;
    float distanceFactor = 0.0f;

    // Whether a camera can see it: near enough (distance factor x far
    // distance + radius) and its box inside the frustum.
    bool IsInView(const Camera& camera) const;
};

// One query of the compile: when the device reports that some pixel of the
// entity passed the depth test, the entity is listed in the block once.
// It hands its hardware query back when the answer comes, or when it goes.
struct VisibilityQuery : OcclusionQuery {
    VisibilityQuery(VisibilityManager& manager, int32_t block, MessageReceiver* entity)
        : manager(manager), block(block), entity(entity)
    {
    }
    ~VisibilityQuery() override;

    void OnResult(bool occluded) override;

    VisibilityManager& manager;
    int32_t block;
    MessageReceiver* entity;
    bool done = false;
};

// One run of the compile.
struct CompileRun {
    VideoDevice* video = nullptr;     // none: no views are drawn
    PhysicsGeom* ground = nullptr;    // the world's triangle mesh
    std::vector<OccluderRecord> records;
    std::vector<OccluderRecord> candidates;   // of the block being compiled
    // The block's queries. A deque: the device holds their addresses while
    // they are pending, so adding one must never move the others.
    std::deque<VisibilityQuery> queries;
};
