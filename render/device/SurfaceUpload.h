#pragma once
// Pixels of any of our formats converted into a Direct3D surface, for the
// textures whose levels and faces are filled this way.

#include "engine/video/TextureResource.h"

#include <d3d9.h>

// The source rectangle fills the whole surface, scaled when the sizes differ.
void UploadToSurface(IDirect3DSurface9* surface, const TextureRect& rect, const SourcePixels& source, int32_t sourceFormat);
