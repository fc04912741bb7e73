#include "render/device/TextureLookup.h"

#include "engine/core/dcEngine.h"
#include "engine/files/ResourceFactory.h"
#include "engine/video/TextureResource.h"
#include "engine/video/VideoDevice.h"
#include "platform/dfengine/DFEngine.h"
#include "render/device/DFTexture.h"
#include "render/device/DctTextureLoader.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int32_t kPlaceholderEdge = 64;
constexpr int32_t kPlaceholderTexelBytes = 3;
const WideString kStaticItemPrefix = L"DFS_";
const WideString kDynamicItemPrefix = L"DFD_";
constexpr size_t kExtensionLength = 4;   // ".DCT"

TextureCacheEntry* FindCacheEntry(VideoDevice& device, const WideString& name)
{
    std::vector<TextureCacheEntry>& cache = device.GetTextureCache();
    const auto found =
        std::find_if(cache.begin(), cache.end(), [&](const TextureCacheEntry& entry) { return entry.name == name; });
    return found == cache.end() ? nullptr : &*found;
}

// A new texture on the pixels of the first one handed out under the entry's name.
std::unique_ptr<TextureResource> ShareCached(TextureCacheEntry& entry)
{
    std::unique_ptr<TextureResource> clone = entry.textures.front()->Clone();
    if (clone) {
        entry.textures.push_back(clone.get());
    }
    return clone;
}

std::unique_ptr<TextureResource> AddCacheEntry(VideoDevice& device, const WideString& name,
                                               std::unique_ptr<TextureResource> texture)
{
    if (texture) {
        device.GetTextureCache().push_back({name, {texture.get()}});
    }
    return texture;
}

// A texture whose pixels the component supplies; none when the component
// does not know the item or cannot be shown. The item name is the texture
// name without its extension.
std::unique_ptr<TextureResource> GetDFTexture(VideoDevice& device, const WideString& name, DFEngine& component,
                                              bool dynamic, bool& known)
{
    auto entry = std::make_unique<DFTexture>(component);
    known = entry->AcquireItem(WideStringToNarrow(name.substr(0, name.size() - kExtensionLength)));
    if (!known) {
        return nullptr;
    }
    return AddCacheEntry(device, name, DFTexture::Init(std::move(entry), name, device, dynamic));
}

std::unique_ptr<TextureResource> Decode(VideoDevice& device, const WideString& name, const WideString& path)
{
    auto* loader = static_cast<TextureLoader*>(LoaderList::FindByExtension(TextureFactory(), name));
    std::unique_ptr<TextureResource> texture = loader ? loader->Decode(path, device) : nullptr;
    if (!texture) {
        return CreatePlaceholderTexture(device);
    }
    texture->SetName(path);
    return texture;
}

} // namespace

void RegisterTextureLoaders()
{
    LoaderList& loaders = TextureFactory().Loaders();
    if (loaders.IsEmpty()) {
        loaders.Append(std::make_unique<DctTextureLoader>());
    }
}

std::unique_ptr<TextureResource> GetTexture(VideoDevice& device, const WideString& name)
{
    return GetTexture(device, name, dcEngine::Instance().GetDFEngine());
}

std::unique_ptr<TextureResource> GetTexture(VideoDevice& device, const WideString& name, DFEngine* component)
{
    WideString upper = name;
    WideStringToUpper(upper);
    const bool dynamic = WideStringStartsWith(upper, kDynamicItemPrefix);
    if (component && (dynamic || WideStringStartsWith(upper, kStaticItemPrefix))) {
        bool known = false;
        std::unique_ptr<TextureResource> texture = GetDFTexture(device, name, *component, dynamic, known);
        if (known) {
            return texture;
        }
    }
    const WideString resolved = TextureFactory().Resolve(name, true);
    // A missing file is cached under the name asked for, so that asking
    // again shares one checkerboard.
    const WideString& cachedName = resolved.empty() ? name : resolved;
    if (TextureCacheEntry* entry = FindCacheEntry(device, cachedName)) {
        if (std::unique_ptr<TextureResource> shared = ShareCached(*entry)) {
            if (!resolved.empty()) {
                shared->SetName(resolved);
            }
            return shared;
        }
    }
    if (resolved.empty()) {
        return AddCacheEntry(device, name, CreatePlaceholderTexture(device));
    }
    return AddCacheEntry(device, resolved, Decode(device, name, resolved));
}

std::unique_ptr<TextureResource> CreatePlaceholderTexture(VideoDevice& device)
{
    std::unique_ptr<TextureResource> texture = device.CreateTexture(
        {kTextureRgb24, kTextureKind2D, kPlaceholderEdge, kPlaceholderEdge, kPlaceholderEdge, kPlaceholderEdge, 1,
         false, false, false});
    if (!texture) {
        return nullptr;
    }
    std::vector<uint8_t> texels(kPlaceholderEdge * kPlaceholderEdge * kPlaceholderTexelBytes);
    for (int32_t y = 0; y < kPlaceholderEdge; ++y) {
        for (int32_t x = 0; x < kPlaceholderEdge; ++x) {
            const uint8_t shade = (x + y) % 2 ? 255 : 0;
            std::fill_n(&texels[(y * kPlaceholderEdge + x) * kPlaceholderTexelBytes], kPlaceholderTexelBytes, shade);
        }
    }
    texture->Upload({0, 0, kPlaceholderEdge, kPlaceholderEdge}, 0,
                    {texels.data(), kPlaceholderEdge * kPlaceholderTexelBytes}, kTextureRgb24);
    return texture;
}
