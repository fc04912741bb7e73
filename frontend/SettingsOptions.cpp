#include "frontend/SettingsOptions.h"

#include "engine/audio/SoundGroups.h"
#include "engine/core/dcEngine.h"
#include "engine/gui/BindingWidget.h"
#include "engine/gui/MenuSounds.h"
#include "engine/video/VideoDevice.h"
#include "game/world/dcDynamicObject.h"

#include <algorithm>

namespace {

constexpr int32_t kHighestDetail = 2;
constexpr int32_t kHighestPercent = 100;
constexpr int32_t kHighestSensitivity = 99;
// The shader detail levels count from the finest, one more than the option's.
constexpr int32_t kCoarsestShaderDetail = 3;
constexpr float kBrightnessPerPercent = 0.005f;
constexpr float kContrastPerPercent = 1.0f / 300.0f;

void ApplyTextureDetail(int32_t value)
{
    if (VideoDevice* video = dcEngine::Instance().GetVideoDevice()) {
        video->SetMaxMipLevel(kHighestDetail - value);
    }
}

// The lowest detail also leaves out the props drawn only for detail.
void ApplyDetailLevel(int32_t value)
{
    dcDynamicObject::DetailOption = value;
    if (VideoDevice* video = dcEngine::Instance().GetVideoDevice()) {
        video->SetShaderDetail(kCoarsestShaderDetail - value);
    }
}

void ApplyGamma(int32_t brightness, int32_t contrast)
{
    if (VideoDevice* video = dcEngine::Instance().GetVideoDevice()) {
        video->SetGamma(brightness * kBrightnessPerPercent, contrast * kContrastPerPercent);
    }
}

void ApplyGamma1(int32_t value)
{
    ApplyGamma(value, GetSettingsOptions().gamma2.value);
}

void ApplyGamma2(int32_t value)
{
    ApplyGamma(GetSettingsOptions().gamma1.value, value);
}

// The menus' sounds and the engine's own (the console's) play at the sound volume.
void ApplySoundVolume(float value)
{
    MenuSoundGroup().SetVolume(value);
    EffectsSoundGroup().SetVolume(value);
}

void ApplyMusicVolume(float value)
{
    MusicSoundGroup().SetVolume(value);
}

} // namespace

void ControlBindingOption::OnChange(ControlBinding* proposed)
{
    ClearBindingCode(SelectedBindingSlot == 0 ? proposed->primaryCode : proposed->secondaryCode);
    ScheduleSettingsSave();
}

SettingsOptions::SettingsOptions()
    : videoMode(0, 0)
    , textureDetail(0, kHighestDetail, ApplyTextureDetail)
    , detailLevel(0, kHighestDetail, ApplyDetailLevel)
    , reflections(0, 1)
    , gamma1(0, kHighestPercent, ApplyGamma1)
    , gamma2(0, kHighestPercent, ApplyGamma2)
    , soundVolume(0.0f, 1.0f, ApplySoundVolume)
    , musicVolume(0.0f, 1.0f, ApplyMusicVolume)
    , mouseSensitivity(0, kHighestSensitivity)
{
}

void SettingsOptions::SetVideoModeTexts(std::vector<WideString> texts)
{
    videoModeTexts_ = std::move(texts);
    videoMode.SetHighest(std::max(static_cast<int32_t>(videoModeTexts_.size()) - 1, 0));
}

SettingsOptions& GetSettingsOptions()
{
    static SettingsOptions options;
    return options;
}
