#include "render/shaders/StyleFile.h"

#include "engine/core/ClassIdentity.h"
#include "engine/core/LogHub.h"
#include "engine/files/ResourceFactory.h"
#include "render/device/D3D9Video.h"
#include "render/shaders/ProgramCache.h"
#include "render/shaders/XmlDescription.h"

#include <bit>
#include <cstdlib>
#include <string.h>

namespace {

constexpr int32_t kProjectedStages = 4;

bool NameIs(const char* name, const char* keyword)
{
    return _stricmp(name, keyword) == 0;
}

} // namespace

const ShaderPass* ShaderTechnique::FindPass(int32_t passKey) const
{
    const int32_t index = FindPassIndex(passKey);
    return index >= 0 ? &passes[index] : nullptr;
}

int32_t ShaderTechnique::FindPassIndex(int32_t passKey) const
{
    for (size_t i = 0; i < passes.size(); ++i) {
        if (passes[i].index == passKey) {
            return static_cast<int32_t>(i);
        }
    }
    return passes.empty() ? -1 : 0;
}

int32_t StyleKey(const WideString& name)
{
    return static_cast<int32_t>(
        Crc32XorLength(0, name.data(), static_cast<int32_t>(name.size() * sizeof(wchar_t))));
}

StyleFile::StyleFile(D3D9Video& device, const WideString& name)
    : device_(device)
    , name_(name)
{
    LogHub::PrintVerbose("D3D9Video: Loading %s", name.c_str());
    if (!ParseXmlDescription(name, this, OnStartElement)) {
        LogHub::PrintError("D3D9Video: %s contains errors", name.c_str());
    }
    LogHub::PrintVerbose("D3D9Video: %s created", name.c_str());
}

StyleFile::~StyleFile()
{
    for (ShaderStyle& style : styles_) {
        for (ShaderTechnique& technique : style.techniques) {
            for (ShaderPass& pass : technique.passes) {
                for (ShaderFragment& fragment : pass.fragments) {
                    ReleaseProgram(fragment.pixelProgram);
                    ReleaseProgram(fragment.vertexProgram);
                }
            }
        }
    }
}

void StyleFile::OnStartElement(void* reader, const char* element, const char** attributes)
{
    auto& self = *static_cast<StyleFile*>(reader);
    if (NameIs(element, "Style")) {
        self.ReadStyle(attributes);
    } else if (NameIs(element, "Technique")) {
        self.ReadTechnique(attributes);
    } else if (NameIs(element, "Pass")) {
        self.ReadPass(attributes);
    } else if (NameIs(element, "Define")) {
        self.ReadDefine(attributes);
    } else if (NameIs(element, "Fragment")) {
        self.ReadFragment(attributes);
    }
}

void StyleFile::IgnoreOrphan(const wchar_t* element, const wchar_t* parent) const
{
    LogHub::PrintError("D3D9Video: %s: %s before any %s ignored", name_.c_str(), element, parent);
}

ShaderTechnique* StyleFile::LastTechnique()
{
    if (styles_.empty() || styles_.back().techniques.empty()) {
        return nullptr;
    }
    return &styles_.back().techniques.back();
}

void StyleFile::ReadStyle(const char** attributes)
{
    ShaderStyle& style = styles_.emplace_back();
    style.key = StyleKey(style.name);
    for (const char** a = attributes; a[0]; a += 2) {
        if (NameIs(a[0], "Name")) {
            style.name = WidenXmlText(a[1]);
            style.key = StyleKey(style.name);
        }
    }
}

void StyleFile::ReadTechnique(const char** attributes)
{
    if (styles_.empty()) {
        IgnoreOrphan(L"Technique", L"Style");
        return;
    }
    ShaderTechnique& technique = styles_.back().techniques.emplace_back();
    for (const char** a = attributes; a[0]; a += 2) {
        if (NameIs(a[0], "DetailID")) {
            technique.detailId = std::atoi(a[1]);
        }
    }
}

void StyleFile::ReadPass(const char** attributes)
{
    ShaderTechnique* technique = LastTechnique();
    if (!technique) {
        IgnoreOrphan(L"Pass", L"Technique");
        return;
    }
    ShaderPass& pass = technique->passes.emplace_back();
    for (const char** a = attributes; a[0]; a += 2) {
        if (NameIs(a[0], "Index")) {
            pass.index = std::atoi(a[1]);
        }
    }
}

// Defines reach the programs of the fragments that come after them.
void StyleFile::ReadDefine(const char** attributes)
{
    ShaderTechnique* technique = LastTechnique();
    if (!technique) {
        IgnoreOrphan(L"Define", L"Technique");
        return;
    }
    for (const char** a = attributes; a[0]; a += 2) {
        technique->defines.push_back({WidenXmlText(a[0]), WidenXmlText(a[1])});
    }
}

