#pragma once
// Everything that can be bound as a texture, drawn into or read back: 2D,
// cube and volume textures, the faces and slices of the last two, render
// surfaces and frame lists. The base answers for a resource without pixels
// of its own; each kind overrides what it has. The console, the fonts and
// the menus hold textures through this base; the renderer defines the kinds.

#include "engine/files/WideString.h"
#include "engine/video/TextureFormat.h"

#include <cstdint>
#include <memory>

struct TextureRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct TextureSize {
    float width;
    float height;
};

// Locked memory: rows pitch bytes apart; pixels null when nothing is locked.
struct LockedPixels {
    void* pixels = nullptr;
    int32_t pitch = 0;
};

// Pixels handed to Upload: rows pitch bytes apart.
struct SourcePixels {
    const void* pixels;
    int32_t pitch;
};

class TextureResource {
public:
    explicit TextureResource(int32_t kind) : kind_(kind) {}
    virtual ~TextureResource() = default;
    TextureResource(const TextureResource&) = delete;
    TextureResource& operator=(const TextureResource&) = delete;

    // What binding this resource binds: itself, or a frame list's current frame.
    virtual TextureResource* GetCurrent() { return this; }
    // The allocated size.
    virtual float GetWidth() const { return 0.0f; }
    virtual float GetHeight() const { return 0.0f; }
    virtual TextureSize GetSize() const { return {GetWidth(), GetHeight()}; }
    // The size of the picture it holds: smaller than the allocated size when
    // the adapter needed a larger texture.
    virtual float GetImageWidth() const { return 0.0f; }
    virtual float GetImageHeight() const { return 0.0f; }
    virtual TextureSize GetImageSize() const { return {GetImageWidth(), GetImageHeight()}; }
    virtual int32_t GetLevelCount() const { return 1; }

    // Sampler settings (D3DTEXTUREADDRESS values); only bindable textures keep them.
    virtual void SetAddressU(uint32_t mode) {}
    virtual void SetAddressV(uint32_t mode) {}
    virtual void SetAddressW(uint32_t mode) {}
    virtual void SetMipmapping(bool on) {}
    // Stored as bias - 1.5: the game's textures are drawn a little sharper than Direct3D's default.
    virtual void SetLodBias(float bias) {}
    virtual void SetFiltering(bool linear) {}
    // Moves a managed texture into video memory ahead of its first use.
    virtual void PreLoad() {}

    virtual int32_t GetFormat() const = 0;
    // Nothing is locked when the resource cannot be written directly.
    virtual LockedPixels Lock(const TextureRect& rect, int32_t level) { return {}; }
    virtual void Unlock(int32_t level) {}
    // Converts the source rectangle of pixels in sourceFormat into the whole level.
    virtual void Upload(const TextureRect& rect, int32_t level, const SourcePixels& source, int32_t sourceFormat) {}
    // A new texture object on the same pixels, with default sampler settings;
    // none for the kinds whose pixels cannot be shared.
    virtual std::unique_ptr<TextureResource> Clone() { return nullptr; }
    virtual bool IsValid() const { return true; }

    int32_t GetKind() const { return kind_; }
    const WideString& GetName() const { return name_; }
    void SetName(const WideString& name) { name_ = name; }

private:
    int32_t kind_;
    WideString name_;
};
