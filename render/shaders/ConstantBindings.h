#pragma once
// The constants a compiled program reads, each tied to the shader variable of
// its name: arrays bind element by element, "A", "A[1]", "A[2]", ...

#include <d3dx9.h>

#include <cstdint>
#include <vector>

struct ConstantBinding {
    int32_t variableId;
    int32_t firstRegister;
    int32_t registerCount;
    int32_t parameterType;   // D3DXPARAMETER_TYPE
};

std::vector<ConstantBinding> ReadConstantBindings(ID3DXConstantTable& table);

// Samplers bind a texture at their register; other types upload constants.
bool IsSamplerType(int32_t parameterType);
