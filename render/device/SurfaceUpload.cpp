#include "render/device/SurfaceUpload.h"

#include "render/device/Direct3DFormats.h"

#include <d3dx9tex.h>

void UploadToSurface(IDirect3DSurface9* surface, const TextureRect& rect, const SourcePixels& source, int32_t sourceFormat)
{
    if (!surface || !source.pixels) {
        return;
    }
    const RECT sourceRect{rect.left, rect.top, rect.right, rect.bottom};
    D3DXLoadSurfaceFromMemory(surface, nullptr, nullptr, source.pixels, Direct3DFormatOf(sourceFormat),
                              static_cast<UINT>(source.pitch), nullptr, &sourceRect, D3DX_FILTER_TRIANGLE, 0);
}
