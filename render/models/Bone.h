#pragma once
// One node of a skeleton's bone tree, with its bind pose in model space.

#include "engine/files/WideString.h"
#include "engine/math/BoundingBox.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"

#include <cstdint>
#include <vector>

struct Bone {
    WideString name;
    int32_t index = 0;   // the bone's slot in the bone matrices and in every layer's samples
    Vec3 head;
    Vec3 tail;
    Vec3 thirdPoint;     // stored only
    Vec3 offset;         // head - the parent's tail; zero for a top-level bone
    std::vector<Bone> children;
    BoundingBox bodyBox;   // all zero when the file carries none

    // The bind pose, fixed at load: the frame whose forward axis runs from
    // head to tail (no translation), its quaternion, and the centre of the
    // bone's body in model space.
    Matrix44 bindFrame;
    Quaternion bindRotation;
    Vec3 bindCentre;

    // Fills the bind pose from head, tail and body box.
    void ComputeBindPose();
};
