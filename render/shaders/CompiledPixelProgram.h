#pragma once
// An HLSL pixel fragment compiled for the device: its samplers bind textures
// from shader variables, its other constants upload their values.

#include "render/device/ComRef.h"
#include "render/shaders/ConstantBindings.h"
#include "render/shaders/ShaderProgram.h"

#include <d3d9.h>

class CompiledPixelProgram : public PixelProgram {
public:
    CompiledPixelProgram(D3D9Video& device, const WideString& name, const ShaderDefines& defines,
                         ComRef<IDirect3DPixelShader9> shader, std::vector<ConstantBinding> bindings);

    void Bind(ShaderVariableBlock* chain, BindingCache& cache) override;
    void PreloadTextures(ShaderVariableBlock* chain, BindingCache& cache) override;
    // Logs the program and the textures it samples.
    void Describe(ShaderVariableBlock* chain, BindingCache& cache) override;

private:
    ComRef<IDirect3DPixelShader9> shader_;
    std::vector<ConstantBinding> bindings_;
};
