#include "render/shaders/TextureStageDescription.h"

#include "engine/core/LogHub.h"
#include "engine/video/TextureResource.h"
#include "render/device/D3D9Video.h"
#include "render/shaders/DclsNames.h"
#include "render/shaders/ShaderReport.h"
#include "render/shaders/ShaderVariableBlock.h"
#include "render/shaders/ShaderVariableRegistry.h"
#include "render/shaders/XmlDescription.h"

namespace {

constexpr DWORD kMaxStages = 8;

int32_t OperationValue(const char* text)
{
    return LongestLeadingName(text, {{"Disable", D3DTOP_DISABLE},
                                     {"SelectArg1", D3DTOP_SELECTARG1},
                                     {"SelectArg2", D3DTOP_SELECTARG2},
                                     {"Modulate", D3DTOP_MODULATE},
                                     {"Modulate2x", D3DTOP_MODULATE2X},
                                     {"Modulate4x", D3DTOP_MODULATE4X},
                                     {"Add", D3DTOP_ADD},
                                     {"AddSigned", D3DTOP_ADDSIGNED},
                                     {"AddSigned2x", D3DTOP_ADDSIGNED2X},
                                     {"Subtract", D3DTOP_SUBTRACT},
                                     {"AddSmooth", D3DTOP_ADDSMOOTH},
                                     {"DotProduct3", D3DTOP_DOTPRODUCT3},
                                     {"Mad", D3DTOP_MULTIPLYADD},
                                     {"Lerp", D3DTOP_LERP}});
}

// An argument name with its modifiers, ".Alpha" and ".Complement", anywhere after it.
int32_t ArgumentValue(const char* text)
{
    int32_t value = FirstLeadingName(text, {{"Current", D3DTA_CURRENT},
                                            {"Diffuse", D3DTA_DIFFUSE},
                                            {"Texture", D3DTA_TEXTURE},
                                            {"Specular", D3DTA_SPECULAR},
                                            {"TFactor", D3DTA_TFACTOR},
                                            {"Temp", D3DTA_TEMP}});
    if (ContainsIgnoringCase(text, ".Alpha")) {
        value |= D3DTA_ALPHAREPLICATE;
    }
    if (ContainsIgnoringCase(text, ".Complement")) {
        value |= D3DTA_COMPLEMENT;
    }
    return value;
}

void ApplyStageAttribute(TextureStage& stage, const char* attribute, const char* value)
{
    struct Field {
        const char* keyword;
        int32_t* field;
        bool operation;
    };
    if (DclsAttributeIs(attribute, "Texture")) {
        stage.texture = GetShaderVariableId(WidenXmlText(value));
        return;
    }
    for (const Field& f : {Field{"ColorOp", &stage.colorOp, true}, Field{"AlphaOp", &stage.alphaOp, true},
                           Field{"ResultArg", &stage.resultArg, false},
                           Field{"AlphaArg0", &stage.alphaArg[0], false},
                           Field{"AlphaArg1", &stage.alphaArg[1], false},
                           Field{"AlphaArg2", &stage.alphaArg[2], false},
                           Field{"ColorArg0", &stage.colorArg[0], false},
                           Field{"ColorArg1", &stage.colorArg[1], false},
                           Field{"ColorArg2", &stage.colorArg[2], false}}) {
        if (DclsAttributeIs(attribute, f.keyword)) {
            *f.field = f.operation ? OperationValue(value) : ArgumentValue(value);
            return;
        }
    }
}

} // namespace

TextureStageDescription::TextureStageDescription(D3D9Video& device, const WideString& name)
    : PixelProgram(device, name, {})
{
    if (!ParseXmlDescription(name, this, OnStartElement)) {
        LogHub::PrintError("%s contains errors", name.c_str());
    }
}

void TextureStageDescription::OnStartElement(void* reader, const char* element, const char** attributes)
{
    if (!DclsElementIs(element, "Stage")) {
        return;
    }
    auto& self = *static_cast<TextureStageDescription*>(reader);
    TextureStage& stage = self.stages_.emplace_back();
    for (const char** a = attributes; a[0]; a += 2) {
        ApplyStageAttribute(stage, a[0], a[1]);
    }
}

bool TextureStageDescription::FitsDevice() const
{
    const D3DCAPS9& caps = device_.GetCaps();
    if (stages_.size() >= caps.MaxTextureBlendStages) {
        return false;
    }
    for (size_t i = stages_.size(); i > 0; --i) {
        if (stages_[i - 1].texture != -1) {
            return i - 1 < caps.MaxSimultaneousTextures;
        }
    }
    return true;
}

ShaderVariable* TextureStageDescription::FindTexture(ShaderVariableBlock* chain, BindingCache& cache, size_t stage)
{
    ResolvedBinding& entry = cache[stage];
    if (entry.state == ResolvedBinding::kFound) {
        return entry.variable;
    }
    const int32_t id = stages_[stage].texture;
    if (id == -1) {
        // Nothing to look for: the stage works on what earlier stages made.
        return nullptr;
    }
    entry.variable = chain ? chain->FindVariable(id) : nullptr;
    if (!entry.variable) {
        ReportShaderError("PixelShader Constant %s not found", GetShaderVariableName(id).c_str());
        return nullptr;
    }
    entry.state = ResolvedBinding::kFound;
    return entry.variable;
}

void TextureStageDescription::Bind(ShaderVariableBlock* chain, BindingCache& cache)
{
    device_.SetPixelShaderCached(nullptr);
    GrowBindingCache(cache, stages_.size());
    for (size_t i = 0; i < stages_.size(); ++i) {
        const TextureStage& stage = stages_[i];
        const DWORD s = static_cast<DWORD>(i);
        device_.SetTextureStageStateCached(s, D3DTSS_COLOROP, stage.colorOp);
        device_.SetTextureStageStateCached(s, D3DTSS_COLORARG0, stage.colorArg[0]);
        device_.SetTextureStageStateCached(s, D3DTSS_COLORARG1, stage.colorArg[1]);
        device_.SetTextureStageStateCached(s, D3DTSS_COLORARG2, stage.colorArg[2]);
        device_.SetTextureStageStateCached(s, D3DTSS_ALPHAOP, stage.alphaOp);
        device_.SetTextureStageStateCached(s, D3DTSS_ALPHAARG0, stage.alphaArg[0]);
        device_.SetTextureStageStateCached(s, D3DTSS_ALPHAARG1, stage.alphaArg[1]);
        device_.SetTextureStageStateCached(s, D3DTSS_ALPHAARG2, stage.alphaArg[2]);
        device_.SetTextureStageStateCached(s, D3DTSS_RESULTARG, stage.resultArg);
        if (const ShaderVariable* texture = FindTexture(chain, cache, i)) {
            device_.SetTexture(static_cast<int32_t>(i), VariableTexture(*texture));
        }
    }
    if (stages_.size() != kMaxStages) {
        const DWORD end = static_cast<DWORD>(stages_.size());
        device_.SetTextureStageStateCached(end, D3DTSS_COLOROP, D3DTOP_DISABLE);
        device_.SetTextureStageStateCached(end, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    }
}

void TextureStageDescription::PreloadTextures(ShaderVariableBlock* chain, BindingCache& cache)
{
    GrowBindingCache(cache, stages_.size());
    for (size_t i = 0; i < stages_.size(); ++i) {
        const ShaderVariable* variable = FindTexture(chain, cache, i);
        if (TextureResource* texture = variable ? VariableTexture(*variable) : nullptr) {
            texture->PreLoad();
        }
    }
}
