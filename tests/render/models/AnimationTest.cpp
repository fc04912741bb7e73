#include "render/models/Animation.h"

#include "tests/engine/math/MathExpect.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

namespace {

constexpr float kDegree = 3.1415927f / 180.0f;

class AnimationFile : public testing::Test {
protected:
    MountedFixture fixture{L"models"};
};

} // namespace

TEST_F(AnimationFile, ReplacesTheExtensionByDca)
{
    for (const wchar_t* name : {L"Models\\Run.XYZ", L"Models\\Run.DCA"}) {
        const Animation run(name, true);
        EXPECT_EQ(run.GetKeyCount(), 3) << WideStringToNarrow(name);
    }
}

TEST_F(AnimationFile, ReadsMatrixKeysAndSumsTheirLengths)
{
    const Animation animation(L"Models\\ThreeKeys.DCA", true);
    ASSERT_EQ(animation.GetTrackCount(), 1);
    EXPECT_EQ(animation.GetTrackName(0), L"Track");
    EXPECT_FLOAT_EQ(animation.GetLength(false), 1.25f);
    EXPECT_FLOAT_EQ(animation.GetLength(true), 1.0f);

    Vec3 position;
    Quaternion rotation;
    animation.SampleKey(0, 0, 0.0f, position, rotation, false);
    EXPECT_TRUE(NearVec(position, {1.0f, 2.0f, 3.0f}));
    EXPECT_TRUE(SameRotation(rotation, Quaternion::FromAxisAngle(kWorldUp, 90.0f * kDegree)));
}

TEST_F(AnimationFile, ReadsPositionKeysAndTheStoredLength)
{
    const Animation animation(L"Models\\LayoutB.DCA", true);
    ASSERT_EQ(animation.GetTrackCount(), 2);
    EXPECT_EQ(animation.FindTrack(L"Second"), 1);
    EXPECT_EQ(animation.FindTrack(L"second"), -1);
    EXPECT_FLOAT_EQ(animation.GetLength(false), 3.0f);
    EXPECT_FLOAT_EQ(animation.GetLength(true), 1.5f);
    Vec3 first;
    Vec3 last;
    animation.GetTrackEndPositions(0, first, last);
    EXPECT_TRUE(NearVec(first, kZeroVector));
    EXPECT_TRUE(NearVec(last, {4.0f, 0.0f, 0.0f}));
}

TEST_F(AnimationFile, SamplesBetweenKeys)
{
    const Animation animation(L"Models\\LayoutB.DCA", true);
    struct Case { int32_t key; float time; bool looping; float x; const char* what; };
    for (const Case& c : std::initializer_list<Case>{
             {0, 0.25f, false, 1.0f, "halfway through the first key"},
             {1, 0.25f, false, 2.5f, "a quarter into the second"},
             {0, 0.75f, false, 2.0f, "beyond the key: the next key exactly"},
             {2, 0.5f, false, 4.0f, "the last key holds without looping"},
             {2, 0.375f, true, 2.0f, "the last key blends towards the first when looping"}}) {
        Vec3 position;
        Quaternion rotation;
        animation.SampleKey(0, c.key, c.time, position, rotation, c.looping);
        EXPECT_NEAR(position.x, c.x, 1e-5f) << c.what;
    }
}

TEST_F(AnimationFile, RefusesDamagedFilesAndStaysEmpty)
{
    struct Case { const wchar_t* name; const wchar_t* line; };
    for (const Case& c : std::initializer_list<Case>{
             {L"Models\\BadShort.DCA", L"Failed loading animation Models\\BadShort.DCA"},
             {L"Models\\BadMagic.DCA", L"Models\\BadMagic.DCA is NOT a DCA File"},
             {L"Models\\BadVersion.DCA", L"Models\\BadVersion.DCA is NOT a DCA File"},
             {L"Models\\BadTruncated.DCA", L"Models\\BadTruncated.DCA contains errors"},
             {L"Models\\BadZeroDuration.DCA", L"Models\\BadZeroDuration.DCA contains errors"},
             {L"Models\\BadNegativeDuration.DCA", L"Models\\BadNegativeDuration.DCA contains errors"},
             {L"Models\\BadNoKeys.DCA", L"Models\\BadNoKeys.DCA contains errors"},
             {L"Models\\BadTrackCount.DCA", L"Models\\BadTrackCount.DCA contains errors"},
             {L"Models\\BadKeyCount.DCA", L"Models\\BadKeyCount.DCA contains errors"}}) {
        ScopedCapture log;
        const Animation animation(c.name, true);
        EXPECT_EQ(animation.GetTrackCount(), 0) << WideStringToNarrow(c.name);
        EXPECT_EQ(animation.GetKeyCount(), 0) << WideStringToNarrow(c.name);
        EXPECT_EQ(animation.GetLength(false), 0.0f) << WideStringToNarrow(c.name);
        EXPECT_EQ(animation.GetLength(true), 0.0f) << WideStringToNarrow(c.name);
        EXPECT_TRUE(log->Contains(c.line)) << WideStringToNarrow(c.name);
    }
}

TEST_F(AnimationFile, MissingAndShortFilesAreQuietWhenAsked)
{
    ScopedCapture log;
    const Animation missing(L"Models\\Missing.DCA", true);
    const Animation quiet(L"Models\\BadShort.DCA", false);
    EXPECT_EQ(missing.GetKeyCount(), 0);
    EXPECT_EQ(quiet.GetKeyCount(), 0);
    EXPECT_TRUE(log->lines.empty());
}

TEST_F(AnimationFile, TheSampleFigureWalksAndIdles)
{
    const Animation walk(L"Models\\Walk.DCA", true);
    const Animation idle(L"Models\\Idle.DCA", true);
    for (const Animation* animation : {&walk, &idle}) {
        EXPECT_EQ(animation->GetTrackName(0), L"Hips");
        EXPECT_GE(animation->FindTrack(L"LeftLeg"), 0);
        EXPECT_GE(animation->GetKeyCount(), 3);
    }
    EXPECT_FLOAT_EQ(walk.GetLength(true), 1.2f);
    // One loop of the walk carries the hips 1.6 forward.
    Vec3 first;
    Vec3 last;
    walk.GetTrackEndPositions(walk.FindTrack(L"Hips"), first, last);
    EXPECT_TRUE(NearVec(last - first, {0.0f, 0.0f, 1.6f}));
    idle.GetTrackEndPositions(idle.FindTrack(L"Hips"), first, last);
    EXPECT_TRUE(NearVec(last - first, kZeroVector));
}
