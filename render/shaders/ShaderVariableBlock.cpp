#include "render/shaders/ShaderVariableBlock.h"

#include "render/shaders/ShaderVariableRegistry.h"

#include <algorithm>

namespace {

constexpr uint32_t kMatrixBytes = 64;
constexpr uint32_t kTextureBytes = 24;

} // namespace

ShaderVariableBlock::~ShaderVariableBlock()
{
    while (!variables_.empty()) {
        RemoveVariable(variables_.front()->id);
    }
}

int32_t ShaderVariableBlock::AddVariable(const WideString& name, int32_t kind, bool localOnly)
{
    const int32_t id = AddShaderVariableUse(name);
    if (FindOwnVariable(id)) {
        return id;
    }
    auto variable = std::make_unique<ShaderVariable>();
    variable->name = GetShaderVariableName(id);
    variable->id = id;
    variable->kind = kind;
    variable->localOnly = localOnly;
    variable->owner = this;
    variables_.push_back(std::move(variable));
    return id;
}

void ShaderVariableBlock::RemoveVariable(int32_t id)
{
    auto found = std::find_if(variables_.begin(), variables_.end(),
                              [id](const std::unique_ptr<ShaderVariable>& variable) { return variable->id == id; });
    if (found == variables_.end()) {
        return;
    }
    ReleaseShaderVariableUse(id);
    variables_.erase(found);
}

ShaderVariable* ShaderVariableBlock::FindOwnVariable(int32_t id) const
{
    for (const std::unique_ptr<ShaderVariable>& variable : variables_) {
        if (variable->id == id) {
            return variable.get();
        }
    }
    return nullptr;
}

ShaderVariable* ShaderVariableBlock::FindVariable(int32_t id) const
{
    if (id == -1) {
        return nullptr;
    }
    for (const ShaderVariableBlock* block = this; block; block = block->parent_) {
        if (ShaderVariable* variable = block->FindOwnVariable(id)) {
            return variable;
        }
    }
    return nullptr;
}

ShaderVariable* ShaderVariableBlock::FindSettableVariable(int32_t id) const
{
    if (ShaderVariable* own = FindOwnVariable(id)) {
        return own;
    }
    for (const ShaderVariableBlock* block = parent_; block; block = block->parent_) {
        ShaderVariable* variable = block->FindOwnVariable(id);
        if (variable && !variable->localOnly) {
            return variable;
        }
    }
    return nullptr;
}

ShaderVariable* ShaderVariableBlock::Store(int32_t id, const void* data, uint32_t byteCount)
{
    ShaderVariable* variable = FindSettableVariable(id);
    if (variable) {
        variable->value.pointer = data;
        variable->size = byteCount & ShaderVariable::kSizeMask;
        variable->holdsTexture = false;
        ++variable->changeCount;
    }
    return variable;
}

void ShaderVariableBlock::SetValue(int32_t id, const void* data, uint32_t byteCount)
{
    Store(id, data, byteCount);
}

void ShaderVariableBlock::SetMatrix(int32_t id, const float* matrix)
{
    SetValue(id, matrix, kMatrixBytes);
}

void ShaderVariableBlock::SetTexture(int32_t id, TextureResource* texture)
{
    if (ShaderVariable* variable = Store(id, texture, kTextureBytes)) {
        variable->holdsTexture = true;
    }
}

void ShaderVariableBlock::SetFloat(int32_t id, float value)
{
    if (ShaderVariable* variable = FindSettableVariable(id)) {
        variable->value.number = value;
        variable->size = sizeof value;
        variable->holdsTexture = false;
        ++variable->changeCount;
    }
}
