#pragma once
// The shadow map of the static world: a 2048 x 2048 texture of one float
// per texel with the view and projection of the camera it was made from.
// It is read from the cache "Misc\Shadow.dcShadow" whenever that file is
// present; otherwise the texture is a render target for test mode to
// generate it into.
//
// The cache file, little-endian, no header of its own:
//   0    64 bytes   view matrix, 16 float32 row by row
//   64   64 bytes   projection matrix, 16 float32 row by row
//   128  4 bytes    float32 far distance of the shadow camera
//   132  2048 x 2048 float32 texels, row by row from the top

#include "engine/math/Matrix44.h"

#include <cstdint>
#include <memory>

class DepthSurface;
class Stream;
class TextureResource;
class VideoDevice;

inline constexpr const wchar_t* kShadowCacheFile = L"Misc\\Shadow.dcShadow";
constexpr int32_t kShadowMapEdge = 2048;
constexpr int32_t kShadowRowBytes = kShadowMapEdge * 4;
constexpr int32_t kShadowCacheHeaderBytes = 64 + 64 + 4;
constexpr int32_t kShadowCacheBytes = kShadowCacheHeaderBytes + kShadowRowBytes * kShadowMapEdge;

struct ShadowCamera {
    Matrix44 view;
    Matrix44 projection;
    float farDistance = 1000.0f;   // until a cache is read or a map generated
};

// Reads the cache's camera. A stream that is not exactly a cache's size is
// no cache: false, logged, and nothing read.
bool ReadShadowCacheHeader(Stream& file, ShadowCamera& camera);
// Reads the texels after the header into rows pitch bytes apart.
void ReadShadowCacheTexels(Stream& file, void* pixels, int32_t pitch);

class ShadowMap {
public:
    ShadowMap();
    ~ShadowMap();
    ShadowMap(const ShadowMap&) = delete;
    ShadowMap& operator=(const ShadowMap&) = delete;

    // From the cache when it is present and whole, else as a target to generate.
    void Create(VideoDevice* device);

    // Set until a cache is read.
    bool NeedsGeneration() const { return needsGeneration_; }
    const ShadowCamera& GetCamera() const { return camera_; }
    TextureResource* GetTexture() const { return texture_.get(); }

private:
    bool ReadCache(VideoDevice& device);
    void CreateTarget(VideoDevice& device);

    ShadowCamera camera_;
    bool needsGeneration_ = true;
    std::unique_ptr<TextureResource> texture_;
    std::unique_ptr<DepthSurface> depth_;
};
