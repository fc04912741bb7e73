#pragma once
// An HLSL vertex fragment compiled for the device, with its constants tied
// to shader variables.

#include "render/device/ComRef.h"
#include "render/shaders/ConstantBindings.h"
#include "render/shaders/ShaderProgram.h"

#include <d3d9.h>

class CompiledVertexProgram : public VertexProgram {
public:
    CompiledVertexProgram(D3D9Video& device, const WideString& name, const ShaderDefines& defines,
                          ComRef<IDirect3DVertexShader9> shader, std::vector<ConstantBinding> bindings);

    void Bind(ShaderVariableBlock* chain, BindingCache& cache) override;
    void Describe(ShaderVariableBlock* chain, BindingCache& cache) override;

    const std::vector<ConstantBinding>& GetBindings() const { return bindings_; }

private:
    ComRef<IDirect3DVertexShader9> shader_;
    std::vector<ConstantBinding> bindings_;
};
