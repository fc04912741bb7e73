#include "render/shaders/ShaderProgram.h"

#include "render/shaders/ShaderReport.h"
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
        if (!entry.variable) {
            ReportShaderError(missingFormat, GetShaderVariableName(id).c_str());
        }
    }
    return entry.variable;
}
