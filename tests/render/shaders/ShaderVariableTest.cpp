#include "render/shaders/ShaderProgram.h"
#include "render/shaders/ShaderVariableBlock.h"
#include "render/shaders/ShaderVariableRegistry.h"

#include <gtest/gtest.h>

namespace {

// Two blocks chained as an effect is to the object drawing with it.
struct Chain {
    Chain() { child.SetParent(&parent); }
    ShaderVariableBlock parent;
    ShaderVariableBlock child;
};

} // namespace

TEST(ShaderVariableRegistry, HandsOutIdsInOrderAndNamesTheFirstElementLikeTheArray)
{
    EXPECT_EQ(GetShaderVariableId(L""), -1);
    const int32_t first = GetShaderVariableId(L"RegistryOrderA");
    EXPECT_EQ(GetShaderVariableId(L"RegistryOrderB"), first + 1);
    EXPECT_EQ(GetShaderVariableId(L"RegistryOrderA"), first);
    EXPECT_EQ(GetShaderVariableId(L"RegistryOrderA[0]"), first);
    EXPECT_NE(GetShaderVariableId(L"registryordera"), first);
    EXPECT_NE(GetShaderVariableId(L"RegistryOrderA[1]"), first);
    EXPECT_EQ(GetShaderVariableName(first), L"RegistryOrderA");
    EXPECT_EQ(GetShaderVariableName(-1), L"");
}

TEST(ShaderVariableBlock, AddingANameTwiceKeepsOneVariable)
{
    ShaderVariableBlock block;
    const int32_t id = block.AddVariable(L"TwiceAdded", kShaderMatrix, false);
    EXPECT_EQ(block.AddVariable(L"TwiceAdded[0]", kShaderTexture, true), id);
    ASSERT_EQ(block.GetVariables().size(), 1u);
    EXPECT_EQ(block.GetVariables()[0]->kind, kShaderMatrix);
    EXPECT_FALSE(block.GetVariables()[0]->localOnly);
    // Registered here, the name counts its first adding twice, so it outlives the block.
    EXPECT_EQ(GetShaderVariableUseCount(id), 3);
}

TEST(ShaderVariableBlock, AnEmptyNameIsAVariableLikeAnyOther)
{
    ShaderVariableBlock block;
    const int32_t id = block.AddVariable(L"", kShaderValue, false);
    EXPECT_NE(id, -1);
    EXPECT_NE(block.FindVariable(id), nullptr);
}

TEST(ShaderVariableBlock, SettersOnAChildReachOnlyAncestorsThatAreNotLocal)
{
    Chain chain;
    const int32_t shared = chain.parent.AddVariable(L"SharedValue", kShaderValue, false);
    const int32_t local = chain.parent.AddVariable(L"LocalValue", kShaderValue, true);
    chain.child.SetFloat(shared, 2.0f);
    chain.child.SetFloat(local, 3.0f);
    ShaderVariable* sharedVariable = chain.parent.FindVariable(shared);
    ShaderVariable* localVariable = chain.parent.FindVariable(local);
    EXPECT_EQ(sharedVariable->value.number, 2.0f);
    EXPECT_EQ(sharedVariable->changeCount, 1);
    EXPECT_EQ(localVariable->changeCount, 0);
    // Drawing finds both from the child.
    EXPECT_EQ(chain.child.FindVariable(shared), sharedVariable);
    EXPECT_EQ(chain.child.FindVariable(local), localVariable);
    // The owner itself sets its local variable.
    chain.parent.SetFloat(local, 4.0f);
    EXPECT_EQ(localVariable->changeCount, 1);
}

TEST(ShaderVariableBlock, AChildsOwnVariableHidesItsParents)
{
    Chain chain;
    const int32_t id = chain.parent.AddVariable(L"HiddenByChild", kShaderValue, false);
    chain.child.AddVariable(L"HiddenByChild", kShaderValue, true);
    chain.child.SetFloat(id, 5.0f);
    EXPECT_EQ(chain.child.FindVariable(id)->owner, &chain.child);
    EXPECT_EQ(chain.child.FindVariable(id)->value.number, 5.0f);
    EXPECT_EQ(chain.parent.FindVariable(id)->changeCount, 0);
    EXPECT_EQ(chain.child.FindVariable(-1), nullptr);
}

TEST(ShaderVariableBlock, SettersStoreValuePointerAndSize)
{
    ShaderVariableBlock block;
    const int32_t number = block.AddVariable(L"SetterFloat", kShaderValue, false);
    const int32_t matrix = block.AddVariable(L"SetterMatrix", kShaderMatrix, true);
    const float values[16] = {};
    block.SetFloat(number, 1.5f);
    block.SetMatrix(matrix, values);
    EXPECT_EQ(block.FindVariable(number)->value.number, 1.5f);
    EXPECT_EQ(block.FindVariable(number)->size, 4u);
    EXPECT_EQ(block.FindVariable(matrix)->value.pointer, values);
    EXPECT_EQ(block.FindVariable(matrix)->size, 64u);
    // Only 30 bits of size are kept; the flag beside them stays.
    block.SetValue(matrix, values, (1u << 30) | 16u);
    EXPECT_EQ(block.FindVariable(matrix)->size, 16u);
    EXPECT_TRUE(block.FindVariable(matrix)->localOnly);
    EXPECT_EQ(block.FindVariable(matrix)->changeCount, 2);
    // An id nobody holds is ignored.
    block.SetFloat(GetShaderVariableId(L"NobodyHoldsThis"), 1.0f);
}

// Whatever kind a variable was added as: a mesh file may give a sampled name
// plain bytes, and a sprite batch keeps its texture in a matrix variable.
TEST(ShaderVariableBlock, OnlyWhatWasLastSetAsATextureIsTakenForOne)
{
    ShaderVariableBlock block;
    const int32_t texture = block.AddVariable(L"LastSetTexture", kShaderTexture, false);
    const int32_t matrix = block.AddVariable(L"LastSetMatrix", kShaderMatrix, false);
    auto* held = reinterpret_cast<TextureResource*>(&block);   // never called
    const uint8_t bytes[4] = {};
    EXPECT_EQ(VariableTexture(*block.FindVariable(texture)), nullptr);
    block.SetTexture(texture, held);
    block.SetTexture(matrix, held);
    EXPECT_EQ(VariableTexture(*block.FindVariable(texture)), held);
    EXPECT_EQ(VariableTexture(*block.FindVariable(matrix)), held);
    block.SetValue(texture, bytes, sizeof bytes);
    block.SetFloat(matrix, 1.0f);
    EXPECT_EQ(VariableTexture(*block.FindVariable(texture)), nullptr);
    EXPECT_EQ(VariableTexture(*block.FindVariable(matrix)), nullptr);
}

TEST(ShaderVariableBlock, RemovingAVariableLeavesOtherBlocksAndTheName)
{
    ShaderVariableBlock a;
    ShaderVariableBlock b;
    const int32_t id = a.AddVariable(L"RemovedFromA", kShaderValue, false);
    b.AddVariable(L"RemovedFromA", kShaderValue, false);
    a.RemoveVariable(id);
    a.RemoveVariable(id);
    EXPECT_EQ(a.FindVariable(id), nullptr);
    EXPECT_NE(b.FindVariable(id), nullptr);
    EXPECT_EQ(GetShaderVariableName(id), L"RemovedFromA");
}
