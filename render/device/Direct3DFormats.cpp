#include "render/device/Direct3DFormats.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr D3DFORMAT kDirect3DFormats[] = {
    D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_R8G8B8, D3DFMT_A8, D3DFMT_DXT1, D3DFMT_DXT3, D3DFMT_DXT5,
    D3DFMT_R32F, D3DFMT_A16B16G16R16F, D3DFMT_A32B32G32R32F, D3DFMT_D32, D3DFMT_D24S8, D3DFMT_D16,
};

struct Candidates {
    D3DFORMAT wanted;
    std::vector<D3DFORMAT> inOrder;
};

// Colour formats fall back to ones with the same channels before fewer bits;
// alpha formats keep an alpha channel; depth formats keep a depth buffer.
const Candidates kCandidates[] = {
    {D3DFMT_R8G8B8, {D3DFMT_R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_DXT1, D3DFMT_DXT3, D3DFMT_DXT5, D3DFMT_R5G6B5}},
    {D3DFMT_A8R8G8B8, {D3DFMT_A8R8G8B8, D3DFMT_DXT3, D3DFMT_DXT5, D3DFMT_A4R4G4B4, D3DFMT_DXT1}},
    {D3DFMT_X8R8G8B8, {D3DFMT_X8R8G8B8, D3DFMT_R8G8B8, D3DFMT_DXT1, D3DFMT_DXT3, D3DFMT_DXT5, D3DFMT_R5G6B5}},
    {D3DFMT_A8, {D3DFMT_L8, D3DFMT_A8}},
    {D3DFMT_D32, {D3DFMT_D32, D3DFMT_D24S8, D3DFMT_D16}},
    {D3DFMT_D24S8, {D3DFMT_D24S8, D3DFMT_D32, D3DFMT_D16}},
    {D3DFMT_D16, {D3DFMT_D16, D3DFMT_D24S8, D3DFMT_D32}},
    {D3DFMT_A16B16G16R16F, {D3DFMT_A16B16G16R16F, D3DFMT_A32B32G32R32F}},
    {D3DFMT_R32F, {D3DFMT_R32F, D3DFMT_R16F, D3DFMT_L16, D3DFMT_L8, D3DFMT_A8, D3DFMT_A8R8G8B8}},
    {D3DFMT_A32B32G32R32F, {D3DFMT_A32B32G32R32F, D3DFMT_A16B16G16R16F}},
    {D3DFMT_DXT1, {D3DFMT_DXT1, D3DFMT_DXT3, D3DFMT_DXT5, D3DFMT_X8R8G8B8, D3DFMT_R8G8B8, D3DFMT_R5G6B5}},
    {D3DFMT_DXT3, {D3DFMT_DXT3, D3DFMT_DXT5, D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4}},
    {D3DFMT_DXT5, {D3DFMT_DXT5, D3DFMT_DXT3, D3DFMT_A8R8G8B8, D3DFMT_A4R4G4B4}},
};

} // namespace

D3DFORMAT Direct3DFormatOf(int32_t format)
{
    if (format < 0 || format >= static_cast<int32_t>(std::size(kDirect3DFormats))) {
        return D3DFMT_UNKNOWN;
    }
    return kDirect3DFormats[format];
}

int32_t TextureFormatOf(D3DFORMAT format)
{
    const auto found = std::find(std::begin(kDirect3DFormats), std::end(kDirect3DFormats), format);
    if (found == std::end(kDirect3DFormats)) {
        return kTextureOther;
    }
    return static_cast<int32_t>(found - std::begin(kDirect3DFormats));
}

const std::vector<D3DFORMAT>& FormatCandidates(D3DFORMAT wanted)
{
    static const std::vector<D3DFORMAT> none;
    const auto row = std::find_if(std::begin(kCandidates), std::end(kCandidates),
                                  [wanted](const Candidates& entry) { return entry.wanted == wanted; });
    return row == std::end(kCandidates) ? none : row->inOrder;
}
