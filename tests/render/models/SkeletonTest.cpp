#include "render/models/Skeleton.h"

#include "render/models/Animation.h"
#include "render/models/SkinVertex.h"
#include "tests/engine/math/MathExpect.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

namespace {

class SkeletonFileTest : public testing::Test {
protected:
    MountedFixture fixture{L"models"};
};

std::vector<int32_t> IndicesInReadingOrder(const std::vector<Bone>& bones)
{
    std::vector<int32_t> indices;
    for (const Bone& bone : bones) {
        indices.push_back(bone.index);
        for (int32_t index : IndicesInReadingOrder(bone.children)) {
            indices.push_back(index);
        }
    }
    return indices;
}

} // namespace

TEST_F(SkeletonFileTest, NumbersOldFilesInReadingOrderAndNewOnesAsStored)
{
    const Skeleton numbered(L"Models\\V1.DCSK", nullptr);
    EXPECT_EQ(IndicesInReadingOrder(numbered.GetTopLevelBones()), (std::vector<int32_t>{0, 1, 2, 3}));
    const Skeleton stored(L"Models\\V2.DCSK", nullptr);
    EXPECT_EQ(IndicesInReadingOrder(stored.GetTopLevelBones()), (std::vector<int32_t>{3, 1, 0, 2}));
    EXPECT_EQ(stored.GetBoneCount(), 4);
    for (const Matrix44& matrix : stored.GetBoneMatrices()) {
        EXPECT_TRUE(NearMatrix(matrix, Matrix44{}));
    }
    EXPECT_TRUE(stored.HasRootMotion());
}

TEST_F(SkeletonFileTest, KeepsTheBindGeometryOfEachBone)
{
    const Skeleton skeleton(L"Models\\Chain.DCSK", nullptr);
    ASSERT_NE(skeleton.GetRootBone(), nullptr);
    const Bone& root = *skeleton.GetRootBone();
    EXPECT_EQ(root.name, L"Root");
    ASSERT_EQ(root.children.size(), 1u);
    const Bone& arm = root.children[0];
    EXPECT_TRUE(NearVec(arm.offset, kZeroVector));
    EXPECT_TRUE(NearVec(root.offset, {0.0f, 0.0f, 1.0f}));   // head - the top bone's tail
    // Without a body box the centre is the middle of the bone.
    EXPECT_TRUE(NearVec(arm.bindCentre, {0.5f, 0.0f, 1.0f}));
    // The bind frame's forward axis runs from head to tail.
    EXPECT_TRUE(NearVec(arm.bindFrame.GetRow(2), {1.0f, 0.0f, 0.0f}));

    const Skeleton boxed(L"Models\\BodyBox.DCSK", nullptr);
    const Bone& boxedArm = boxed.GetRootBone()->children[0];
    // The body box is given in the bone's frame: its forward z is the arm's x.
    EXPECT_TRUE(NearVec(boxedArm.bindCentre, {0.5f, 0.0f, 0.0f}));
}

TEST_F(SkeletonFileTest, FindsBonesBelowTheRootWhateverTheirCase)
{
    Skeleton skeleton(L"Models\\Chain.DCSK", nullptr);
    ASSERT_NE(skeleton.FindBone(L"aRM"), nullptr);
    EXPECT_EQ(skeleton.FindBone(L"aRM")->name, L"Arm");
    EXPECT_EQ(skeleton.FindBone(L"root"), skeleton.GetRootBone());
    EXPECT_EQ(skeleton.FindBone(L"Top"), nullptr);
    EXPECT_EQ(skeleton.FindBone(L"Leg"), nullptr);
}

TEST_F(SkeletonFileTest, BindsNoPaletteWithoutAModel)
{
    const Skeleton skeleton(L"Models\\Chain.DCSK", nullptr);
    for (int32_t i = 0; i < kMaxBones; ++i) {
        EXPECT_EQ(skeleton.GetPaletteIds()[i], -1);
    }
}

