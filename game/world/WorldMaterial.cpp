#include "game/world/WorldMaterial.h"

#include "engine/video/VideoDevice.h"
#include "game/world/WorldFileChecks.h"
#include "render/device/TextureLookup.h"
#include "render/shaders/ShaderVariable.h"

namespace {

bool ReadTextureParameter(Stream& file, VideoDevice* device, Material& material, MaterialParam& param)
{
    if (!ReadText(file, param.textureName)) {
        return false;
    }
    const WideString& textureName = param.textureName;
    material.textureNames.push_back(textureName);
    if (!device || !material.effect) {
        return true;
    }
    const int32_t variable = material.effect->AddVariable(param.name, kShaderTexture, false);
    material.textures.push_back(GetTexture(*device, textureName));
    material.effect->SetTexture(variable, material.textures.back().get());
    return true;
}

bool ReadValueParameter(Stream& file, Material& material, MaterialParam& param)
{
    int32_t size = 0;
    if (!ReadRecordCount(file, 1, size)) {
        return false;
    }
    param.value.resize(static_cast<size_t>(size));
    if (!ReadBlock(file, param.value.data(), size)) {
        return false;
    }
    if (material.effect) {
        const int32_t variable = material.effect->AddVariable(param.name, kShaderData, false);
        material.effect->SetValue(variable, size > 0 ? param.value.data() : nullptr, static_cast<uint32_t>(size));
    }
    return true;
}

} // namespace

bool ReadMaterial(Stream& file, VideoDevice* device, ShaderVariableBlock& world, Material& material)
{
    if (!ReadText(file, material.effectName)) {
        return false;
    }
    if (device) {
        material.effect = device->LoadShader(material.effectName);
        if (material.effect) {
            material.effect->SetParent(&world);
        }
    }
    // A parameter holds at least its name's length and its kind.
    int32_t count = 0;
    if (!ReadRecordCount(file, 8, count)) {
        return false;
    }
    // Sized once: the effect keeps pointers into the values.
    material.params.resize(static_cast<size_t>(count));
    for (MaterialParam& param : material.params) {
        if (!ReadText(file, param.name) || !ReadBlock(file, &param.kind, 4)) {
            return false;
        }
        const bool read = param.kind == MaterialParam::kTexture ? ReadTextureParameter(file, device, material, param)
                                                          : ReadValueParameter(file, material, param);
        if (!read) {
            return false;
        }
    }
    return true;
}
