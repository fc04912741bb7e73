#pragma once
// The shader files (style descriptions, fixed-function descriptions, HLSL
// fragments) are read whole before they are parsed or compiled.

#include "engine/files/WideString.h"

#include <string>

// The file's bytes; empty when it cannot be opened.
std::string ReadShaderFile(const WideString& name);
