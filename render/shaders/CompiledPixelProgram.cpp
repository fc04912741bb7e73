#include "render/shaders/CompiledPixelProgram.h"

#include "engine/core/LogHub.h"
#include "engine/video/TextureResource.h"
#include "render/device/D3D9Video.h"
#include "render/shaders/ShaderReport.h"
#include "render/shaders/ShaderVariableBlock.h"
#include "render/shaders/ShaderVariableRegistry.h"

namespace {

constexpr char kMissingConstant[] = "PixelShader Constant %s not found";

} // namespace

CompiledPixelProgram::CompiledPixelProgram(D3D9Video& device, const WideString& name, const ShaderDefines& defines,
                                           ComRef<IDirect3DPixelShader9> shader,
                                           std::vector<ConstantBinding> bindings)
    : PixelProgram(device, name, defines)
    , shader_(std::move(shader))
    , bindings_(std::move(bindings))
{
}

void CompiledPixelProgram::Bind(ShaderVariableBlock* chain, BindingCache& cache)
{
    device_.SetPixelShaderCached(shader_.Get());
    if (!chain) {
        return;
    }
    GrowBindingCache(cache, bindings_.size());
    for (size_t i = 0; i < bindings_.size(); ++i) {
        const ConstantBinding& binding = bindings_[i];
        ShaderVariable* variable = ResolveBinding(*chain, binding.variableId, cache[i], kMissingConstant);
        if (!variable) {
            continue;
        }
        if (IsSamplerType(binding.parameterType)) {
            device_.SetTexture(binding.firstRegister, VariableTexture(*variable));
        } else {
            device_.SetPixelShaderConstants({binding.firstRegister, binding.registerCount}, *variable);
        }
    }
}

// A miss is reported on every call: preloading is rare and the cache is left
// for Bind to fill.
void CompiledPixelProgram::PreloadTextures(ShaderVariableBlock* chain, BindingCache& cache)
{
    if (!chain) {
        return;
    }
    GrowBindingCache(cache, bindings_.size());
    for (size_t i = 0; i < bindings_.size(); ++i) {
        const ConstantBinding& binding = bindings_[i];
        if (cache[i].state == ResolvedBinding::kMissing) {
            continue;
        }
        ShaderVariable* variable = chain->FindVariable(binding.variableId);
        if (!variable) {
            ReportShaderError(kMissingConstant, GetShaderVariableName(binding.variableId).c_str());
            continue;
        }
        TextureResource* texture = VariableTexture(*variable);
        if (IsSamplerType(binding.parameterType) && texture) {
            texture->PreLoad();
        }
    }
}

void CompiledPixelProgram::Describe(ShaderVariableBlock* chain, BindingCache& cache)
{
    LogHub::Printf("PShader = %s", GetName().c_str());
    if (!chain) {
        return;
    }
    for (const ConstantBinding& binding : bindings_) {
        ShaderVariable* variable = chain->FindVariable(binding.variableId);
        if (!variable) {
            LogHub::Printf(kMissingConstant, GetShaderVariableName(binding.variableId).c_str());
            continue;
        }
        TextureResource* texture = VariableTexture(*variable);
        if (IsSamplerType(binding.parameterType) && texture) {
            LogHub::Printf("Using %s", texture->GetName().c_str());
        }
    }
}
