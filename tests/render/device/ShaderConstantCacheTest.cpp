#include "render/device/ShaderConstantCache.h"
#include "render/device/TransformCache.h"
#include "render/shaders/ShaderVariable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

// A variable pointing at caller data, as matrices and colours are held.
struct DataVariable {
    explicit DataVariable(std::vector<float> values) : values(std::move(values))
    {
        variable.kind = 5;
        variable.value.pointer = this->values.data();
        variable.size = static_cast<uint32_t>(this->values.size() * sizeof(float));
    }
    // What a setter does: new contents, one more change.
    void Set(std::vector<float> replaced)
    {
        values = std::move(replaced);
        variable.value.pointer = values.data();
        ++variable.changeCount;
    }

    std::vector<float> values;
    ShaderVariable variable;
};

std::vector<float> Matrix(float start)
{
    std::vector<float> m(16);
    for (int i = 0; i < 16; ++i) {
        m[i] = start + i;
    }
    return m;
}

class ConstantCache : public testing::Test {
protected:
    ConstantCache() { cache.Resize(16); }

    ShaderConstantCache cache;
    FrameStatistics counted;
};

} // namespace

TEST_F(ConstantCache, StartsAndForgetsAsBytesThatMatchNothing)
{
    EXPECT_EQ(cache.GetRegisterCount(), 16);
    EXPECT_TRUE(std::all_of(cache.Bytes(), cache.Bytes() + 16 * 16, [](uint8_t b) { return b == 0xFD; }));
    DataVariable matrix(Matrix(1.0f));
    EXPECT_TRUE(cache.Update({4, 4}, matrix.variable, counted));
    cache.Forget();
    EXPECT_TRUE(std::all_of(cache.Bytes(), cache.Bytes() + 16 * 16, [](uint8_t b) { return b == 0xFD; }));
    // Forgotten records: the same variable at the same change count goes out again.
    EXPECT_TRUE(cache.Update({4, 4}, matrix.variable, counted));
}

TEST_F(ConstantCache, UnchangedVariableCostsNothingAndEqualBytesCountOneSkip)
{
    DataVariable matrix(Matrix(1.0f));
    EXPECT_TRUE(cache.Update({4, 4}, matrix.variable, counted));
    EXPECT_EQ(counted.constantUploads, 1);
    EXPECT_EQ(std::memcmp(cache.Registers(4), matrix.values.data(), 64), 0);

    // Same change count: not even compared.
    EXPECT_FALSE(cache.Update({4, 4}, matrix.variable, counted));
    EXPECT_EQ(counted.skippedConstantSets, 0);

    // A new change count with the same contents: one skipped set, no upload.
    matrix.Set(Matrix(1.0f));
    EXPECT_FALSE(cache.Update({4, 4}, matrix.variable, counted));
    EXPECT_EQ(counted.skippedConstantSets, 1);
    EXPECT_EQ(counted.constantUploads, 1);

    matrix.Set(Matrix(2.0f));
    EXPECT_TRUE(cache.Update({4, 4}, matrix.variable, counted));
    EXPECT_EQ(counted.constantUploads, 2);
}

TEST_F(ConstantCache, AnotherVariableInTheRegistersIsComparedByBytes)
{
    DataVariable first(Matrix(1.0f));
    DataVariable second(Matrix(1.0f));
    EXPECT_TRUE(cache.Update({0, 4}, first.variable, counted));
    EXPECT_FALSE(cache.Update({0, 4}, second.variable, counted));
    EXPECT_EQ(counted.skippedConstantSets, 1);
    // The first is no longer known to be there.
    EXPECT_FALSE(cache.Update({0, 4}, first.variable, counted));
    EXPECT_EQ(counted.skippedConstantSets, 2);
}

TEST_F(ConstantCache, OnlyWhatTheRangeHoldsIsUploaded)
{
    DataVariable matrix(Matrix(1.0f));
    EXPECT_TRUE(cache.Update({2, 2}, matrix.variable, counted));
    EXPECT_EQ(std::memcmp(cache.Registers(2), matrix.values.data(), 32), 0);
    // The registers after the range are untouched.
    EXPECT_TRUE(std::all_of(cache.Bytes() + 4 * 16, cache.Bytes() + 16 * 16, [](uint8_t b) { return b == 0xFD; }));
}

