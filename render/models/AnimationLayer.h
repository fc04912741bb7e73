#pragma once
// The animation state a skeleton keeps: its attached animations with their
// track-to-bone maps, and the layers that play them.

#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"
#include "render/models/Animation.h"
#include "render/models/Bone.h"

#include <cstdint>
#include <vector>

struct AttachedAnimation {
    const Animation* animation = nullptr;   // not owned
    std::vector<const Bone*> trackBones;    // per track: the bone it moves, or none
    std::vector<int32_t> boneTracks;        // per bone index: the first track moving it, or -1
};

// One bone's pose in one layer: sampled in its parent's space, then turned
// into the bone's body pose in model space.
struct BoneSample {
    Vec3 position;
    Quaternion rotation;
    Matrix44 matrix;
};

// One playing animation.
struct AnimationLayer {
    int32_t keyIndex = 0;
    float loopTime = 0.0f;      // since the current loop began
    float keyTime = 0.0f;       // into the current key
    float loopCounter = 0.0f;   // loops completed
    Vec3 loopDisplacement;      // how far one loop moves the root
    Vec3 rootPosition;          // sampled this frame, plus the loops completed
    Vec3 previousRootPosition;
    int32_t loopsLeft = -1;     // -1 endless; 0 finished, resting on the last key
    const AttachedAnimation* animation = nullptr;
    std::vector<BoneSample> samples;   // one per bone
    bool fadeOutAtEnd = false;
    bool fixedWeight = false;   // a held pose: fading leaves the weight alone
    float fadeInRemaining = 0.0f;
    float fadeInTime = 0.0f;
    float fadeOutRemaining = 0.0f;
    float fadeOutTime = 0.0f;
    float weight = 0.0f;
    float speed = 1.0f;
};

// One fixed pose of a pose blend.
struct PoseBlendEntry {
    const Animation* animation;
    float time;
    float weight;
};
