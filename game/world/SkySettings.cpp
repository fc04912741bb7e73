#include "game/world/SkySettings.h"

#include "engine/core/LogHub.h"
#include "engine/core/dcEngine.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/ResourceFactory.h"
#include "game/world/SkyFiles.h"
#include "render/models/Camera.h"
#include "render/models/Model.h"

#include <filesystem>
#include <system_error>

namespace {

constexpr int32_t kPassCount = 32;
const Vec3 kSunWithoutFlare = {0.0f, 0.0f, -1.0f};

// A folder below the working folder: an empty or absolute one would put the
// files in a drive's root or anywhere at all.
bool IsBelowWorkingFolder(const WideString& folder)
{
    return !folder.empty() && folder[0] != L'\\' && folder[0] != L'/' && folder.find(L':') == WideString::npos;
}

} // namespace

SkySettings::SkySettings() = default;

SkySettings::~SkySettings()
{
    Clear();
}

void SkySettings::Clear()
{
    model_.reset();
    lightList_.clear();
    folder_.clear();
}

void SkySettings::Load(const WideString& folder, ShaderVariableBlock* shaderParent)
{
    Clear();
    flareOn_ = false;
    sunDirection_ = {};
    staticLights_ = {};
    dynamicLights_ = {};
    fog_ = {};
    carLights_ = false;
    folder_ = folder;
    LoadDome(shaderParent);
    ReadSettingsFiles();
}

void SkySettings::LoadDome(ShaderVariableBlock* shaderParent)
{
    // The dome's textures lie in the sky folder beside it.
    TextureFactory().AddFolder(folder_);
    model_ = std::make_unique<Model>(folder_ + L"\\Models\\Sky.DCM", WideString());
    TextureFactory().RemoveLastFolder();
    model_->SetParent(shaderParent);
}

void SkySettings::ReadSettingsFiles()
{
    // A sky without a sun (a night sky) has no flare file, yet its lights count.
    flareOn_ = ReadFlareFile(SkyFilePath(folder_, kFlareFile), sunDirection_);
    if (!flareOn_) {
        sunDirection_ = kSunWithoutFlare;
    }
    if (!ReadLightingFile(SkyFilePath(folder_, kLightingFile), staticLights_, &fog_) ||
        !ReadLightingFile(SkyFilePath(folder_, kDynamicLightingFile), dynamicLights_, nullptr)) {
        return;
    }
    for (SkyLightSet* set : {&staticLights_, &dynamicLights_}) {
        for (SkyLight& light : *set) {
            lightList_.push_back(&light);
        }
    }
    carLights_ = FileExists(SkyFilePath(folder_, kCarLightsFile));
}

void SkySettings::Draw(const Camera& camera)
{
    if (!model_) {
        return;
    }
    Matrix44 transform;
    transform.Scale({kDomeScale, kDomeScale, kDomeScale});
    transform.Translate(camera.GetPosition());
    const int32_t passMask = model_->GetPassMask(0);
    for (int32_t pass = 0; pass < kPassCount; ++pass) {
        if (passMask & PassBit(pass)) {
            model_->Render(transform, pass, 0);
        }
    }
}

bool SkySettings::CanSaveInto(const wchar_t* file) const
{
    if (!IsBelowWorkingFolder(folder_)) {
        LogHub::PrintError("%s not saved: the sky has no folder of its own", file);
        return false;
    }
    // A sky from the pack has no folder on the disk yet; its saved files
    // override the packed ones.
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(folder_), ignored);
    return true;
}

bool SkySettings::SaveLighting() const
{
    if (!CanSaveInto(kLightingFile)) {
        return false;
    }
    // The dynamic lighting file carries the fog too, though no reader takes it.
    return WriteLightingFile(SkyFilePath(folder_, kLightingFile), staticLights_, fog_) &&
           WriteLightingFile(SkyFilePath(folder_, kDynamicLightingFile), dynamicLights_, fog_);
}

bool SkySettings::SaveFlare() const
{
    return CanSaveInto(kFlareFile) && WriteFlareFile(SkyFilePath(folder_, kFlareFile), sunDirection_);
}
