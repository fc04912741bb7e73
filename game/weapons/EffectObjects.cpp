#include "game/weapons/EffectObjects.h"

#include "engine/core/Scene.h"
#include "engine/video/TextureResource.h"
#include "game/weapons/BloodMaker.h"
#include "game/weapons/DecalRing.h"
#include "game/weapons/ExplosionKind.h"
#include "game/weapons/FireMaker.h"
#include "game/weapons/ParticleRenderer.h"
#include "game/weapons/SmokeMaker.h"
#include "game/weapons/SparkMaker.h"
#include "game/weapons/dcDecalRenderer.h"
#include "game/weapons/dcExplosionMaker.h"
#include "game/weapons/dcParticleGroupImpl.h"
#include "render/device/TextureLookup.h"

#include <initializer_list>

namespace {

const wchar_t* const kHaloTextures[kHaloGroupCount] = {
    L"Halo02.DCT", L"halo_copred.DCT", L"halo_copblue.DCT", L"Halo01.DCT", L"StreetHalo.DCT",
};

const wchar_t* const kLightPoolTextures[kLightPoolCount] = {L"Lightmap.DCT", L"Lightmap_R.DCT", L"Lightmap_G.DCT"};

std::unique_ptr<TextureResource> LoadTexture(VideoDevice* device, const wchar_t* name)
{
    return device ? GetTexture(*device, name) : nullptr;
}

} // namespace

EffectObjects::EffectObjects(Scene& scene, VideoDevice* device, ShaderVariableBlock& world, const Vec3& gravity,
                             const bool& bloodEnabled)
    : scene_(scene)
{
    decalRenderer_ = std::make_unique<dcDecalRenderer>(device, TheDecalRing());
    decalRenderer_->SetParent(&world);
    scene_.Add(decalRenderer_.get());
    fire_ = std::make_unique<FireMaker>(LoadTexture(device, L"Fire.DCT"));
    scene_.Add(fire_.get());
    smoke_ = std::make_unique<SmokeMaker>(LoadTexture(device, L"Smoke.DCT"));
    scene_.Add(smoke_.get());
    sparks_ = std::make_unique<SparkMaker>(LoadTexture(device, L"spark.dct"), gravity);
    scene_.Add(sparks_.get());
    blood_ = std::make_unique<BloodMaker>(LoadTexture(device, L"Blood.DCT"), LoadTexture(device, L"BloodSplat.DCT"),
                                          *decalRenderer_, gravity, bloodEnabled);
    scene_.Add(blood_.get());
    explosions_ = std::make_unique<dcExplosionMaker>();
    scene_.Add(explosions_.get());
    LoadExplosionKinds(device);
    for (int32_t group = 0; group < kHaloGroupCount; ++group) {
        halos_[static_cast<size_t>(group)] =
            std::make_unique<dcParticleGroupImpl>(LoadTexture(device, kHaloTextures[group]), kParticleAdditive);
        scene_.Add(halos_[static_cast<size_t>(group)].get());
    }
    for (int32_t pool = 0; pool < kLightPoolCount; ++pool) {
        lightPoolTextures_[static_cast<size_t>(pool)] = LoadTexture(device, kLightPoolTextures[pool]);
        DecalBatch& batch = lightPools_[static_cast<size_t>(pool)];
        batch.shader = decalRenderer_->LoadShader(L"dcDecal_Add.DCS");
        batch.texture = lightPoolTextures_[static_cast<size_t>(pool)].get();
        decalRenderer_->AddBatch(&batch);
    }
    particleRenderer_ = std::make_unique<ParticleRenderer>(device, &world);
    instance_ = this;
}

EffectObjects::~EffectObjects()
{
    if (instance_ == this) {
        instance_ = nullptr;
    }
    for (std::unique_ptr<dcParticleGroupImpl>& halo : halos_) {
        scene_.Remove(halo.get());
    }
    for (dcParticleGroup* emitter : std::initializer_list<dcParticleGroup*>{fire_.get(), smoke_.get(), sparks_.get(),
                                                                             blood_.get(), explosions_.get()}) {
        scene_.Remove(emitter);
    }
    scene_.Remove(decalRenderer_.get());
}
