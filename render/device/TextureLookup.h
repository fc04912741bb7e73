#pragma once
// Textures asked for by name ("Console.DCT"). Every call hands out a texture
// object of its own, which the caller owns; calls for the same name share the
// pixels. Names beginning "DFS_" (static) or "DFD_" (dynamic) are offered to
// the DFEngine component first. A name that cannot be found or read still
// gives a usable texture: a 64 x 64 black-and-white checkerboard.

#include "engine/files/WideString.h"

#include <memory>

class DFEngine;
class TextureResource;
class VideoDevice;

// Through the engine's DFEngine component. None only when a DFEngine item
// cannot be shown or the device can make no texture at all.
std::unique_ptr<TextureResource> GetTexture(VideoDevice& device, const WideString& name);
// The same with the component given (none: no DFEngine names).
std::unique_ptr<TextureResource> GetTexture(VideoDevice& device, const WideString& name, DFEngine* component);

// The checkerboard that stands in for a missing texture: texel (x, y) white
// when x + y is odd, black when even. Its name is empty.
std::unique_ptr<TextureResource> CreatePlaceholderTexture(VideoDevice& device);
