#pragma once
// A mesh material: the effect it draws with, with the textures and values
// its parameters set on it.

#include "engine/files/WideString.h"
#include "render/models/MeshFile.h"

#include <memory>
#include <vector>

class ShaderEffect;
class TextureResource;
class VideoDevice;

struct MeshMaterial {
    MeshMaterial();
    ~MeshMaterial();
    MeshMaterial(MeshMaterial&&) noexcept;
    MeshMaterial& operator=(MeshMaterial&&) noexcept;

    WideString name;   // upper-cased
    std::vector<MaterialParam> params;
    std::vector<std::unique_ptr<TextureResource>> textures;
    // Declared after the textures it points at, so it goes first.
    std::unique_ptr<ShaderEffect> effect;
};

// How a mesh's materials find their shaders and textures.
enum class MaterialRules {
    // Textures prefer "<base><suffix>.DCT" where it exists.
    kStatic,
    // The skin shaders are replaced by the software-skinning ones; textures
    // are taken as named.
    kSkinned,
};

// Loads each material's effect and sets its parameters. Without a device
// the materials keep their names and parameters but draw nothing.
std::vector<MeshMaterial> LoadMeshMaterials(VideoDevice* device, std::vector<MaterialRecord>& records,
                                            const WideString& suffix, MaterialRules rules);
