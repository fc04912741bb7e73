#include "render/shaders/FixedFunctionDescription.h"

#include "engine/core/LogHub.h"
#include "engine/math/Matrix44.h"
#include "render/device/D3D9Video.h"
#include "render/device/PackedColor.h"
#include "render/device/TransformCache.h"
#include "render/shaders/DclsNames.h"
#include "render/shaders/ShaderVariableBlock.h"
#include "render/shaders/ShaderVariableRegistry.h"
#include "render/shaders/XmlDescription.h"

#include <d3d9.h>

#include <array>
#include <bit>
#include <cstdlib>
#include <cstring>

namespace {

// Binding-cache entries: the fixed inputs, then four per light.
enum FixedFunctionEntry : size_t {
    kWorldEntry = 0,
    kViewEntry = 1,
    kProjEntry = 2,
    kAmbientEntry = 3,          // material ambient: "MatEmissive"
    kDiffuseColourEntry = 4,    // material diffuse colour: 1 - "MatEmissive"
    kDiffuseAlphaEntry = 5,     // material diffuse alpha: "MatDiffuse"
    kSpecularEntry = 6,         // "MatSpecular": resolved, not used
    kShininessEntry = 7,
    kFogColourEntry = 8,
    kFirstLightEntry = 12,
};
constexpr size_t kEntriesPerLight = 4;   // ambient, diffuse, specular (light 0 only), direction

constexpr float kFogStart = 1.0f;
constexpr float kFogEnd = 10000.0f;
constexpr float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

struct LightCopy {
    D3DLIGHT9 light{};
    ValueCacheSlot ambient;
    ValueCacheSlot diffuse;
    ValueCacheSlot specular;
    ValueCacheSlot direction;
};

// What was last sent, shared by every description; compared before sending.
struct FixedFunctionState {
    D3DMATERIAL9 material{};
    ValueCacheSlot ambient;
    ValueCacheSlot diffuse;
    ValueCacheSlot shininess;
    float fogColour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    ValueCacheSlot fog;
    std::vector<LightCopy> lights;
};

FixedFunctionState& SharedState()
{
    static FixedFunctionState state;
    return state;
}

struct VariableIds {
    int32_t world = GetShaderVariableId(L"World");
    int32_t view = GetShaderVariableId(L"View");
    int32_t proj = GetShaderVariableId(L"Proj");
    int32_t emissive = GetShaderVariableId(L"MatEmissive");
    int32_t diffuse = GetShaderVariableId(L"MatDiffuse");
    int32_t specular = GetShaderVariableId(L"MatSpecular");
    int32_t shininess = GetShaderVariableId(L"MatShininess");
    int32_t fogColour = GetShaderVariableId(L"FogColor");
};

const VariableIds& Ids()
{
    static const VariableIds ids;
    return ids;
}

// Direction texts of the stage's coordinate source.
uint32_t TexCoordSourceFlag(const char* text)
{
    if (ContainsIgnoringCase(text, ".CamSpaceNormal")) {
        return D3DTSS_TCI_CAMERASPACENORMAL;
    }
    if (ContainsIgnoringCase(text, ".CamSpacePosition")) {
        return D3DTSS_TCI_CAMERASPACEPOSITION;
    }
    if (ContainsIgnoringCase(text, ".CamSpaceReflection")) {
        return D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR;
    }
    if (ContainsIgnoringCase(text, ".SphereMap")) {
        return D3DTSS_TCI_SPHEREMAP;
    }
    return 0;
}

void Negate3(float* v)
{
    for (int i = 0; i < 3; ++i) {
        v[i] = -v[i];
    }
}

} // namespace

void ForgetFixedFunctionState()
{
    SharedState() = FixedFunctionState{};
}

FixedFunctionDescription::FixedFunctionDescription(D3D9Video& device, const WideString& name)
    : VertexProgram(device, name, {})
{
    if (!ParseXmlDescription(name, this, OnStartElement)) {
        LogHub::PrintError("%s contains errors", name.c_str());
    }
}

void FixedFunctionDescription::OnStartElement(void* reader, const char* element, const char** attributes)
{
    auto& self = *static_cast<FixedFunctionDescription*>(reader);
    if (DclsElementIs(element, "Root")) {
        for (const char** a = attributes; a[0]; a += 2) {
            if (DclsAttributeIs(a[0], "Lighting")) {
                self.lighting_ = std::atoi(a[1]) != 0;
            }
        }
    } else if (DclsElementIs(element, "Stage")) {
        uint32_t source = static_cast<uint32_t>(self.stages_.size());
        for (const char** a = attributes; a[0]; a += 2) {
            if (DclsAttributeIs(a[0], "TexCoordSource")) {
                source = static_cast<uint32_t>(std::atoi(a[1])) | TexCoordSourceFlag(a[1]);
            }
        }
        self.stages_.push_back(source);
    } else if (DclsElementIs(element, "Fogging")) {
        self.fogging_ = true;
    } else if (DclsElementIs(element, "Specular")) {
        self.specular_ = true;
    } else if (DclsElementIs(element, "Light")) {
        self.ReadLight(attributes);
    }
}

