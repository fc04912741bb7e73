#include "game/world/ShadowMap.h"

#include "engine/core/LogHub.h"
#include "engine/files/ArchiveList.h"
#include "engine/video/TextureResource.h"
#include "engine/video/VideoDevice.h"
#include "render/device/DepthSurface.h"

namespace {

void ReadMatrix(Stream& file, Matrix44& matrix)
{
    file.Read(&matrix.m[0][0], static_cast<int32_t>(sizeof matrix.m));
}

TextureDesc ShadowTextureDesc(bool renderTarget)
{
    return {kTextureR32F, kTextureKind2D, kShadowMapEdge, kShadowMapEdge, kShadowMapEdge, kShadowMapEdge, 1, false,
            renderTarget, false};
}

// Depths are compared texel by texel, never blended.
void UsePointSampling(TextureResource& texture)
{
    texture.SetFiltering(false);
    texture.SetMipmapping(false);
}

} // namespace

bool ReadShadowCacheHeader(Stream& file, ShadowCamera& camera)
{
    if (file.GetSize() != kShadowCacheBytes) {
        LogHub::PrintError("%s is %d bytes, not a shadow map of %d: ignored", file.GetName().c_str(), file.GetSize(),
                           kShadowCacheBytes);
        return false;
    }
    ReadMatrix(file, camera.view);
    ReadMatrix(file, camera.projection);
    camera.farDistance = file.ReadFloat();
    return true;
}

void ReadShadowCacheTexels(Stream& file, void* pixels, int32_t pitch)
{
    auto* row = static_cast<uint8_t*>(pixels);
    for (int32_t y = 0; y < kShadowMapEdge; ++y, row += pitch) {
        file.Read(row, kShadowRowBytes);
    }
}

ShadowMap::ShadowMap() = default;
ShadowMap::~ShadowMap() = default;

void ShadowMap::Create(VideoDevice* device)
{
    needsGeneration_ = true;
    if (!device) {
        return;
    }
    if (FileExists(kShadowCacheFile) && ReadCache(*device)) {
        return;
    }
    CreateTarget(*device);
}

bool ShadowMap::ReadCache(VideoDevice& device)
{
    const std::unique_ptr<Stream> file = OpenFile(kShadowCacheFile);
    ShadowCamera camera;
    if (!ReadShadowCacheHeader(*file, camera)) {
        return false;
    }
    texture_ = device.CreateTexture(ShadowTextureDesc(false));
    if (!texture_) {
        return false;
    }
    texture_->SetName(L"ShadowMap");
    UsePointSampling(*texture_);
    const LockedPixels locked = texture_->Lock({0, 0, kShadowMapEdge, kShadowMapEdge}, 0);
    if (locked.pixels) {
        ReadShadowCacheTexels(*file, locked.pixels, locked.pitch);
        texture_->Unlock(0);
    }
    camera_ = camera;
    needsGeneration_ = false;
    return true;
}

void ShadowMap::CreateTarget(VideoDevice& device)
{
    texture_ = device.CreateTexture(ShadowTextureDesc(true));
    if (!texture_) {
        return;
    }
    texture_->SetName(L"ShadowMap");
    UsePointSampling(*texture_);
    depth_ = device.CreateDepthStencil({kShadowMapEdge, kShadowMapEdge, kTextureD24S8, false, texture_.get()});
}
