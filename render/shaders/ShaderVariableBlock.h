#pragma once
// The shader variables one object owns, chained to a parent block: a shader
// effect's own variables, then those of the object drawing with it (a sprite
// batch, a model), then further up. Drawing looks values up by id along the
// chain; setters reach an ancestor's variable only when it was not added as
// local-only.

#include "render/shaders/ShaderVariable.h"

#include <cstdint>
#include <memory>
#include <vector>

class TextureResource;

class ShaderVariableBlock {
public:
    ShaderVariableBlock() = default;
    virtual ~ShaderVariableBlock();
    ShaderVariableBlock(const ShaderVariableBlock&) = delete;
    ShaderVariableBlock& operator=(const ShaderVariableBlock&) = delete;

    // The parent is not owned: whoever sets it keeps it alive while this
    // block can be drawn.
    virtual void SetParent(ShaderVariableBlock* parent) { parent_ = parent; }
    ShaderVariableBlock* GetParent() const { return parent_; }

    // kind: ShaderVariableKind. A name this block holds already keeps its variable.
    int32_t AddVariable(const WideString& name, int32_t kind, bool localOnly);
    void RemoveVariable(int32_t id);

    // Setters do nothing when the chain holds no variable they may set.
    void SetValue(int32_t id, const void* data, uint32_t byteCount);
    // 16 floats in the layout shader constants take (transposed).
    void SetMatrix(int32_t id, const float* matrix);
    void SetTexture(int32_t id, TextureResource* texture);
    void SetFloat(int32_t id, float value);

    // The drawing lookup: this block first, then up the chain; none for id -1.
    ShaderVariable* FindVariable(int32_t id) const;
    // This block's own variables, in the order they were added.
    const std::vector<std::unique_ptr<ShaderVariable>>& GetVariables() const { return variables_; }

private:
    ShaderVariable* FindOwnVariable(int32_t id) const;
    // Own variables whatever their flag; an ancestor's only when not local-only.
    ShaderVariable* FindSettableVariable(int32_t id) const;
    // The variable set, or none when the chain holds none this block may set.
    ShaderVariable* Store(int32_t id, const void* data, uint32_t byteCount);

    ShaderVariableBlock* parent_ = nullptr;
    std::vector<std::unique_ptr<ShaderVariable>> variables_;
};
