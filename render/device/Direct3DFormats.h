#pragma once
// Our texture formats in Direct3D's terms, and which Direct3D formats stand
// in for one the adapter lacks, nearest first.

#include "engine/video/TextureFormat.h"

#include <d3d9.h>

#include <vector>

// D3DFMT_UNKNOWN for a number outside the named formats.
D3DFORMAT Direct3DFormatOf(int32_t format);
// kTextureOther for a Direct3D format without a name of ours.
int32_t TextureFormatOf(D3DFORMAT format);

// The wanted format first, then its stand-ins; empty for a format that has
// none (it is then not offered at all).
const std::vector<D3DFORMAT>& FormatCandidates(D3DFORMAT wanted);
