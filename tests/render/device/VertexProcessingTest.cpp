#include "engine/video/VideoDevice.h"
#include "render/device/VertexProcessing.h"

#include <gtest/gtest.h>

#include <initializer_list>

TEST(VertexProcessing, ChosenFromShadersThenTransformHardware)
{
    struct Case {
        uint32_t vertexShaderVersion;
        bool hardwareTransform;
        uint32_t vendor;
        uint32_t device;
        uint32_t processing;
        uint32_t capabilities;
        int32_t registers;
    };
    constexpr uint32_t kBoth = kCapabilityHardwareVertexShaders | kCapabilityHardwareTransform;
    constexpr uint32_t kTransform = kCapabilityHardwareTransform;
    for (const Case& c : std::initializer_list<Case>{
             {D3DVS_VERSION(2, 0), true, 0x10DE, 0x0322, D3DCREATE_HARDWARE_VERTEXPROCESSING, kBoth, 256},
             {D3DVS_VERSION(1, 1), false, 0x8086, 0x2572, D3DCREATE_HARDWARE_VERTEXPROCESSING, kBoth, 256},
             // Shaders reported but not worth running in hardware on these two.
             {D3DVS_VERSION(1, 1), true, 0x1002, 0x5157, D3DCREATE_MIXED_VERTEXPROCESSING, kTransform, 8192},
             {D3DVS_VERSION(1, 1), false, 0x10DE, 0x0187, D3DCREATE_SOFTWARE_VERTEXPROCESSING, 0, 8192},
             // Either half of an id alone is another adapter.
             {D3DVS_VERSION(1, 1), true, 0x1002, 0x0187, D3DCREATE_HARDWARE_VERTEXPROCESSING, kBoth, 256},
             {D3DVS_VERSION(0, 0), true, 0x8086, 0x2572, D3DCREATE_MIXED_VERTEXPROCESSING, kTransform, 8192},
             {D3DVS_VERSION(0, 0), false, 0x8086, 0x2572, D3DCREATE_SOFTWARE_VERTEXPROCESSING, 0, 8192}}) {
        D3DCAPS9 caps{};
        caps.VertexShaderVersion = c.vertexShaderVersion;
        caps.DevCaps = c.hardwareTransform ? D3DDEVCAPS_HWTRANSFORMANDLIGHT : 0;
        caps.MaxVertexShaderConst = 256;
        const VertexProcessing chosen = ChooseVertexProcessing(caps, c.vendor, c.device);
        EXPECT_EQ(chosen.behaviour, c.processing | D3DCREATE_FPU_PRESERVE) << std::hex << c.vendor << ":" << c.device;
        EXPECT_EQ(chosen.capabilities, c.capabilities);
        EXPECT_EQ(chosen.constantRegisters, c.registers);
    }
}