TEST_F(SkeletonFileTest, RefusesDamagedFiles)
{
    struct Case { const wchar_t* name; const char* line; };
    for (const Case& c : std::initializer_list<Case>{
             {L"BadShort", "is not a valid skeleton"},
             {L"BadMagic", "is not a valid skeleton"},
             {L"BadKind", "is not a skeleton"},
             {L"BadVersion", "contains errors"},
             {L"BadTruncated", "contains errors"},
             {L"BadTooMany", "contains errors"},
             {L"BadDeep", "contains errors"},
             {L"BadDuplicateIndex", "contains errors"},
             {L"BadIndexRange", "contains errors"},
             {L"BadNoRoot", "contains errors"},
             {L"BadChildCount", "contains errors"}}) {
        const WideString name = WideString(L"Models\\") + c.name + L".DCSK";
        ScopedCapture log;
        Skeleton skeleton(name, nullptr);
        EXPECT_EQ(skeleton.GetBoneCount(), 0) << WideStringToNarrow(name);
        EXPECT_TRUE(skeleton.GetTopLevelBones().empty()) << WideStringToNarrow(name);
        EXPECT_EQ(skeleton.GetRootBone(), nullptr) << WideStringToNarrow(name);
        EXPECT_FALSE(skeleton.HasRootMotion()) << WideStringToNarrow(name);
        EXPECT_TRUE(log->Contains(name + L" " + WideStringFromChars(c.line, -1))) << WideStringToNarrow(name);
        // Such a skeleton takes animations and updates without effect.
        const Animation animation(L"Models\\Bind.DCA", true);
        skeleton.AddAnimation(&animation);
        skeleton.PlayAnimation(&animation, 0.0f, -1, 0.0f, 1.0f);
        skeleton.Update(0.1f);
        EXPECT_EQ(skeleton.FindBone(L"Arm"), nullptr);
    }
}

TEST_F(SkeletonFileTest, TheBindPoseGivesIdentitySkinMatrices)
{
    for (const wchar_t* name : {L"Models\\Chain.DCSK", L"Models\\BodyBox.DCSK", L"Models\\Figure.DCSK"}) {
        Skeleton skeleton(name, nullptr);
        // Identity keys leave every bone in its bind pose.
        const Animation bind(L"Models\\Bind.DCA", true);
        skeleton.AddAnimation(&bind);
        skeleton.PlayAnimation(&bind, 0.0f, -1, 0.0f, 1.0f);
        skeleton.SetRootMotion(false);
        skeleton.Update(0.1f);
        for (const Matrix44& matrix : skeleton.GetBoneMatrices()) {
            EXPECT_TRUE(NearMatrix(matrix, Matrix44{}, 1e-5f)) << WideStringToNarrow(name);
        }
    }
}

TEST_F(SkeletonFileTest, TransformsPointsByBones)
{
    Skeleton skeleton(L"Models\\Chain.DCSK", nullptr);
    const Animation bend(L"Models\\Bend.DCA", true);
    skeleton.AddAnimation(&bend);
    skeleton.PlayAnimation(&bend, 0.0f, -1, 0.0f, 1.0f);
    skeleton.Update(0.1f);
    const Bone* arm = skeleton.FindBone(L"Arm");
    Vec3 tail{1.0f, 0.0f, 1.0f};
    Vec3 direction{1.0f, 0.0f, 0.0f};
    skeleton.TransformByBone(arm, tail, direction);
    EXPECT_TRUE(NearVec(tail, {0.0f, 1.0f, 1.0f}));
    EXPECT_TRUE(NearVec(direction, {0.0f, 1.0f, 0.0f}));
    Vec3 unchanged{3.0f, 4.0f, 5.0f};
    skeleton.TransformPointByBone(nullptr, unchanged);
    EXPECT_TRUE(NearVec(unchanged, {3.0f, 4.0f, 5.0f}));
}

TEST_F(SkeletonFileTest, SkinsAVertexWithItsBone)
{
    Skeleton skeleton(L"Models\\Chain.DCSK", nullptr);
    const Animation bend(L"Models\\Bend.DCA", true);
    skeleton.AddAnimation(&bend);
    skeleton.PlayAnimation(&bend, 0.0f, -1, 0.0f, 1.0f);
    skeleton.Update(0.1f);
    const int32_t arm = skeleton.FindBone(L"Arm")->index;
    // The arm's tail, turned a quarter about z at the arm's head; a vertex
    // of a bone the matrices do not reach follows the first matrix.
    const SkinVertex source[3] = {
        {{1.0f, 0.0f, 1.0f}, {1.0f, 0.0f, 0.0f}, arm, 0.25f, 0.75f},
        {{0.0f, 0.0f, 0.5f}, {0.0f, 0.0f, 1.0f}, 1, 0.0f, 0.0f},
        {{2.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, 50, 1.0f, 1.0f},
    };
    SkinnedOutputVertex out[3];
    SkinVertices(source, 3, skeleton.GetBoneMatrices().data(), skeleton.GetBoneCount(), out);
    EXPECT_TRUE(NearVec(out[0].position, {0.0f, 1.0f, 1.0f}));
    EXPECT_TRUE(NearVec(out[0].normal, {0.0f, 1.0f, 0.0f}));
    EXPECT_EQ(out[0].u, 0.25f);
    EXPECT_EQ(out[0].v, 0.75f);
    EXPECT_TRUE(NearVec(out[1].position, {0.0f, 0.0f, 0.5f}));
    EXPECT_TRUE(NearVec(out[2].position, {2.0f, 0.0f, 0.0f}));
}
