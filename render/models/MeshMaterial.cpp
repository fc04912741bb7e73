#include "render/models/MeshMaterial.h"

#include "engine/files/ResourceFactory.h"
#include "engine/video/TextureResource.h"
#include "engine/video/VideoDevice.h"
#include "render/device/TextureLookup.h"
#include "render/shaders/ShaderEffect.h"

#include <algorithm>

namespace {

constexpr int32_t kExtensionLength = 4;

// The skinned figures' shaders transform on the card; skinned meshes are
// skinned on the processor and draw with the software-skinning ones.
WideString SkinnedShaderName(const WideString& name)
{
    WideString upper = name;
    WideStringToUpper(upper);
    if (upper == L"DCSKIN.DCS") {
        return L"dcSoftSkin.DCS";
    }
    if (upper == L"DCSKIN_ALPHA.DCS") {
        return L"dcSoftSkin_Alpha.DCS";
    }
    return name;
}

void SetTexture(VideoDevice& device, MeshMaterial& material, const WideString& variable, const WideString& name)
{
    const int32_t id = material.effect->AddVariable(variable, kShaderTexture, false);
    std::unique_ptr<TextureResource> texture = GetTexture(device, name);
    material.effect->SetTexture(id, texture.get());
    material.textures.push_back(std::move(texture));
}

// A suffix picks "<base><suffix>.DCT" where one exists; "<base>_S.DCT" adds
// a shininess map.
void SetTextureParam(VideoDevice& device, MeshMaterial& material, const MaterialParam& param,
                     const WideString& suffix, MaterialRules rules)
{
    const WideString base =
        WideStringSubstr(param.textureName, 0, std::max(WideStringTextLength(param.textureName) - kExtensionLength, 0));
    WideString name = param.textureName;
    if (rules == MaterialRules::kStatic) {
        WideString suffixed;
        FormatWideString(suffixed, "%s%s.DCT", base.c_str(), suffix.c_str());
        if (!TextureFactory().Resolve(suffixed, false).empty()) {
            name = suffixed;
        }
    }
    SetTexture(device, material, param.name, name);
    WideString shininess;
    FormatWideString(shininess, "%s_S.DCT", base.c_str());
    if (!TextureFactory().Resolve(shininess, false).empty()) {
        SetTexture(device, material, L"ShininessTex", shininess);
    }
}

void LoadEffect(VideoDevice& device, MeshMaterial& material, const WideString& shaderName, const WideString& suffix,
                MaterialRules rules)
{
    material.effect = device.LoadShader(shaderName);
    for (const MaterialParam& param : material.params) {
        if (param.kind == MaterialParam::kTexture) {
            SetTextureParam(device, material, param, suffix, rules);
            continue;
        }
        const int32_t id = material.effect->AddVariable(param.name, kShaderData, false);
        if (!param.value.empty()) {
            material.effect->SetValue(id, param.value.data(), static_cast<uint32_t>(param.value.size()));
        }
    }
}

} // namespace

MeshMaterial::MeshMaterial() = default;
MeshMaterial::~MeshMaterial() = default;
MeshMaterial::MeshMaterial(MeshMaterial&&) noexcept = default;
MeshMaterial& MeshMaterial::operator=(MeshMaterial&&) noexcept = default;

std::vector<MeshMaterial> LoadMeshMaterials(VideoDevice* device, std::vector<MaterialRecord>& records,
                                            const WideString& suffix, MaterialRules rules)
{
    std::vector<MeshMaterial> materials(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        MeshMaterial& material = materials[i];
        material.name = records[i].shaderName;
        WideStringToUpper(material.name);
        material.params = std::move(records[i].params);
        if (device != nullptr) {
            const WideString shaderName =
                rules == MaterialRules::kSkinned ? SkinnedShaderName(records[i].shaderName) : records[i].shaderName;
            LoadEffect(*device, material, shaderName, suffix, rules);
        }
    }
    return materials;
}
