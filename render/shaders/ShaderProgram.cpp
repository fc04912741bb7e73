#include "render/shaders/ShaderProgram.h"

#include "render/device/D3D9Video.h"
#include "render/shaders/ShaderReport.h"
#include "render/shaders/ShaderVariable.h"
#include "render/shaders/ShaderVariableBlock.h"
#include "render/shaders/ShaderVariableRegistry.h"

void GrowBindingCache(BindingCache& cache, size_t count)
{
    if (cache.size() < count) {
        cache.resize(count);
    }
}

ShaderVariable* ResolveBinding(ShaderVariableBlock& chain, int32_t id, ResolvedBinding& entry,
                               const char* missingFormat)
{
    if (entry.state == ResolvedBinding::kUnresolved) {
        entry.variable = chain.FindVariable(id);
        entry.state = entry.variable ? ResolvedBinding::kFound : ResolvedBinding::kMissing;
        if (!entry.variable && missingFormat) {
            ReportShaderError(missingFormat, GetShaderVariableName(id).c_str());
        }
    }
    return entry.variable;
}

void ChooseVertexProcessing(D3D9Video& device, bool hardware)
{
    device.SetSoftwareVertexProcessingCached(!hardware);
    if (!hardware) {
        device.ConvertBoundBuffersToSoftware();
    }
}

TextureResource* VariableTexture(const ShaderVariable& variable)
{
    if (!variable.holdsTexture) {
        return nullptr;
    }
    // Textures are handed to the blocks as mutable objects.
    return static_cast<TextureResource*>(const_cast<void*>(variable.value.pointer));
}
