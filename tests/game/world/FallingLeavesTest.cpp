#include "game/world/FallingLeaves.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(FallingLeaves, OnlyEffectFilesNamedForDynamicLeavesDrawFallingLeaves)
{
    struct Case {
        const wchar_t* effect;
        bool leaves;
    };
    for (const Case& c : std::initializer_list<Case>{{L"Shaders\\dcDynamic_Leaf.DCS", true},
                                                     {L"dcdynamic_leaf_oak.dcs", true},
                                                     {L"Shaders\\dcDynamic_Leaf\\dcMesh.DCS", false},
                                                     {L"Shaders\\dcMesh.DCS", false},
                                                     {L"dcDynamic", false},
                                                     {L"", false}}) {
        EXPECT_EQ(IsLeafEffect(c.effect), c.leaves) << WideStringToNarrow(c.effect);
    }
}

// Source vertices wider than a leaf vertex: every leaf takes its position,
// normal and texture coordinate, and nothing is written past the leaves.
TEST(FallingLeaves, EachLeafCopiesItsVertexWithinItsOwnSizeAndSharesItsTrianglesRandomPair)
{
    constexpr int32_t kStride = 48;
    constexpr int32_t kFirst = 10;
    std::vector<uint8_t> source(4 * kStride, 0xEE);
    for (int32_t v = 0; v < 4; ++v) {
        const float position[3] = {static_cast<float>(v), 1.0f, 2.0f};
        std::memcpy(&source[static_cast<size_t>(v * kStride)], position, sizeof(position));
    }
    const std::vector<uint32_t> indices = {10, 11, 12, 13, 10, 99};
    LeafVertex leaves[7];
    const LeafVertex guard{{7, 7, 7}, {7, 7, 7}, 7, 7, 7, 7};
    leaves[6] = guard;
    CopyLeafVertices(indices, source.data(), kStride, kFirst, 4, leaves);

    EXPECT_EQ(std::memcmp(&leaves[6], &guard, sizeof(LeafVertex)), 0);
    for (size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(leaves[k].position.x, static_cast<float>(indices[k] - kFirst)) << k;
    }
    // An index outside the range gives an empty leaf vertex.
    EXPECT_EQ(leaves[5].position.x, 0.0f);
    EXPECT_EQ(leaves[5].u, 0.0f);
    for (size_t k = 0; k < 6; ++k) {
        const LeafVertex& first = leaves[k - k % 3];
        EXPECT_EQ(leaves[k].randomU, first.randomU) << k;
        EXPECT_EQ(leaves[k].randomV, first.randomV) << k;
        EXPECT_GE(leaves[k].randomU, 0.0f);
        EXPECT_LE(leaves[k].randomV, 1.0f);
    }
}
