#pragma once
// The programs of all style files, shared by file name and define list: a
// fragment asking for a program it names with the same defines gets the one
// already made and counts as one more user. Files whose names end with
// "DCLS" are fixed-function descriptions; others are HLSL fragments compiled
// for the device.

#include "render/shaders/ShaderProgram.h"

#include <cstdint>

// None when the file cannot be read or compiled (nothing is logged), or, for
// a texture-stage description, when the device cannot run it.
VertexProgram* GetVertexShader(D3D9Video& device, const WideString& name, const ShaderDefines& defines);
PixelProgram* GetPixelShader(D3D9Video& device, const WideString& name, const ShaderDefines& defines);
// One user less; the last one destroys the program.
void ReleaseProgram(VertexProgram* program);
void ReleaseProgram(PixelProgram* program);

// Programs alive in the caches, for the shader listing and tests.
int32_t GetCachedVertexProgramCount();
int32_t GetCachedPixelProgramCount();
