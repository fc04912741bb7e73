#pragma once
// How a texture is sampled, kept with each bindable texture and sent as
// sampler states when it is bound.

#include <d3d9.h>

#include <cstdint>

struct SamplerStates {
    // The LOD bias the game samples with by default: a little sharper than Direct3D's.
    static constexpr float kLodBiasOffset = -1.5f;

    uint32_t addressU = D3DTADDRESS_WRAP;
    uint32_t addressV = D3DTADDRESS_WRAP;
    uint32_t addressW = D3DTADDRESS_WRAP;
    uint32_t minFilter = D3DTEXF_LINEAR;
    uint32_t magFilter = D3DTEXF_LINEAR;
    uint32_t mipFilter = D3DTEXF_LINEAR;
    float mipLodBias = kLodBiasOffset;
    uint32_t maxAnisotropy = 1;
};
