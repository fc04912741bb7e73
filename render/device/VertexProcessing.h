#pragma once
// How the device will transform vertices, chosen once, before it is made,
// from what adapter 0 reports.

#include <d3d9.h>

#include <cstdint>

struct VertexProcessing {
    uint32_t behaviour;           // D3DCREATE_* flags for CreateDevice
    uint32_t capabilities;        // the hardware bits of VideoCapability
    int32_t constantRegisters;    // vertex-shader constant registers the device offers
};

VertexProcessing ChooseVertexProcessing(const D3DCAPS9& caps, uint32_t vendorId, uint32_t deviceId);
