#include "frontend/ControlBindings.h"

#include "engine/core/dcEngine.h"
#include "engine/input/InputCodes.h"
#include "engine/input/InputSystem.h"
#include "frontend/SettingsOptions.h"

namespace {

WideString InputCodeName(int32_t code)
{
    const InputSystem* input = dcEngine::Instance().GetInputSystem();
    return input ? input->GetCodeName(code) : WideString();
}

void ClearColumn(int32_t& columnCode, WideString& columnText, int32_t code)
{
    if (columnCode == code) {
        columnCode = kNoInputCode;
        columnText = InputCodeName(kNoInputCode);
    }
}

} // namespace

void StoreBindingCodes(ControlBinding& binding, BindingCodes codes)
{
    binding.primaryCode = codes.first;
    binding.primaryText = InputCodeName(codes.first);
    binding.secondaryCode = codes.second;
    binding.secondaryText = InputCodeName(codes.second);
}

void ClearBindingCode(int32_t code)
{
    for (ControlBindingOption& option : GetSettingsOptions().bindings) {
        ClearColumn(option.value.primaryCode, option.value.primaryText, code);
        ClearColumn(option.value.secondaryCode, option.value.secondaryText, code);
    }
}
