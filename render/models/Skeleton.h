#pragma once
// The bone tree of one skinned figure: bone matrices, the conversions between
// them and the body poses animations are blended in, and the animation layers
// that drive them. The skinned model it was made for receives the matrices
// when drawn. Body pose: the position of a bone's centre and the bone's
// rotation, both in model space.

#include "engine/files/WideString.h"
#include "engine/math/Matrix44.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"
#include "render/models/AnimationLayer.h"
#include "render/models/Bone.h"
#include "render/models/SkeletonFile.h"

#include <cstdint>
#include <memory>
#include <vector>

class Animation;
class Model;

class Skeleton {
public:
    // The model may be none. A file that is refused leaves a skeleton
    // without bones: it draws, but never animates.
    Skeleton(const WideString& fileName, Model* skinnedModel);
    ~Skeleton();
    Skeleton(const Skeleton&) = delete;
    Skeleton& operator=(const Skeleton&) = delete;

    // Depth first below the root bone only, names compared upper-cased.
    Bone* FindBone(const WideString& name);
    // By the bone's matrix: the point as a point, the direction through the
    // rotation rows. Nothing without a bone.
    void TransformByBone(const Bone* bone, Vec3& point, Vec3& direction) const;
    void TransformPointByBone(const Bone* bone, Vec3& point) const;

    // The body pose a bone takes when its bind pose is carried through m.
    static void BodyPoseFromMatrix(const Bone& bone, const Matrix44& m, Vec3& position, Quaternion& rotation);
    // Turns the body poses in the root tree's bone matrices into skinning
    // matrices, which carry each bone's bind pose onto its current pose.
    void BuildSkinMatrices();

    // Draws the skinned model with the bone matrices carried by the world matrix.
    void Render(const Matrix44& world, int32_t pass, int32_t detail);

    // Animation layers. Animations are attached once and stay the owner's.
    void AddAnimation(const Animation* animation);
    // Usually start 0, loops -1 (endless), fade 0.25 s, speed 1.
    void PlayAnimation(const Animation* animation, float startTime, int32_t loops, float fadeTime, float speed);
    // One loop that fades out as it ends.
    void PlayAnimationOnce(const Animation* animation, float fadeInTime, float fadeOutTime, float speed);
    // Replaces every layer by fixed poses.
    void SetPoseBlend(const std::vector<PoseBlendEntry>& poses);
    // Advances, fades, drops, samples and blends the layers; once per frame.
    void Update(float dt);
    // The root's movement in the last update; the next update measures from here.
    Vec3 ConsumeRootOffset();
    bool IsAnimating() const;
    const Animation* GetTopAnimation() const;
    float GetTopAnimationTime() const;

    int32_t GetBoneCount() const { return static_cast<int32_t>(boneMatrices_.size()); }
    const Matrix44& GetBoneMatrix(int32_t index) const { return boneMatrices_[index]; }
    const std::vector<Matrix44>& GetBoneMatrices() const { return boneMatrices_; }
    Bone* GetRootBone() const { return rootBone_; }
    const std::vector<Bone>& GetTopLevelBones() const { return topLevelBones_; }
    const std::vector<AnimationLayer>& GetLayers() const { return layers_; }
    Model* GetSkinnedModel() const { return skinnedModel_; }
    const int32_t* GetPaletteIds() const { return paletteIds_; }
    // Figures that do not move by their animation (pedestrians) turn it off.
    void SetRootMotion(bool on) { rootMotion_ = on; }
    bool HasRootMotion() const { return rootMotion_; }
    void SetOrientation(const Quaternion& orientation) { orientation_ = orientation; }
    const Quaternion& GetOrientation() const { return orientation_; }

private:
    void BindWorldArray(Model& model);
    void SkinBoneTree(Bone& bone);
    const AttachedAnimation* FindAttached(const Animation* animation) const;
    AnimationLayer& AppendLayer(const AttachedAnimation& attached);
    void SetRootTrackValues(AnimationLayer& layer) const;
    void DropCoveredLayers();
    int32_t TrackOfBone(const AnimationLayer& layer, const Bone& bone) const;
    void SampleBone(AnimationLayer& layer, const Bone& bone, const Matrix44& parent) const;
    void SampleRoot(AnimationLayer& layer) const;
    void BlendLayers();

    Model* skinnedModel_ = nullptr;
    int32_t paletteIds_[kMaxBones];
    std::vector<Bone> topLevelBones_;
    std::vector<Matrix44> boneMatrices_;
    Bone* rootBone_ = nullptr;
    std::vector<std::unique_ptr<AttachedAnimation>> attached_;
    std::vector<AnimationLayer> layers_;   // oldest first
    Vec3 rootOffset_;
    Quaternion orientation_;
    bool rootMotion_ = false;
};
