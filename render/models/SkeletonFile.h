#pragma once
// Reading a ".DCSK" bone tree. Every count and index is checked against the
// file and against the skinning palette, so a skeleton that loads can be
// sampled and drawn without further checks.

#include "render/models/Bone.h"

#include <cstdint>
#include <vector>

class Stream;

// The skinning palette holds this many matrices; no skeleton may have more bones.
inline constexpr int32_t kMaxBones = 100;

struct SkeletonFile {
    std::vector<Bone> topLevelBones;
    int32_t boneCount = 0;
};

// False, with one log line naming the file, when it is not a skeleton or
// holds errors; the result is then to be dropped whole.
bool ReadSkeletonFile(Stream& in, SkeletonFile& out);

// The bone the animations move: the first child of the last top-level
// bone; none when that bone has no children.
Bone* FindRootBone(std::vector<Bone>& topLevelBones);
