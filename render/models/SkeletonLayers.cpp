// The animation layers of a skeleton: starting, stepping, fading, dropping,
// sampling and blending.

#include "render/models/Skeleton.h"

#include "engine/math/Scalar.h"
#include "render/models/ModelMath.h"

#include <algorithm>

namespace {

// A layer steps at most this many keys in one update; a time so large that
// it would take more is dropped instead of stalling the frame.
constexpr int32_t kMaxKeySteps = 100000;

void CollectBones(const std::vector<Bone>& bones, std::vector<const Bone*>& out)
{
    for (const Bone& bone : bones) {
        out.push_back(&bone);
        CollectBones(bone.children, out);
    }
}

// The last key only ends the loop: reaching it either rests the layer there
// or starts the next loop. An animation of one key is a pose and never steps.
void StepKeys(AnimationLayer& layer)
{
    const Animation& animation = *layer.animation->animation;
    const int32_t keyCount = animation.GetKeyCount();
    if (keyCount < 2 || layer.loopsLeft == 0) {
        return;
    }
    for (int32_t steps = 0; layer.keyTime >= animation.GetKeyDuration(layer.keyIndex); ++steps) {
        if (steps == kMaxKeySteps) {
            layer.keyTime = 0.0f;
            return;
        }
        layer.keyTime -= animation.GetKeyDuration(layer.keyIndex);
        ++layer.keyIndex;
        if (layer.keyIndex != keyCount - 1) {
            continue;
        }
        if (layer.loopsLeft != -1 && --layer.loopsLeft == 0) {
            return;
        }
        layer.keyIndex = 0;
        layer.loopTime = 0.0f;
        layer.loopCounter += 1.0f;
    }
}

void UpdateWeight(AnimationLayer& layer, float dt)
{
    if (layer.fixedWeight) {
        return;
    }
    if (layer.fadeOutAtEnd && layer.fadeInRemaining <= 0.0f) {
        const float timeLeft = layer.animation->animation->GetLength(false) - layer.loopTime;
        if (timeLeft < layer.fadeOutTime) {
            layer.fadeOutRemaining = std::max(layer.fadeOutRemaining - dt, 0.0f);
            layer.weight = layer.fadeOutTime > 0.0f ? layer.fadeOutRemaining / layer.fadeOutTime : 1.0f;
        } else {
            layer.weight = 1.0f;
        }
        return;
    }
    layer.fadeInRemaining = std::max(layer.fadeInRemaining - dt, 0.0f);
    layer.weight = layer.fadeInTime > 0.0f ? 1.0f - layer.fadeInRemaining / layer.fadeInTime : 1.0f;
}

// A fully faded-in layer that fades by itself covers everything older.
bool CoversOlderLayers(const AnimationLayer& layer)
{
    return !layer.fixedWeight && !layer.fadeOutAtEnd && layer.fadeInRemaining <= 0.0f;
}

} // namespace

void Skeleton::AddAnimation(const Animation* animation)
{
    auto attached = std::make_unique<AttachedAnimation>();
    attached->animation = animation;
    attached->trackBones.assign(animation->GetTrackCount(), nullptr);
    attached->boneTracks.assign(GetBoneCount(), -1);
    std::vector<const Bone*> bones;
    CollectBones(topLevelBones_, bones);
    for (const Bone* bone : bones) {
        const int32_t track = animation->FindTrack(bone->name);
        if (track >= 0) {
            attached->trackBones[track] = bone;
        }
    }
    for (int32_t track = animation->GetTrackCount() - 1; track >= 0; --track) {
        if (const Bone* bone = attached->trackBones[track]) {
            attached->boneTracks[bone->index] = track;
        }
    }
    attached_.push_back(std::move(attached));
}

const AttachedAnimation* Skeleton::FindAttached(const Animation* animation) const
{
    for (const auto& attached : attached_) {
        if (attached->animation == animation) {
            return attached.get();
        }
    }
    return nullptr;
}

AnimationLayer& Skeleton::AppendLayer(const AttachedAnimation& attached)
{
    AnimationLayer& layer = layers_.emplace_back();
    layer.animation = &attached;
    layer.samples.assign(GetBoneCount(), BoneSample{});
    return layer;
}

int32_t Skeleton::TrackOfBone(const AnimationLayer& layer, const Bone& bone) const
{
    if (layer.animation->animation->GetKeyCount() == 0) {
        return -1;
    }
    return layer.animation->boneTracks[bone.index];
}

// The root measures its movement from the first key, and one loop carries
// it from the first key's position to the last key's.
void Skeleton::SetRootTrackValues(AnimationLayer& layer) const
{
    if (rootBone_ == nullptr) {
        return;
    }
    const int32_t track = TrackOfBone(layer, *rootBone_);
    if (track < 0) {
        return;
    }
    const Animation& animation = *layer.animation->animation;
    Vec3 first;
    Vec3 last;
    animation.GetTrackEndPositions(track, first, last);
    layer.loopDisplacement = last - first;
    Quaternion rotation;
    animation.SampleKey(track, 0, 0.0f, layer.previousRootPosition, rotation, false);
}

void Skeleton::PlayAnimation(const Animation* animation, float startTime, int32_t loops, float fadeTime, float speed)
{
    const AttachedAnimation* attached = FindAttached(animation);
    if (attached == nullptr) {
        return;
    }
    AnimationLayer& layer = AppendLayer(*attached);
    layer.loopTime = startTime;
    layer.keyTime = startTime;
    layer.loopsLeft = loops;
    layer.fadeInRemaining = fadeTime;
    layer.fadeInTime = fadeTime;
    layer.speed = speed;
    SetRootTrackValues(layer);
}

