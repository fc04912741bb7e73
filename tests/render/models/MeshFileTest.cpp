#include "render/models/MeshFile.h"

#include "engine/files/ArchiveList.h"
#include "tests/engine/math/MathExpect.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr float kDegree = 3.1415927f / 180.0f;

class MeshFileTest : public testing::Test {
protected:
    bool Read(const wchar_t* name, MeshLayout layout, MeshFile& file)
    {
        std::unique_ptr<Stream> in = OpenFile(WideString(L"Models\\") + name);
        return ReadMeshFile(*in, layout, file);
    }

    MountedFixture fixture{L"models"};
};

} // namespace

TEST_F(MeshFileTest, ReadsEveryRecordOfAStaticMesh)
{
    MeshFile file;
    ASSERT_TRUE(Read(L"Tiny.DCM", MeshLayout::kStatic, file));
    EXPECT_EQ(file.version, 4);
    ASSERT_EQ(file.geometry.size(), 1u);
    const GeometryRecord& geometry = file.geometry[0];
    ASSERT_EQ(geometry.elements.size(), 3u);
    EXPECT_EQ(geometry.elements[1], (VertexElement{0, 12, 2, 0, 3, 0}));
    EXPECT_EQ(geometry.vertexCount, 4);
    ASSERT_EQ(geometry.streams.size(), 1u);
    EXPECT_EQ(geometry.streams[0].stride, 32);
    EXPECT_EQ(geometry.streams[0].bytes.size(), 128u);
    EXPECT_EQ(geometry.indices, (std::vector<int32_t>{0, 1, 2, 0, 2, 3}));

    ASSERT_EQ(file.materials.size(), 2u);
    EXPECT_EQ(file.materials[0].shaderName, L"dcModel.DCS");
    ASSERT_EQ(file.materials[0].params.size(), 1u);
    EXPECT_EQ(file.materials[0].params[0].kind, MaterialParam::kTexture);
    EXPECT_EQ(file.materials[0].params[0].textureName, L"Wood.TGA");
    ASSERT_EQ(file.materials[1].params.size(), 1u);
    EXPECT_EQ(file.materials[1].params[0].name, L"Tint");
    EXPECT_EQ(file.materials[1].params[0].value.size(), 16u);

    ASSERT_EQ(file.parts.size(), 2u);
    ASSERT_EQ(file.parts[1].batches.size(), 2u);
    const BatchRecord& batch = file.parts[1].batches[1];
    EXPECT_EQ(batch.material, -1);
    EXPECT_EQ(batch.indices.start, 3);
    EXPECT_EQ(batch.indices.count, 3);
    EXPECT_EQ(batch.vertices.count, 4);

    ASSERT_EQ(file.nodes.size(), 3u);
    const MeshNode& back = file.nodes[1];
    EXPECT_EQ(back.name, L"BACK");
    EXPECT_EQ(back.partIndex, 1);
    EXPECT_TRUE(SameRotation(back.rotation, Quaternion::FromAxisAngle(kWorldUp, 90.0f * kDegree)));
    EXPECT_TRUE(NearVec(back.thirdVector, {1.0f, 2.0f, 3.0f}));
    EXPECT_EQ(file.nodes[0].secondName, L"Front");
    EXPECT_FALSE(back.hidden);
    EXPECT_TRUE(back.attached);
    // The part's box turned a quarter about y and moved to the node.
    EXPECT_TRUE(NearVec(back.worldBounds.centre, {0.0f, 5.0f, 0.0f}));
    EXPECT_TRUE(NearVec(back.worldBounds.halfExtents, {3.0f, 2.0f, 1.0f}));
    EXPECT_TRUE(NearVec(file.nodes[0].worldBounds.centre, {10.5f, 0.5f, 0.0f}));

    ASSERT_EQ(file.tapes.size(), 2u);
    EXPECT_EQ(file.tapes[0].name, L"Rocket_1");
    EXPECT_TRUE(NearVec(file.tapes[1].position, {0.0f, 0.5f, -2.0f}));
    EXPECT_TRUE(NearVec(file.tapes[1].second, {0.0f, 0.0f, -1.0f}));
}

