#include "render/models/Skeleton.h"

#include "render/models/Animation.h"
#include "tests/engine/math/MathExpect.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

namespace {

// The chain skeleton (a top bone, the root, an arm) and animations of its two tracks.
class AnimationLayers : public testing::Test {
protected:
    AnimationLayers()
    {
        for (const Animation* animation : {&move, &twoSeconds, &poseA, &poseB, &steps, &oneKey, &missing}) {
            skeleton.AddAnimation(animation);
        }
    }

    // Where the root's body sits, from its skinning matrix: the translation
    // beyond the bind pose, with no rotation in these animations.
    Vec3 RootMovement() const { return skeleton.GetBoneMatrix(skeleton.GetRootBone()->index).GetRow(3); }

    float Weight(size_t layer) const { return skeleton.GetLayers()[layer].weight; }

    MountedFixture fixture{L"models"};
    Skeleton skeleton{L"Models\\Chain.DCSK", nullptr};
    Animation move{L"Models\\Move.DCA", true};               // root +1 z per key, 0.5 s keys, 2 per loop
    Animation twoSeconds{L"Models\\TwoSeconds.DCA", true};   // keys of 1.0, 0.5, 0.5 s
    Animation poseA{L"Models\\PoseA.DCA", true};             // root at the origin
    Animation poseB{L"Models\\PoseB.DCA", true};             // root 2 along x
    Animation steps{L"Models\\Steps.DCA", true};             // root 1 along x per 0.5 s key
    Animation oneKey{L"Models\\OneKey.DCA", true};
    Animation missing{L"Models\\Missing.DCA", true};
};

} // namespace

TEST_F(AnimationLayers, WithoutFadeTheNewLayerReplacesTheOldAtOnce)
{
    skeleton.PlayAnimation(&poseA, 0.0f, -1, 0.0f, 1.0f);
    skeleton.Update(0.1f);
    skeleton.PlayAnimation(&poseB, 0.0f, -1, 0.0f, 1.0f);
    skeleton.Update(0.1f);
    ASSERT_EQ(skeleton.GetLayers().size(), 1u);
    EXPECT_FLOAT_EQ(Weight(0), 1.0f);
    EXPECT_EQ(skeleton.GetTopAnimation(), &poseB);
}

TEST_F(AnimationLayers, FadesANewLayerInAndThenDropsTheOlder)
{
    skeleton.SetRootMotion(false);
    skeleton.PlayAnimation(&poseA, 0.0f, -1, 0.0f, 1.0f);
    skeleton.Update(0.1f);
    skeleton.PlayAnimation(&poseB, 0.0f, -1, 0.25f, 1.0f);
    skeleton.Update(0.125f);
    ASSERT_EQ(skeleton.GetLayers().size(), 2u);
    EXPECT_FLOAT_EQ(Weight(1), 0.5f);
    EXPECT_TRUE(NearVec(RootMovement(), {1.0f, 0.0f, 0.0f}));
    skeleton.Update(0.125f);
    ASSERT_EQ(skeleton.GetLayers().size(), 1u);
    EXPECT_TRUE(NearVec(RootMovement(), {2.0f, 0.0f, 0.0f}));
}

TEST_F(AnimationLayers, BlendsHeldPosesByWeight)
{
    skeleton.SetRootMotion(false);
    skeleton.SetPoseBlend({{&poseA, 0.0f, 1.0f}, {&poseB, 0.0f, 0.5f}});
    skeleton.Update(0.1f);
    // Held poses never cover each other.
    ASSERT_EQ(skeleton.GetLayers().size(), 2u);
    EXPECT_TRUE(NearVec(RootMovement(), {1.0f, 0.0f, 0.0f}));
}

TEST_F(AnimationLayers, AOneShotFadesOutAsItEndsAndRestsOnItsLastKey)
{
    skeleton.PlayAnimationOnce(&twoSeconds, 0.0f, 0.5f, 1.0f);
    struct Step { float until; float weight; };
    float time = 0.0f;
    for (const Step& step : std::initializer_list<Step>{{1.5f, 1.0f}, {1.75f, 0.5f}, {2.0f, 0.0f}, {3.0f, 0.0f}}) {
        while (time < step.until) {
            skeleton.Update(0.125f);
            time += 0.125f;
        }
        EXPECT_NEAR(Weight(0), step.weight, 1e-4f) << step.until;
    }
    EXPECT_FALSE(skeleton.IsAnimating());
    EXPECT_EQ(skeleton.GetLayers()[0].keyIndex, 2);
    EXPECT_EQ(skeleton.GetLayers()[0].loopsLeft, 0);
}