void StyleFile::ReadFragment(const char** attributes)
{
    ShaderTechnique* technique = LastTechnique();
    if (!technique || technique->passes.empty()) {
        IgnoreOrphan(L"Fragment", L"Pass");
        return;
    }
    ShaderFragment& fragment = technique->passes.back().fragments.emplace_back();
    for (const char** a = attributes; a[0]; a += 2) {
        if (NameIs(a[0], "VShader")) {
            ReleaseProgram(fragment.vertexProgram);
            fragment.vertexProgram = LoadVertexProgram(a[1]);
        } else if (NameIs(a[0], "PShader")) {
            ReleaseProgram(fragment.pixelProgram);
            fragment.pixelProgram = LoadPixelProgram(a[1]);
        } else {
            ApplyFragmentAttribute(fragment, a[0], a[1]);
        }
    }
}

WideString StyleFile::ResolveProgram(const char* value) const
{
    const WideString written = WidenXmlText(value);
    const ResourceFactory& factory = ShaderFactory();
    const WideString resolved = factory.Resolve(written, false);
    if (resolved.empty()) {
        LogHub::Printf("%s: %s ^1%s^7 not found while compiling %s!", factory.Name().c_str(), factory.Kind().c_str(),
                       written.c_str(), name_.c_str());
    }
    return resolved;
}

VertexProgram* StyleFile::LoadVertexProgram(const char* value)
{
    const WideString resolved = ResolveProgram(value);
    return resolved.empty() ? nullptr : GetVertexShader(device_, resolved, LastTechnique()->defines);
}

PixelProgram* StyleFile::LoadPixelProgram(const char* value)
{
    const WideString resolved = ResolveProgram(value);
    return resolved.empty() ? nullptr : GetPixelShader(device_, resolved, LastTechnique()->defines);
}

void StyleFile::ClearValidated()
{
    for (ShaderStyle& style : styles_) {
        for (ShaderTechnique& technique : style.techniques) {
            technique.validated = false;
        }
    }
}

bool StyleFile::ValidateTechnique(int32_t row, int32_t& technique, int32_t passKey, ShaderVariableBlock* effect)
{
    if (row < 0 || row >= GetStyleCount() || styles_[row].techniques.empty()) {
        technique = -1;
        return false;
    }
    const ShaderStyle& style = styles_[row];
    std::vector<ShaderTechnique>& techniques = styles_[row].techniques;
    const int32_t last = static_cast<int32_t>(techniques.size()) - 1;
    if (technique >= 0 && technique <= last && techniques[technique].validated) {
        return true;
    }
    // The most detailed technique the level allows, counting down from it.
    technique = 0;
    for (int32_t level = detailLevel; level >= 1; --level) {
        int32_t found = -1;
        for (int32_t t = 0; t <= last; ++t) {
            if (techniques[t].detailId == level) {
                found = t;
            }
        }
        if (found >= 0) {
            technique = found;
            break;
        }
    }
    // A technique that cannot run gives way to the next in the file.
    for (;;) {
        if (techniques[technique].validated || TryTechnique(techniques[technique], row, technique, passKey, effect)) {
            return true;
        }
        if (technique == last) {
            LogHub::PrintError("Shader '%s', style '%s' failed to validate", name_.c_str(), style.name.c_str());
            technique = -1;
            return false;
        }
        ++technique;
    }
}

bool StyleFile::TryTechnique(ShaderTechnique& technique, int32_t row, int32_t index, int32_t passKey,
                             ShaderVariableBlock* effect)
{
    technique.validated = true;
    const ShaderPass* pass = technique.FindPass(passKey);
    const int32_t fragments = pass ? static_cast<int32_t>(pass->fragments.size()) : 0;
    IDirect3DDevice9* direct3d = device_.GetDirect3DDevice();
    for (int32_t i = 0; i < fragments; ++i) {
        BindingCache vertexCache;
        BindingCache pixelCache;
        DWORD passes = 0;
        if (!ApplyFragment(row, index, passKey, i, effect, vertexCache, pixelCache) || !direct3d ||
            FAILED(direct3d->ValidateDevice(&passes))) {
            technique.validated = false;
            break;
        }
    }
    return technique.validated;
}

