#include "render/device/VertexProcessing.h"

#include "engine/video/VideoDevice.h"

#include <algorithm>
#include <iterator>

namespace {

struct AdapterId {
    uint32_t vendor;
    uint32_t device;
};

// Adapters whose reported vertex shaders the game does not rely on; they are
// treated as having none.
constexpr AdapterId kNoHardwareVertexShaders[] = {
    {0x1002, 0x5157},
    {0x10DE, 0x0187},
};

// Software vertex processing offers this many constant registers.
constexpr int32_t kSoftwareConstantRegisters = 8192;

bool ReportsUsableVertexShaders(const D3DCAPS9& caps, uint32_t vendorId, uint32_t deviceId)
{
    if (D3DSHADER_VERSION_MAJOR(caps.VertexShaderVersion) == 0) {
        return false;
    }
    return std::none_of(std::begin(kNoHardwareVertexShaders), std::end(kNoHardwareVertexShaders),
                        [&](AdapterId id) { return id.vendor == vendorId && id.device == deviceId; });
}

} // namespace

VertexProcessing ChooseVertexProcessing(const D3DCAPS9& caps, uint32_t vendorId, uint32_t deviceId)
{
    // Left alone, Direct3D drops the FPU to single precision for the whole
    // process; the frame timer and the physics count in doubles.
    VertexProcessing choice{D3DCREATE_FPU_PRESERVE, 0, kSoftwareConstantRegisters};
    if (ReportsUsableVertexShaders(caps, vendorId, deviceId)) {
        choice.behaviour |= D3DCREATE_HARDWARE_VERTEXPROCESSING;
        choice.capabilities = kCapabilityHardwareVertexShaders | kCapabilityHardwareTransform;
        choice.constantRegisters = static_cast<int32_t>(caps.MaxVertexShaderConst);
    } else if (caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) {
        choice.behaviour |= D3DCREATE_MIXED_VERTEXPROCESSING;
        choice.capabilities = kCapabilityHardwareTransform;
    } else {
        choice.behaviour |= D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    }
    return choice;
}
