#include "render/shaders/CompiledVertexProgram.h"

#include "engine/core/LogHub.h"
#include "render/device/D3D9Video.h"

CompiledVertexProgram::CompiledVertexProgram(D3D9Video& device, const WideString& name, const ShaderDefines& defines,
                                             ComRef<IDirect3DVertexShader9> shader,
                                             std::vector<ConstantBinding> bindings)
    : VertexProgram(device, name, defines)
    , shader_(std::move(shader))
    , bindings_(std::move(bindings))
{
}

void CompiledVertexProgram::Bind(ShaderVariableBlock* chain, BindingCache& cache)
{
    device_.SetVertexShaderCached(shader_.Get());
    ChooseVertexProcessing(device_, device_.HasCapability(kCapabilityHardwareVertexShaders));
    if (chain) {
        GrowBindingCache(cache, bindings_.size());
        for (size_t i = 0; i < bindings_.size(); ++i) {
            const ConstantBinding& binding = bindings_[i];
            if (ShaderVariable* variable =
                    ResolveBinding(*chain, binding.variableId, cache[i], "VertexShader Constant %s not found")) {
                device_.SetVertexShaderConstants({binding.firstRegister, binding.registerCount}, *variable);
            }
        }
    }
    // The program does its own fog and reads texture coordinates by stage.
    device_.SetRenderStateCached(D3DRS_FOGENABLE, FALSE);
    for (DWORD stage = 0; stage < 8; ++stage) {
        device_.SetTextureStageStateCached(stage, D3DTSS_TEXCOORDINDEX, stage);
    }
}

void CompiledVertexProgram::Describe(ShaderVariableBlock* chain, BindingCache& cache)
{
    LogHub::Printf("VShader = %s", GetName().c_str());
}
