// Which surface formats the adapter supports, asked once per creation or
// reset and remembered, since Direct3D answers the same question slowly.

#include "render/device/D3D9Video.h"

#include "render/device/Direct3DFormats.h"

#include <algorithm>

namespace {

bool IsDepthFormat(D3DFORMAT format)
{
    return format == D3DFMT_D32 || format == D3DFMT_D24S8 || format == D3DFMT_D16;
}

} // namespace

HRESULT D3D9Video::CheckFormat(DWORD usage, D3DRESOURCETYPE type, D3DFORMAT format)
{
    if (IsDepthFormat(format) && (usage & D3DUSAGE_RENDERTARGET)) {
        usage = (usage & ~D3DUSAGE_RENDERTARGET) | D3DUSAGE_DEPTHSTENCIL;
    }
    auto known = std::find_if(formatChecks_.begin(), formatChecks_.end(), [&](const FormatCheck& check) {
        return check.usage == usage && check.type == type && check.format == format;
    });
    if (known != formatChecks_.end()) {
        return known->result;
    }
    const HRESULT result =
        direct3d_->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, displayMode_.Format, usage, type, format);
    formatChecks_.push_back({usage, type, format, result});
    return result;
}

D3DFORMAT D3D9Video::ChooseDepthFormat(D3DFORMAT colorFormat, D3DFORMAT requested)
{
    if (!IsDepthFormat(requested)) {
        return D3DFMT_UNKNOWN;
    }
    for (D3DFORMAT candidate : FormatCandidates(requested)) {
        if (SUCCEEDED(CheckFormat(D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, candidate))
            && SUCCEEDED(direct3d_->CheckDepthStencilMatch(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, displayMode_.Format,
                                                           colorFormat, candidate))) {
            return candidate;
        }
    }
    return D3DFMT_UNKNOWN;
}

D3DFORMAT D3D9Video::ChooseTextureFormat(DWORD usage, D3DRESOURCETYPE type, D3DFORMAT wanted)
{
    for (D3DFORMAT candidate : FormatCandidates(wanted)) {
        if (SUCCEEDED(CheckFormat(usage, type, candidate))) {
            return candidate;
        }
    }
    return D3DFMT_UNKNOWN;
}
