#pragma once
// A prop of the world: a mesh placed in the city. What the world renderer
// reads of it: its mesh, its current pose and box, and how long its leaves
// have been falling (never, for a fixed prop).

#include "engine/core/MessageReceiver.h"
#include "engine/files/WideString.h"
#include "engine/math/BoundingBox.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"

struct ObjectMesh;

class dcWorldObject : public MessageReceiver {
    DC_RECEIVER(dcWorldObject, MessageReceiver)
public:
    dcWorldObject() = default;

    // Where the object is now: a loose object follows its body.
    virtual Vec3 GetCurrentPosition() const { return position; }
    virtual Quaternion GetCurrentOrientation() const { return rotation; }
    // Seconds since its leaves began to fall; 0 while they hang.
    virtual float GetFallTime() const { return 0.0f; }
    // The current pose as a world matrix.
    Matrix44 GetCurrentTransform() const;

    WideString name;
    Vec3 position;
    Quaternion rotation;
    const ObjectMesh* mesh = nullptr;   // the World's
    BoundingBox worldBox;               // the mesh box moved by the pose
    bool hidden = false;
};