bool StyleFile::ApplyFragment(int32_t row, int32_t technique, int32_t passKey, int32_t fragment,
                              ShaderVariableBlock* effect, BindingCache& vertexCache, BindingCache& pixelCache)
{
    if (row < 0 || row >= GetStyleCount() || technique < 0 ||
        technique >= static_cast<int32_t>(styles_[row].techniques.size())) {
        return false;
    }
    const ShaderPass* pass = styles_[row].techniques[technique].FindPass(passKey);
    if (!pass || fragment < 0 || fragment >= static_cast<int32_t>(pass->fragments.size())) {
        return false;
    }
    const ShaderFragment& f = pass->fragments[fragment];
    if (!f.vertexProgram || !f.pixelProgram) {
        return false;
    }
    f.vertexProgram->Bind(effect, vertexCache);
    f.pixelProgram->Bind(effect, pixelCache);
    SetRenderStates(f);
    return true;
}

void StyleFile::SetRenderStates(const ShaderFragment& f)
{
    D3D9Video& d = device_;
    d.SetRenderStateCached(D3DRS_CULLMODE, f.cullMode);
    // Whole units of depth bias, as the style files give them.
    d.SetRenderStateCached(D3DRS_DEPTHBIAS, static_cast<DWORD>(static_cast<int32_t>(f.depthBias)));
    d.SetRenderStateCached(D3DRS_SLOPESCALEDEPTHBIAS, std::bit_cast<DWORD>(f.slopeBias));
    d.SetRenderStateCached(D3DRS_ZWRITEENABLE, f.zWrite);
    d.SetRenderStateCached(D3DRS_ZFUNC, f.zFunc);
    if (f.alphaFunc != D3DCMP_ALWAYS) {
        d.SetRenderStateCached(D3DRS_ALPHATESTENABLE, TRUE);
        d.SetRenderStateCached(D3DRS_ALPHAFUNC, f.alphaFunc);
        d.SetRenderStateCached(D3DRS_ALPHAREF, f.refAlpha);
    } else {
        d.SetRenderStateCached(D3DRS_ALPHATESTENABLE, FALSE);
    }
    if (f.stencilEnable) {
        d.SetRenderStateCached(D3DRS_STENCILENABLE, TRUE);
        d.SetRenderStateCached(D3DRS_STENCILFAIL, f.stencilFail);
        d.SetRenderStateCached(D3DRS_STENCILZFAIL, f.stencilZFail);
        d.SetRenderStateCached(D3DRS_STENCILPASS, f.stencilPass);
        d.SetRenderStateCached(D3DRS_STENCILFUNC, f.stencilFunc);
        if (f.twoSidedStencil) {
            d.SetRenderStateCached(D3DRS_TWOSIDEDSTENCILMODE, TRUE);
            d.SetRenderStateCached(D3DRS_CCW_STENCILFAIL, f.ccwStencilFail);
            d.SetRenderStateCached(D3DRS_CCW_STENCILZFAIL, f.ccwStencilZFail);
            d.SetRenderStateCached(D3DRS_CCW_STENCILPASS, f.ccwStencilPass);
            d.SetRenderStateCached(D3DRS_CCW_STENCILFUNC, f.ccwStencilFunc);
        } else {
            d.SetRenderStateCached(D3DRS_TWOSIDEDSTENCILMODE, FALSE);
        }
        d.SetRenderStateCached(D3DRS_STENCILREF, f.stencilRef);
        d.SetRenderStateCached(D3DRS_STENCILMASK, f.stencilMask);
        d.SetRenderStateCached(D3DRS_STENCILWRITEMASK, f.stencilWriteMask);
    } else {
        d.SetRenderStateCached(D3DRS_STENCILENABLE, FALSE);
    }
    if (f.alphaBlend) {
        d.SetRenderStateCached(D3DRS_ALPHABLENDENABLE, TRUE);
        d.SetRenderStateCached(D3DRS_SRCBLEND, f.srcBlend);
        d.SetRenderStateCached(D3DRS_DESTBLEND, f.destBlend);
    } else {
        d.SetRenderStateCached(D3DRS_ALPHABLENDENABLE, FALSE);
    }
    if (f.separateAlphaBlend) {
        d.SetRenderStateCached(D3DRS_SEPARATEALPHABLENDENABLE, TRUE);
        d.SetRenderStateCached(D3DRS_SRCBLENDALPHA, f.srcBlendAlpha);
        d.SetRenderStateCached(D3DRS_DESTBLENDALPHA, f.destBlendAlpha);
    } else {
        d.SetRenderStateCached(D3DRS_SEPARATEALPHABLENDENABLE, FALSE);
    }
    d.SetRenderStateCached(D3DRS_BLENDOP, f.blendOp);
    for (int32_t stage = 0; stage < kProjectedStages; ++stage) {
        d.SetTextureStageStateCached(stage, D3DTSS_TEXTURETRANSFORMFLAGS, f.textureTransformFlags[stage]);
    }
}