TEST_F(MeshFileTest, OlderVersionsLackPartBoundsAndAskForAReExport)
{
    ScopedCapture log;
    MeshFile v3;
    ASSERT_TRUE(Read(L"TinyV3.DCM", MeshLayout::kStatic, v3));
    EXPECT_TRUE(NearVec(v3.nodes[1].worldBounds.centre, {0.0f, 5.0f, 0.0f}));
    EXPECT_TRUE(NearVec(v3.nodes[1].worldBounds.halfExtents, kZeroVector));
    EXPECT_EQ(log->Count(L"Please re-export"), 0);

    MeshFile v2;
    ASSERT_TRUE(Read(L"TinyV2.DCM", MeshLayout::kStatic, v2));
    EXPECT_EQ(v2.nodes.size(), 3u);
    EXPECT_EQ(log->Count(L"Please re-export Models\\TinyV2.DCM"), 2);
}

TEST_F(MeshFileTest, RefusesStaticMeshesWhoseRecordsDoNotFit)
{
    struct Case { const wchar_t* name; const char* line; };
    for (const Case& c : std::initializer_list<Case>{
             {L"Short.DCM", "is not a valid mesh"},
             {L"BadMagic.DCM", "is not a valid mesh"},
             {L"NotMesh.DCM", "is not a mesh"},
             {L"Truncated.DCM", "contains errors"},
             {L"BadBatchMaterial.DCM", "contains errors"},
             {L"BadBatchMaterialLow.DCM", "contains errors"},
             {L"BadBatchGeometry.DCM", "contains errors"},
             {L"BadBatchVertices.DCM", "contains errors"},
             {L"BadBatchIndices.DCM", "contains errors"},
             {L"BadNegativeRange.DCM", "contains errors"},
             {L"BadIndexValue.DCM", "contains errors"},
             {L"BadNegativeIndex.DCM", "contains errors"},
             {L"BadShortStride.DCM", "contains errors"},
             {L"BadElementStream.DCM", "contains errors"},
             {L"BadElementType.DCM", "contains errors"},
             {L"BadVertexCount.DCM", "contains errors"},
             {L"BadNodePart.DCM", "contains errors"},
             {L"BadNegativeNodePart.DCM", "contains errors"},
             {L"BadMaterialCount.DCM", "contains errors"}}) {
        ScopedCapture log;
        MeshFile file;
        EXPECT_FALSE(Read(c.name, MeshLayout::kStatic, file)) << WideStringToNarrow(c.name);
        EXPECT_TRUE(file.geometry.empty() && file.materials.empty() && file.parts.empty() && file.nodes.empty() &&
                    file.tapes.empty())
            << WideStringToNarrow(c.name);
        const WideString expected = WideString(L"Models\\") + c.name + L" " + WideStringFromChars(c.line, -1);
        EXPECT_TRUE(log->Contains(expected)) << WideStringToNarrow(expected);
    }
}

TEST_F(MeshFileTest, ReadsSkinnedVerticesBoundToBones)
{
    MeshFile file;
    ASSERT_TRUE(Read(L"SkinTiny.DCM", MeshLayout::kSkinned, file));
    ASSERT_EQ(file.skinGeometry.size(), 1u);
    EXPECT_TRUE(file.geometry.empty());
    const SkinGeometryRecord& geometry = file.skinGeometry[0];
    ASSERT_EQ(geometry.streams.size(), 1u);
    ASSERT_EQ(geometry.streams[0].vertices.size(), 4u);
    const SkinVertex& vertex = geometry.streams[0].vertices[2];
    EXPECT_TRUE(NearVec(vertex.position, {1.0f, 1.0f, 0.0f}));
    EXPECT_TRUE(NearVec(vertex.normal, {0.0f, 0.0f, -1.0f}));
    EXPECT_EQ(vertex.bone, 1);
    EXPECT_EQ(vertex.u, 1.0f);
    EXPECT_EQ(geometry.indices.size(), 6u);
    EXPECT_EQ(file.materials.size(), 3u);
    EXPECT_EQ(file.tapes.size(), 1u);

    MeshFile fraction;
    ASSERT_TRUE(Read(L"SkinFraction.DCM", MeshLayout::kSkinned, fraction));
    EXPECT_EQ(fraction.skinGeometry[0].streams[0].vertices[2].bone, 2);

    MeshFile fullRing;
    ASSERT_TRUE(Read(L"SkinFullRing.DCM", MeshLayout::kSkinned, fullRing));
    EXPECT_EQ(fullRing.skinGeometry[0].vertexCount, kSkinRingCapacity);
}

