#include "render/shaders/ConstantBindings.h"

#include "engine/files/WideString.h"
#include "render/shaders/ShaderVariableRegistry.h"

namespace {

constexpr UINT kMaxDescriptions = 1024;

void Enumerate(ID3DXConstantTable& table, D3DXHANDLE handle, const WideString& suffix,
               std::vector<ConstantBinding>& bindings)
{
    std::vector<D3DXCONSTANT_DESC> descriptions(kMaxDescriptions);
    UINT count = kMaxDescriptions;
    if (FAILED(table.GetConstantDesc(handle, descriptions.data(), &count))) {
        return;
    }
    for (UINT i = 0; i < count && i < kMaxDescriptions; ++i) {
        const D3DXCONSTANT_DESC& description = descriptions[i];
        if (description.Elements == 1) {
            WideString name;
            FormatWideString(name, "%s%s", WideStringFromChars(description.Name, -1).c_str(), suffix.c_str());
            bindings.push_back({GetShaderVariableId(name), static_cast<int32_t>(description.RegisterIndex),
                                static_cast<int32_t>(description.RegisterCount),
                                static_cast<int32_t>(description.Type)});
            continue;
        }
        for (UINT element = 0; element < description.Elements; ++element) {
            WideString elementSuffix;
            if (element > 0) {
                FormatWideString(elementSuffix, "[%d]", static_cast<int>(element));
            }
            Enumerate(table, table.GetConstantElement(handle, element), elementSuffix, bindings);
        }
    }
}

} // namespace

std::vector<ConstantBinding> ReadConstantBindings(ID3DXConstantTable& table)
{
    std::vector<ConstantBinding> bindings;
    D3DXCONSTANTTABLE_DESC description{};
    if (FAILED(table.GetDesc(&description))) {
        return bindings;
    }
    for (UINT i = 0; i < description.Constants; ++i) {
        Enumerate(table, table.GetConstant(nullptr, i), WideString(), bindings);
    }
    return bindings;
}

bool IsSamplerType(int32_t parameterType)
{
    return parameterType >= D3DXPT_SAMPLER1D && parameterType <= D3DXPT_SAMPLERCUBE;
}
