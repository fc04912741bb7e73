#pragma once
// A material of the world: a shader effect, shared by name, with the values
// the world file gives its variables (textures by name, other values as raw
// bytes). The effect's parent block is the World, so it also sees the
// frame's lighting and fog.

#include "engine/files/Stream.h"
#include "engine/files/WideString.h"
#include "engine/video/TextureResource.h"
#include "render/models/MeshFile.h"
#include "render/shaders/ShaderEffect.h"

#include <cstdint>
#include <memory>
#include <vector>

class ShaderVariableBlock;
class VideoDevice;

struct Material {
    WideString effectName;
    std::vector<MaterialParam> params;   // the effect points at the raw values' bytes
    std::vector<WideString> textureNames;
    std::vector<std::unique_ptr<TextureResource>> textures;
    std::unique_ptr<ShaderEffect> effect;   // none without a video device
};

// One material record of the world file into material, with its effect
// loaded through the device (none: the records only). False, reported, when
// the record does not fit the file.
bool ReadMaterial(Stream& file, VideoDevice* device, ShaderVariableBlock& world, Material& material);
