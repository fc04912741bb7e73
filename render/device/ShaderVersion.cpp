#include "render/device/ShaderVersion.h"

#include <d3d9.h>

#include <algorithm>

namespace {

constexpr int32_t kHighestProfileMajor = 2;

} // namespace

ShaderVersion DescribeShaderVersion(const char* profileFormat, uint32_t version)
{
    const int32_t major = static_cast<int32_t>(D3DSHADER_VERSION_MAJOR(version));
    const int32_t minor = static_cast<int32_t>(D3DSHADER_VERSION_MINOR(version));
    ShaderVersion described{{}, major * 10 + minor};
    FormatWideString(described.profile, profileFormat, std::min(major, kHighestProfileMajor), minor);
    return described;
}