void FixedFunctionDescription::ReadLight(const char** attributes)
{
    FixedFunctionLight light;
    for (const char** a = attributes; a[0]; a += 2) {
        const char* value = a[1];
        if (DclsAttributeIs(a[0], "Type")) {
            light.type = FirstLeadingName(value, {{"Directiona", D3DLIGHT_DIRECTIONAL},
                                                  {"Positional", D3DLIGHT_POINT},
                                                  {"Spot", D3DLIGHT_SPOT}});
        } else if (DclsAttributeIs(a[0], "Ambient")) {
            light.ambient = GetShaderVariableId(WidenXmlText(value));
        } else if (DclsAttributeIs(a[0], "Diffuse")) {
            light.diffuse = GetShaderVariableId(WidenXmlText(value));
        } else if (DclsAttributeIs(a[0], "Specular")) {
            light.specular = GetShaderVariableId(WidenXmlText(value));
        } else if (DclsAttributeIs(a[0], "Direction")) {
            light.direction = GetShaderVariableId(WidenXmlText(value));
        }
    }
    lights_.push_back(light);
}

ShaderVariable* FixedFunctionDescription::Lookup(ShaderVariableBlock* chain, BindingCache& cache, size_t entry,
                                                 int32_t id)
{
    return chain ? ResolveBinding(*chain, id, cache[entry], nullptr) : nullptr;
}

void FixedFunctionDescription::Bind(ShaderVariableBlock* chain, BindingCache& cache)
{
    device_.SetVertexShaderCached(nullptr);
    ChooseVertexProcessing(device_, device_.HasCapability(kCapabilityHardwareTransform));
    GrowBindingCache(cache, kFirstLightEntry + kEntriesPerLight * lights_.size());
    BindTransforms(chain, cache);
    for (size_t stage = 0; stage < stages_.size(); ++stage) {
        device_.SetTextureStageStateCached(static_cast<DWORD>(stage), D3DTSS_TEXCOORDINDEX, stages_[stage]);
    }
    BindMaterial(chain, cache);
    BindFog(chain, cache);
    BindLights(chain, cache);
}

// Matrix variables hold the layout shader constants take; the pipeline takes
// them transposed. A transform without a variable is the identity.
void FixedFunctionDescription::BindTransforms(ShaderVariableBlock* chain, BindingCache& cache)
{
    struct Transform {
        size_t entry;
        int32_t id;
        TransformCacheIndex cache;
        D3DTRANSFORMSTATETYPE state;
    };
    const VariableIds& ids = Ids();
    for (const Transform& t : {Transform{kWorldEntry, ids.world, kWorldTransform, D3DTS_WORLD},
                               Transform{kViewEntry, ids.view, kViewTransform, D3DTS_VIEW},
                               Transform{kProjEntry, ids.proj, kProjectionTransform, D3DTS_PROJECTION}}) {
        TransformCache& sent = GetTransformCache(t.cache);
        const ShaderVariable* variable = Lookup(chain, cache, t.entry, t.id);
        if (!variable) {
            // Forgotten, so that the variable coming back is sent again.
            sent.slot = {};
            if (std::memcmp(sent.matrix, kIdentity, sizeof kIdentity) != 0) {
                std::memcpy(sent.matrix, kIdentity, sizeof kIdentity);
                SetTransform(t.state, sent.matrix, false);
            }
            continue;
        }
        if (UpdateMatrixIfChanged(sent.slot, sizeof sent.matrix, *variable, sent.matrix)) {
            SetTransform(t.state, sent.matrix, true);
        }
    }
}

void FixedFunctionDescription::SetTransform(D3DTRANSFORMSTATETYPE state, const float* matrix, bool transposed)
{
    Matrix44 m;
    std::memcpy(m.m, matrix, sizeof m.m);
    if (transposed) {
        m = Matrix44::Transpose(m);
    }
    if (IDirect3DDevice9* device = device_.GetDirect3DDevice()) {
        device->SetTransform(state, reinterpret_cast<const D3DMATRIX*>(m.m));
    }
}

