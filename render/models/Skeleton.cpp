#include "render/models/Skeleton.h"

#include "engine/files/ArchiveList.h"
#include "engine/files/Stream.h"
#include "render/models/ModelMath.h"

#include <algorithm>

namespace {

Bone* FindBoneBelow(Bone& bone, const WideString& upperName)
{
    WideString name = bone.name;
    WideStringToUpper(name);
    if (name == upperName) {
        return &bone;
    }
    for (Bone& child : bone.children) {
        if (Bone* found = FindBoneBelow(child, upperName)) {
            return found;
        }
    }
    return nullptr;
}

} // namespace

Skeleton::Skeleton(const WideString& fileName, Model* skinnedModel) : skinnedModel_(skinnedModel)
{
    std::fill(std::begin(paletteIds_), std::end(paletteIds_), -1);
    if (skinnedModel_ != nullptr) {
        BindWorldArray(*skinnedModel_);
    }
    std::unique_ptr<Stream> in = OpenFile(fileName);
    SkeletonFile file;
    if (!ReadSkeletonFile(*in, file)) {
        return;
    }
    topLevelBones_ = std::move(file.topLevelBones);
    rootBone_ = FindRootBone(topLevelBones_);
    boneMatrices_.assign(file.boneCount, Matrix44{});
    rootMotion_ = true;
}

Skeleton::~Skeleton() = default;

Bone* Skeleton::FindBone(const WideString& name)
{
    if (rootBone_ == nullptr) {
        return nullptr;
    }
    WideString upperName = name;
    WideStringToUpper(upperName);
    return FindBoneBelow(*rootBone_, upperName);
}

void Skeleton::TransformByBone(const Bone* bone, Vec3& point, Vec3& direction) const
{
    if (bone == nullptr) {
        return;
    }
    point = Vec3::TransformPoint(point, boneMatrices_[bone->index]);
    direction = Vec3::TransformDirection(direction, boneMatrices_[bone->index]);
}

void Skeleton::TransformPointByBone(const Bone* bone, Vec3& point) const
{
    if (bone != nullptr) {
        point = Vec3::TransformPoint(point, boneMatrices_[bone->index]);
    }
}

void Skeleton::BodyPoseFromMatrix(const Bone& bone, const Matrix44& m, Vec3& position, Quaternion& rotation)
{
    position = Vec3::TransformPoint(bone.bindCentre, m);
    rotation = Quaternion::FromMatrix(Matrix44::Multiply(bone.bindFrame, m));
}

void Skeleton::BuildSkinMatrices()
{
    if (rootBone_ != nullptr) {
        SkinBoneTree(*rootBone_);
    }
}

// The skinning rotation undoes the bind frame first, then applies the
// current body rotation, so a vertex keeps its place relative to its bone.
// Children go before their parent.
void Skeleton::SkinBoneTree(Bone& bone)
{
    for (Bone& child : bone.children) {
        SkinBoneTree(child);
    }
    Matrix44& m = boneMatrices_[bone.index];
    const Vec3 position = m.GetRow(3);
    const Quaternion rotation = Quaternion::FromMatrix(m);
    const Quaternion skin = Quaternion::Multiply(Quaternion::Conjugate(bone.bindRotation), rotation);
    Quaternion::ToMatrix(skin, m);
    m.SetRow(3, position - Vec3::TransformDirection(bone.bindCentre, m));
    m.m[3][3] = 1.0f;
}
