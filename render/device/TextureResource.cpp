#include "render/device/TextureResource.h"

#include "render/device/DFTexture.h"

TextureResource::TextureResource(int32_t kind) : kind_(kind) {}

TextureResource::~TextureResource() = default;

void TextureResource::SetDFEntry(std::unique_ptr<DFTexture> entry)
{
    dfEntry_ = std::move(entry);
}
