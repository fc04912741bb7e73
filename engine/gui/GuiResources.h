#pragma once
// What the console and the menus need the renderer to make: textures by name
// ("Console.DCT", "Mouse.DCT") and the depth surfaces of the menus'
// off-screen images. The engine library does not link the renderer, so the
// program installs the renderer's maker at start-up. Without one (the
// engine's own tests) the GUI gets none of them and draws nothing of them.

#include "engine/files/WideString.h"

#include <memory>

class DepthSurface;
class TextureResource;
struct DepthDesc;

class GuiResources {
public:
    virtual ~GuiResources() = default;

    // A texture of the caller's own; a stand-in when the file is missing.
    virtual std::unique_ptr<TextureResource> GetTexture(const WideString& name) = 0;
    // A depth surface the maker keeps until the device goes; none when it cannot be made.
    virtual DepthSurface* CreateDepthSurface(const DepthDesc& desc) = 0;
};

// The maker stays the caller's.
void SetGuiResources(GuiResources* resources);
GuiResources* GetGuiResources();
