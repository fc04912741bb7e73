#include "render/models/SkeletonFile.h"

#include "engine/files/Stream.h"
#include "render/models/ModelFileReading.h"

#include <algorithm>

namespace {

constexpr int32_t kSkeletonKind = 4;
constexpr int32_t kOldestVersion = 1;
constexpr int32_t kNewestVersion = 4;

// The fewest bytes a bone block of this version takes: name, the stored
// points, index and body box, child count.
int32_t MinimumBoneBytes(int32_t version)
{
    int32_t bytes = 4 + 4;
    if (version >= 2) {
        bytes += 24 + 4;
    }
    if (version >= 3) {
        bytes += 12;
    }
    if (version >= 4) {
        bytes += 24;
    }
    return bytes;
}

class BoneTreeReader {
public:
    BoneTreeReader(Stream& in, int32_t version) : in_(in), version_(version) {}

    bool ReadBone(Bone& bone, const Bone* parent);
    int32_t BonesRead() const { return bonesRead_; }

private:
    Stream& in_;
    int32_t version_;
    int32_t bonesRead_ = 0;
};

// Counting bones as they are read bounds the nesting depth as well, so a
// damaged file cannot recurse deeper than the palette is long.
bool BoneTreeReader::ReadBone(Bone& bone, const Bone* parent)
{
    if (++bonesRead_ > kMaxBones) {
        return false;
    }
    bone.name = in_.ReadText();
    if (version_ >= 2) {
        bone.head = ReadVec3(in_);
        bone.tail = ReadVec3(in_);
        if (version_ >= 3) {
            bone.thirdPoint = ReadVec3(in_);
        }
        bone.index = in_.ReadInt32();
        if (version_ >= 4) {
            bone.bodyBox.centre = ReadVec3(in_);
            bone.bodyBox.halfExtents = ReadVec3(in_);
        }
    } else {
        bone.index = bonesRead_ - 1;
    }
    if (parent != nullptr) {
        bone.offset = bone.head - parent->tail;
    }
    bone.ComputeBindPose();
    bone.children.resize(in_.ReadCount(MinimumBoneBytes(version_)));
    for (Bone& child : bone.children) {
        if (!ReadBone(child, &bone)) {
            return false;
        }
    }
    return !in_.HasErrors();
}

void CollectIndices(const std::vector<Bone>& bones, std::vector<int32_t>& indices)
{
    for (const Bone& bone : bones) {
        indices.push_back(bone.index);
        CollectIndices(bone.children, indices);
    }
}

// Every bone needs a slot of its own among the bone matrices.
bool IndicesFillSlots(const std::vector<Bone>& topLevelBones, int32_t boneCount)
{
    std::vector<int32_t> indices;
    CollectIndices(topLevelBones, indices);
    std::sort(indices.begin(), indices.end());
    for (int32_t slot = 0; slot < boneCount; ++slot) {
        if (indices[slot] != slot) {
            return false;
        }
    }
    return true;
}

} // namespace

Bone* FindRootBone(std::vector<Bone>& topLevelBones)
{
    if (topLevelBones.empty() || topLevelBones.back().children.empty()) {
        return nullptr;
    }
    return &topLevelBones.back().children.front();
}

bool ReadSkeletonFile(Stream& in, SkeletonFile& out)
{
    int32_t version = 0;
    if (!ReadModelFileHeader(in, kSkeletonKind, L"skeleton", version)) {
        return false;
    }
    if (version < kOldestVersion || version > kNewestVersion) {
        in.ReportErrors();
        return false;
    }
    if (version >= 2) {
        in.ReadInt32();
    }
    BoneTreeReader reader(in, version);
    out.topLevelBones.resize(in.ReadCount(MinimumBoneBytes(version)));
    for (Bone& bone : out.topLevelBones) {
        if (!reader.ReadBone(bone, nullptr)) {
            in.ReportErrors();
            return false;
        }
    }
    out.boneCount = reader.BonesRead();
    // Animations move the root bone's tree; a skeleton without one cannot be sampled.
    if (in.HasErrors() || FindRootBone(out.topLevelBones) == nullptr ||
        !IndicesFillSlots(out.topLevelBones, out.boneCount)) {
        in.ReportErrors();
        return false;
    }
    return true;
}