TEST_F(MeshFileTest, ReadsOldSkinnedLayouts)
{
    ScopedCapture log;
    MeshFile legacy;
    ASSERT_TRUE(Read(L"SkinLegacy.DCM", MeshLayout::kSkinned, legacy));
    ASSERT_EQ(legacy.nodes.size(), 1u);
    ASSERT_EQ(legacy.parts.size(), 1u);
    EXPECT_EQ(legacy.nodes[0].partIndex, 0);
    EXPECT_EQ(legacy.parts[0].batches.size(), 1u);
    EXPECT_TRUE(NearVec(legacy.parts[0].bounds.halfExtents, kZeroVector));
    EXPECT_TRUE(NearVec(legacy.nodes[0].worldBounds.halfExtents, kZeroVector));
    EXPECT_EQ(log->Count(L"Please re-export Models\\SkinLegacy.DCM"), 1);

    MeshFile v1;
    ASSERT_TRUE(Read(L"SkinV1.DCM", MeshLayout::kSkinned, v1));
    EXPECT_EQ(v1.tapes.size(), 1u);
    EXPECT_EQ(v1.tapes[0].name, L"Hand");
    // One line for its part, one for its node.
    EXPECT_EQ(log->Count(L"Please re-export Models\\SkinV1.DCM"), 2);
}

TEST_F(MeshFileTest, RefusesSkinnedMeshesWithBadBonesStridesOrSizes)
{
    for (const wchar_t* name : {L"SkinBadBone.DCM", L"SkinNegativeBone.DCM", L"SkinShortStride.DCM",
                                L"SkinLongStride.DCM", L"SkinOverRing.DCM", L"Truncated.DCM",
                                L"BadIndexValue.DCM"}) {
        ScopedCapture log;
        MeshFile file;
        EXPECT_FALSE(Read(name, MeshLayout::kSkinned, file)) << WideStringToNarrow(name);
        EXPECT_TRUE(file.skinGeometry.empty());
        EXPECT_TRUE(log->Contains(WideString(L"Models\\") + name + L" contains errors")) << WideStringToNarrow(name);
    }
}

TEST_F(MeshFileTest, ReadsTheSampleModels)
{
    MeshFile car;
    ASSERT_TRUE(Read(L"Car.DCM", MeshLayout::kStatic, car));
    std::vector<WideString> names;
    for (const MeshNode& node : car.nodes) {
        names.push_back(node.name);
    }
    EXPECT_EQ(names, (std::vector<WideString>{L"BODY", L"WHEEL_1", L"WHEEL_2", L"WHEEL_3", L"WHEEL_4"}));
    EXPECT_EQ(car.nodes[1].partIndex, car.nodes[4].partIndex);
    EXPECT_TRUE(NearVec(car.nodes[4].worldBounds.centre, {0.85f, 0.35f, -1.35f}, 1e-4f));
    ASSERT_GE(car.tapes.size(), 2u);
    EXPECT_EQ(car.tapes[0].name, L"Rocket_1");

    for (const wchar_t* prop : {L"Box.DCM", L"Crate.DCM", L"LampPost.DCM"}) {
        MeshFile file;
        EXPECT_TRUE(Read(prop, MeshLayout::kStatic, file)) << WideStringToNarrow(prop);
        EXPECT_FALSE(file.nodes.empty()) << WideStringToNarrow(prop);
    }

    MeshFile figure;
    ASSERT_TRUE(Read(L"Figure.DCM", MeshLayout::kSkinned, figure));
    int32_t highestBone = 0;
    for (const SkinVertex& vertex : figure.skinGeometry[0].streams[0].vertices) {
        highestBone = std::max(highestBone, vertex.bone);
    }
    EXPECT_EQ(highestBone, 7);   // the right leg, last of the figure's eight bones
}
