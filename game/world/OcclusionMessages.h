#pragma once
// How an entity takes part in the offline visibility compile: it tells the
// box it fills and how far it can be seen, and draws itself into the
// compile's depth and query passes. Entities that answer it (world objects,
// pedestrians) are placed in the visibility grid by the loader and the
// cache, never by the scene.

#include "engine/core/FixedLayout.h"
#include "engine/core/Message.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Vec3.h"

#include <cstdint>

class Camera;

// Sent with a zero box and the identity matrix; filled by the receiver.
struct dcOcclusionData {
    DC_LOCAL_MESSAGE(dcOcclusionData)
    mutable Vec3 boxCentre;          // in the entity's own coordinates
    mutable Vec3 boxHalfExtents;
    mutable Matrix44 world;          // the entity's pose
    // A candidate only within (factor x camera far distance + box radius) of a camera.
    mutable float distanceFactor = 0.0f;
};
DC_FIXED_LAYOUT(dcOcclusionData, 92);

// Draw yourself with the compile camera's matrices: pass 0 fills the depth,
// pass 1 is drawn inside an occlusion query.
struct dcOcclusionRender {
    DC_LOCAL_MESSAGE(dcOcclusionRender)
    const Camera* camera;
    int32_t pass;
    int32_t passBit;   // 1 << pass
};
