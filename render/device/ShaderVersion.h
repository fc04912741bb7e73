#pragma once
// A shader version as the renderer uses it: the profile the shader programs
// are compiled for, and the number the effects compare against.

#include "engine/files/WideString.h"

#include <cstdint>

struct ShaderVersion {
    WideString profile;   // e.g. "ps_2_0"; the major version held at 2, which our programs target
    int32_t number;       // major x 10 + minor as the hardware reports it: 30 for 3.0
};

// profileFormat takes the major and minor version, e.g. "vs_%d_%d";
// version is a Direct3D shader version word from the device caps.
ShaderVersion DescribeShaderVersion(const char* profileFormat, uint32_t version);