// Ambient is "MatEmissive", diffuse its complement with the alpha of
// "MatDiffuse", specular white, power 16 x "MatShininess".
void FixedFunctionDescription::BindMaterial(ShaderVariableBlock* chain, BindingCache& cache)
{
    FixedFunctionState& state = SharedState();
    D3DMATERIAL9& material = state.material;
    const VariableIds& ids = Ids();
    const ShaderVariable* emissive = Lookup(chain, cache, kAmbientEntry, ids.emissive);
    bool changed = UpdateValueIfChanged(state.ambient, 16, emissive, &material.Ambient, 0);
    changed |= UpdateInvertedColourIfChanged(state.diffuse, Lookup(chain, cache, kDiffuseColourEntry, ids.emissive),
                                             Lookup(chain, cache, kDiffuseAlphaEntry, ids.diffuse),
                                             &material.Diffuse.r);
    Lookup(chain, cache, kSpecularEntry, ids.specular);
    material.Specular = {1.0f, 1.0f, 1.0f, 0.0f};
    material.Power /= 16.0f;
    changed |= UpdateValueIfChanged(state.shininess, 4, Lookup(chain, cache, kShininessEntry, ids.shininess),
                                    &material.Power, 0);
    material.Power *= 16.0f;
    IDirect3DDevice9* device = device_.GetDirect3DDevice();
    if (changed && device) {
        device->SetMaterial(&material);
    }
}

void FixedFunctionDescription::BindFog(ShaderVariableBlock* chain, BindingCache& cache)
{
    FixedFunctionState& state = SharedState();
    UpdateValueIfChanged(state.fog, 16, Lookup(chain, cache, kFogColourEntry, Ids().fogColour), state.fogColour, 0);
    if (!fogging_) {
        device_.SetRenderStateCached(D3DRS_FOGENABLE, FALSE);
        return;
    }
    device_.SetRenderStateCached(D3DRS_FOGENABLE, TRUE);
    device_.SetRenderStateCached(D3DRS_FOGVERTEXMODE, D3DFOG_LINEAR);
    device_.SetRenderStateCached(D3DRS_FOGSTART, std::bit_cast<DWORD>(kFogStart));
    device_.SetRenderStateCached(D3DRS_FOGEND, std::bit_cast<DWORD>(kFogEnd));
    const float* c = state.fogColour;
    device_.SetRenderStateCached(D3DRS_FOGCOLOR, PackColor({c[0], c[1], c[2], c[3]}));
}

void FixedFunctionDescription::BindLights(ShaderVariableBlock* chain, BindingCache& cache)
{
    if (!lighting_) {
        device_.SetRenderStateCached(D3DRS_LIGHTING, FALSE);
        return;
    }
    device_.SetRenderStateCached(D3DRS_LIGHTING, TRUE);
    device_.SetRenderStateCached(D3DRS_SPECULARENABLE, specular_ ? TRUE : FALSE);
    std::vector<LightCopy>& copies = SharedState().lights;
    if (copies.size() < lights_.size()) {
        copies.resize(lights_.size());
    }
    IDirect3DDevice9* device = device_.GetDirect3DDevice();
    for (size_t j = 0; j < lights_.size(); ++j) {
        const FixedFunctionLight& light = lights_[j];
        LightCopy& copy = copies[j];
        const size_t entry = kFirstLightEntry + kEntriesPerLight * j;
        copy.light.Type = static_cast<D3DLIGHTTYPE>(light.type);
        bool changed = UpdateValueIfChanged(copy.ambient, 16, Lookup(chain, cache, entry, light.ambient),
                                            &copy.light.Ambient, 0);
        changed |= UpdateValueIfChanged(copy.diffuse, 16, Lookup(chain, cache, entry + 1, light.diffuse),
                                        &copy.light.Diffuse, 0);
        if (j == 0) {
            // Direct3D's specular highlight is half as bright as our lights ask.
            changed |= UpdateDoubledColourIfChanged(copy.specular, Lookup(chain, cache, entry + 2, light.specular),
                                                    &copy.light.Specular.r);
        } else {
            copy.light.Specular = {0.0f, 0.0f, 0.0f, 0.0f};
        }
        // Our directions point at the light; Direct3D's away from it.
        float* direction = &copy.light.Direction.x;
        Negate3(direction);
        changed |= UpdateValueIfChanged(copy.direction, 12, Lookup(chain, cache, entry + 3, light.direction),
                                        direction, 0);
        Negate3(direction);
        if (changed && device) {
            device->SetLight(static_cast<DWORD>(j), &copy.light);
            device->LightEnable(static_cast<DWORD>(j), TRUE);
        }
    }
}