void Skeleton::PlayAnimationOnce(const Animation* animation, float fadeInTime, float fadeOutTime, float speed)
{
    const AttachedAnimation* attached = FindAttached(animation);
    if (attached == nullptr) {
        return;
    }
    AnimationLayer& layer = AppendLayer(*attached);
    layer.loopsLeft = 1;
    layer.fadeInRemaining = fadeInTime;
    layer.fadeInTime = fadeInTime;
    layer.fadeOutRemaining = fadeOutTime;
    layer.fadeOutTime = fadeOutTime;
    layer.fadeOutAtEnd = true;
    layer.speed = speed;
    // One loop never wraps, but the root still starts from the first key,
    // not from the origin, so the first update does not jump.
    SetRootTrackValues(layer);
    layer.loopDisplacement = kZeroVector;
}

void Skeleton::SetPoseBlend(const std::vector<PoseBlendEntry>& poses)
{
    layers_.clear();
    for (const PoseBlendEntry& pose : poses) {
        const AttachedAnimation* attached = FindAttached(pose.animation);
        if (attached == nullptr) {
            continue;
        }
        AnimationLayer& layer = AppendLayer(*attached);
        layer.loopTime = pose.time;
        layer.keyTime = pose.time;
        layer.weight = pose.weight;
        layer.speed = 0.0f;
        layer.loopsLeft = 1;
        layer.fixedWeight = true;
        SetRootTrackValues(layer);
    }
}

void Skeleton::DropCoveredLayers()
{
    for (size_t i = layers_.size(); i-- > 1;) {
        if (CoversOlderLayers(layers_[i])) {
            layers_.erase(layers_.begin(), layers_.begin() + static_cast<std::ptrdiff_t>(i));
            return;
        }
    }
}

void Skeleton::SampleBone(AnimationLayer& layer, const Bone& bone, const Matrix44& parent) const
{
    BoneSample& sample = layer.samples[bone.index];
    sample.position = kZeroVector;
    sample.rotation = Quaternion{};
    const int32_t track = TrackOfBone(layer, bone);
    if (track >= 0) {
        layer.animation->animation->SampleKey(track, layer.keyIndex, layer.keyTime, sample.position,
                                              sample.rotation, layer.loopsLeft != 0);
    }
    sample.matrix = Matrix44::Multiply(PoseMatrix(sample.rotation, sample.position), parent);
    BodyPoseFromMatrix(bone, sample.matrix, sample.position, sample.rotation);
    for (const Bone& child : bone.children) {
        SampleBone(layer, child, sample.matrix);
    }
}

// The root's movement goes to the layer's root position, for the owner to
// move its entity by; the pose keeps only the root's rotation, about the
// model's origin, so the figure stays where its entity is.
void Skeleton::SampleRoot(AnimationLayer& layer) const
{
    const Bone& root = *rootBone_;
    BoneSample& sample = layer.samples[root.index];
    Vec3 position;
    Quaternion rotation;
    const int32_t track = TrackOfBone(layer, root);
    if (track >= 0) {
        layer.animation->animation->SampleKey(track, layer.keyIndex, layer.keyTime, position, rotation, false);
    }
    layer.rootPosition = position + layer.loopDisplacement * layer.loopCounter;
    sample.matrix = PoseMatrix(rotation, kZeroVector);
    BodyPoseFromMatrix(root, sample.matrix, sample.position, sample.rotation);
    for (const Bone& child : root.children) {
        SampleBone(layer, child, sample.matrix);
    }
}

void Skeleton::BlendLayers()
{
    for (int32_t bone = 0; bone < GetBoneCount(); ++bone) {
        Vec3 position = layers_.front().samples[bone].position;
        Quaternion rotation = layers_.front().samples[bone].rotation;
        for (size_t i = 1; i < layers_.size(); ++i) {
            const AnimationLayer& layer = layers_[i];
            position = LerpVec3(position, layer.samples[bone].position, layer.weight);
            rotation = Quaternion::Slerp(rotation, layer.samples[bone].rotation, layer.weight);
        }
        boneMatrices_[bone] = PoseMatrix(rotation, position);
    }
}

void Skeleton::Update(float dt)
{
    if (rootBone_ == nullptr) {
        return;
    }
    for (AnimationLayer& layer : layers_) {
        StepKeys(layer);
        layer.loopTime += dt * layer.speed;
        layer.keyTime += dt * layer.speed;
        UpdateWeight(layer, dt);
    }
    DropCoveredLayers();
    if (layers_.empty()) {
        return;
    }
    rootOffset_ = kZeroVector;
    for (AnimationLayer& layer : layers_) {
        if (rootMotion_) {
            SampleRoot(layer);
            // Only a figure that moves by its animation has a root movement to hand on.
            rootOffset_ = rootOffset_ + (layer.rootPosition - layer.previousRootPosition) * Clamp01(layer.weight);
        } else {
            SampleBone(layer, *rootBone_, Matrix44{});
        }
    }
    BlendLayers();
    BuildSkinMatrices();
}

Vec3 Skeleton::ConsumeRootOffset()
{
    for (AnimationLayer& layer : layers_) {
        layer.previousRootPosition = layer.rootPosition;
    }
    return rootOffset_;
}

bool Skeleton::IsAnimating() const
{
    return std::any_of(layers_.begin(), layers_.end(), [](const AnimationLayer& layer) { return layer.loopsLeft != 0; });
}

const Animation* Skeleton::GetTopAnimation() const
{
    return layers_.empty() ? nullptr : layers_.back().animation->animation;
}

float Skeleton::GetTopAnimationTime() const
{
    return layers_.empty() ? 0.0f : layers_.back().loopTime;
}