TEST_F(ConstantCache, FloatsHeldInPlaceAndMissingDataAndBadRanges)
{
    ShaderVariable scalar;
    scalar.value.number = 0.5f;
    scalar.size = 4;
    EXPECT_TRUE(cache.Update({15, 1}, scalar, counted));
    EXPECT_EQ(cache.Registers(15)[0], 0.5f);

    ShaderVariable unset;
    unset.kind = 3;   // a matrix never given a pointer
    EXPECT_FALSE(cache.Update({0, 4}, unset, counted));
    DataVariable matrix(Matrix(1.0f));
    for (const ElementRange range : {ElementRange{-1, 4}, ElementRange{13, 4}, ElementRange{0, 0}}) {
        EXPECT_FALSE(cache.Update(range, matrix.variable, counted)) << range.start << "+" << range.count;
    }
    EXPECT_EQ(counted.constantUploads, 1);
    EXPECT_EQ(counted.skippedConstantSets, 0);
}

TEST(TransformCache, ComparesOnlyWhenTheVariableMoved)
{
    ResetTransformCaches();
    TransformCache& world = GetTransformCache(kWorldTransform);
    EXPECT_EQ(world.matrix[0], 1.0f);
    EXPECT_EQ(world.matrix[1], 0.0f);
    EXPECT_EQ(world.slot.lastChangeCount, -1);

    DataVariable matrix(Matrix(3.0f));
    EXPECT_TRUE(UpdateMatrixIfChanged(world.slot, 64, matrix.variable, world.matrix));
    EXPECT_EQ(world.matrix[15], 18.0f);
    EXPECT_FALSE(UpdateMatrixIfChanged(world.slot, 64, matrix.variable, world.matrix));
    matrix.Set(Matrix(3.0f));
    EXPECT_FALSE(UpdateMatrixIfChanged(world.slot, 64, matrix.variable, world.matrix));
    matrix.Set(Matrix(4.0f));
    EXPECT_TRUE(UpdateMatrixIfChanged(world.slot, 64, matrix.variable, world.matrix));

    // A reset puts the identity back and makes the same variable count again.
    ResetTransformCaches();
    EXPECT_EQ(world.slot.lastVariable, &matrix.variable);
    EXPECT_TRUE(UpdateMatrixIfChanged(world.slot, 64, matrix.variable, world.matrix));
}

TEST(TransformCache, MissingValuesTakeTheDefaultOnce)
{
    ValueCacheSlot slot;
    float cache[4] = {0.2f, 0.2f, 0.2f, 0.2f};
    DataVariable colour({0.5f, 0.25f, 0.125f, 1.0f});
    EXPECT_TRUE(UpdateValueIfChanged(slot, 16, &colour.variable, cache, 0));
    EXPECT_EQ(cache[1], 0.25f);
    EXPECT_TRUE(UpdateValueIfChanged(slot, 16, nullptr, cache, 0));
    EXPECT_EQ(cache[0], 0.0f);
    EXPECT_EQ(cache[3], 1.0f);
    EXPECT_FALSE(UpdateValueIfChanged(slot, 16, nullptr, cache, 0));

    // From an offset into the data: the fourth float alone.
    float alpha = 0.0f;
    ValueCacheSlot alphaSlot;
    EXPECT_TRUE(UpdateValueIfChanged(alphaSlot, 4, &colour.variable, &alpha, 12));
    EXPECT_EQ(alpha, 1.0f);
}

TEST(TransformCache, InvertedAndDoubledColoursCompareTheValuesDirect3DHolds)
{
    DataVariable emissive({0.25f, 0.5f, 0.75f, 0.0f});
    DataVariable diffuse({0.0f, 0.0f, 0.0f, 0.5f});
    ValueCacheSlot slot;
    float held[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    EXPECT_TRUE(UpdateInvertedColourIfChanged(slot, &emissive.variable, &diffuse.variable, held));
    EXPECT_FLOAT_EQ(held[0], 0.75f);
    EXPECT_FLOAT_EQ(held[1], 0.5f);
    EXPECT_FLOAT_EQ(held[2], 0.25f);
    EXPECT_FLOAT_EQ(held[3], 0.5f);
    emissive.Set({0.25f, 0.5f, 0.75f, 0.0f});
    diffuse.Set({0.0f, 0.0f, 0.0f, 0.5f});
    EXPECT_FALSE(UpdateInvertedColourIfChanged(slot, &emissive.variable, &diffuse.variable, held));

    ValueCacheSlot doubledSlot;
    float doubled[4] = {2.0f, 2.0f, 2.0f, 2.0f};
    DataVariable ambient({1.0f, 1.0f, 1.0f, 1.0f});
    EXPECT_FALSE(UpdateDoubledColourIfChanged(doubledSlot, &ambient.variable, doubled));
    EXPECT_EQ(doubled[0], 2.0f);
    ambient.Set({0.5f, 1.0f, 1.0f, 1.0f});
    EXPECT_TRUE(UpdateDoubledColourIfChanged(doubledSlot, &ambient.variable, doubled));
    EXPECT_EQ(doubled[0], 1.0f);
}
