// How a skeleton hands its bone matrices to the skinned model it drives.

#include "render/models/Skeleton.h"

#include "render/models/Model.h"
#include "render/shaders/ShaderVariable.h"

#include <algorithm>
#include <array>

namespace {

// The matrices of the skeleton being drawn; skeletons draw one at a time.
std::array<Matrix44, kMaxBones>& Palette()
{
    static std::array<Matrix44, kMaxBones> palette;
    return palette;
}

} // namespace

void Skeleton::BindWorldArray(Model& model)
{
    for (int32_t i = 0; i < kMaxBones; ++i) {
        WideString name;
        FormatWideString(name, "WorldArray[%d]", i);
        paletteIds_[i] = model.AddVariable(name, kShaderMatrix, true);
    }
}

void Skeleton::Render(const Matrix44& world, int32_t pass, int32_t detail)
{
    if (skinnedModel_ == nullptr || (skinnedModel_->GetPassMask(detail) & PassBit(pass)) == 0) {
        return;
    }
    std::array<Matrix44, kMaxBones>& palette = Palette();
    const int32_t boneCount = GetBoneCount();
    for (int32_t i = 0; i < boneCount; ++i) {
        palette[i] = Matrix44::Multiply(boneMatrices_[i], world);
        // Shader constants take matrices transposed; the processor does not.
        if (!skinnedModel_->IsSoftwareSkinned()) {
            palette[i] = Matrix44::Transpose(palette[i]);
        }
        skinnedModel_->SetMatrix(paletteIds_[i], &palette[i].m[0][0]);
    }
    // A skeleton without bones still draws its model, in the bind pose where the world puts it.
    if (boneCount == 0) {
        palette[0] = world;
    }
    skinnedModel_->RenderSkinned(palette.data(), std::max(boneCount, 1), pass, detail);
}