TEST_F(AnimationLayers, CountsLoopsDownAndRestsOnTheLastKey)
{
    skeleton.SetRootMotion(false);
    skeleton.PlayAnimation(&steps, 0.0f, 2, 0.0f, 1.0f);
    // Steps: keys 0.5 s apart, the loop ends at the fourth key after 1.5 s.
    for (int32_t frame = 0; frame < 17; ++frame) {
        skeleton.Update(0.125f);
    }
    EXPECT_TRUE(skeleton.IsAnimating());
    EXPECT_EQ(skeleton.GetLayers()[0].loopCounter, 1.0f);
    EXPECT_EQ(skeleton.GetLayers()[0].loopsLeft, 1);
    for (int32_t frame = 0; frame < 20; ++frame) {
        skeleton.Update(0.125f);
    }
    EXPECT_FALSE(skeleton.IsAnimating());
    EXPECT_EQ(skeleton.GetLayers()[0].keyIndex, 3);
    EXPECT_TRUE(NearVec(RootMovement(), {3.0f, 0.0f, 0.0f}));
}

TEST_F(AnimationLayers, AFixedPoseStaysOnTheKeyItsTimeSelects)
{
    skeleton.SetRootMotion(false);
    skeleton.PlayAnimation(&steps, 0.7f, -1, 0.0f, 0.0f);
    for (int32_t frame = 0; frame < 5; ++frame) {
        skeleton.Update(0.1f);
    }
    EXPECT_EQ(skeleton.GetLayers()[0].keyIndex, 1);
    EXPECT_TRUE(NearVec(RootMovement(), {1.4f, 0.0f, 0.0f}, 1e-4f));
    EXPECT_FLOAT_EQ(skeleton.GetTopAnimationTime(), 0.7f);
}

TEST_F(AnimationLayers, HandsOnTheRootMovementAcrossTheLoop)
{
    skeleton.PlayAnimation(&move, 0.0f, -1, 0.0f, 1.0f);
    float travelled = 0.0f;
    // 0.125 s frames add up exactly, so every frame moves a quarter.
    for (int32_t frame = 0; frame < 24; ++frame) {
        skeleton.Update(0.125f);
        const Vec3 offset = skeleton.ConsumeRootOffset();
        EXPECT_NEAR(offset.z, 0.25f, 1e-5f) << frame;
        travelled += offset.z;
        // The movement is taken out of the pose: the root stays in place.
        EXPECT_TRUE(NearVec(RootMovement(), kZeroVector));
    }
    EXPECT_NEAR(travelled, 6.0f, 1e-3f);
    EXPECT_GE(skeleton.GetLayers()[0].loopCounter, 2.0f);
}

TEST_F(AnimationLayers, WithoutRootMotionTheRootMovesInThePoseOnly)
{
    skeleton.SetRootMotion(false);
    skeleton.PlayAnimation(&move, 0.0f, -1, 0.0f, 1.0f);
    skeleton.Update(0.25f);
    EXPECT_TRUE(NearVec(skeleton.ConsumeRootOffset(), kZeroVector));
    EXPECT_TRUE(NearVec(RootMovement(), {0.0f, 0.0f, 0.5f}));
}

TEST_F(AnimationLayers, AOneShotStartsItsRootAtTheFirstKey)
{
    skeleton.PlayAnimationOnce(&poseB, 0.0f, 0.0f, 1.0f);
    skeleton.Update(0.1f);
    EXPECT_TRUE(NearVec(skeleton.ConsumeRootOffset(), kZeroVector));
}

TEST_F(AnimationLayers, IgnoresUnattachedAnimationsAndSurvivesOddOnes)
{
    const Animation stranger(L"Models\\Move.DCA", true);
    skeleton.PlayAnimation(&stranger, 0.0f, -1, 0.0f, 1.0f);
    skeleton.PlayAnimationOnce(&stranger, 0.0f, 0.0f, 1.0f);
    EXPECT_TRUE(skeleton.GetLayers().empty());
    EXPECT_EQ(skeleton.GetTopAnimation(), nullptr);
    EXPECT_EQ(skeleton.GetTopAnimationTime(), 0.0f);

    skeleton.SetRootMotion(false);
    skeleton.PlayAnimation(&oneKey, 0.0f, -1, 0.0f, 1.0f);
    skeleton.Update(2.0f);
    EXPECT_EQ(skeleton.GetLayers()[0].keyIndex, 0);
    EXPECT_TRUE(NearVec(RootMovement(), {1.0f, 0.0f, 0.0f}));

    // A time no loop can reach in float steps is dropped, not stepped through.
    skeleton.PlayAnimation(&steps, 1e30f, -1, 0.0f, 1.0f);
    skeleton.Update(0.1f);
    EXPECT_EQ(skeleton.GetLayers().size(), 1u);

    skeleton.PlayAnimation(&missing, 0.0f, -1, 0.0f, 1.0f);
    skeleton.Update(0.1f);
    ASSERT_EQ(skeleton.GetLayers().size(), 1u);
    EXPECT_TRUE(NearMatrix(skeleton.GetBoneMatrix(skeleton.GetRootBone()->index), Matrix44{}));
}
