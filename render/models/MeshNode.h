#pragma once
// A named placement of one mesh part. Model instances copy their mesh's
// nodes, so each instance can move, hide or detach its own.

#include "engine/files/WideString.h"
#include "engine/math/BoundingBox.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"

#include <cstdint>

struct MeshNode {
    WideString name;
    Vec3 position;
    Quaternion rotation;
    Vec3 thirdVector;        // stored and copied only
    WideString secondName;   // stored and copied only
    Vec3 userVector;         // the fields kept for the node's users
    int32_t userValue = 0;
    BoundingBox worldBounds;   // the part's bounds carried by the node's rotation and position
    int32_t userFlags = 0;
    int32_t partIndex = 0;
    bool hidden = false;
    // Set: the node is placed in the space of the matrix the model is drawn
    // with. Clear: its position and rotation are already in world space.
    bool attached = true;
    int32_t userTag = 0;

    // The node's rotation with its position as translation row.
    Matrix44 GetTransform() const;
};
