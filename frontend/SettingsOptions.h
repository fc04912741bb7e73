#pragma once
// The option objects behind the options pages, one per setting. A change
// takes effect at once (on the sound groups, the renderer or the bindings),
// after the option has held the proposed value to its range, and schedules a
// settings save. The settings file reads and writes their values.

#include "engine/core/ProgramState.h"
#include "engine/gui/OptionValue.h"
#include "frontend/ControlBindings.h"

#include <array>
#include <vector>

// The settings are saved this long after their last change.
inline void ScheduleSettingsSave()
{
    settingsSaveCountdown = kSettingsSaveDelay;
}

// A setting that holds a proposal to its range, applies it and schedules the save.
template <typename Value>
class SettingOption : public OptionValue<Value> {
public:
    // Applies the held value; none for settings read only when needed.
    using Apply = void (*)(Value value);

    SettingOption(Value lowest, Value highest, Apply apply = nullptr)
        : lowest_(lowest)
        , highest_(highest)
        , apply_(apply)
    {
    }

    void OnChange(Value* proposed) override
    {
        // Not a number fails both tests and becomes the lowest value.
        *proposed = *proposed >= lowest_ && *proposed <= highest_ ? *proposed
                    : *proposed > highest_                        ? highest_
                                                                  : lowest_;
        if (apply_) {
            apply_(*proposed);
        }
        ScheduleSettingsSave();
    }

    // The video-mode list is known only once the render device is.
    void SetHighest(Value highest) { highest_ = highest; }

private:
    Value lowest_;
    Value highest_;
    Apply apply_;
};

// Binding a code to the column being edited takes it from every binding first.
class ControlBindingOption : public BindingOption {
public:
    void OnChange(ControlBinding* proposed) override;
};

struct SettingsOptions {
    SettingsOptions();

    SettingOption<int32_t> videoMode;       // index into videoModeTexts; applied as a game starts
    SettingOption<int32_t> textureDetail;   // 0 to 2
    SettingOption<int32_t> detailLevel;     // 0 to 2
    SettingOption<int32_t> reflections;     // 0 or 1
    SettingOption<int32_t> gamma1;          // percent
    SettingOption<int32_t> gamma2;          // percent
    SettingOption<float> soundVolume;       // 0 to 1
    SettingOption<float> musicVolume;       // 0 to 1
    std::array<ControlBindingOption, kBindingCount> bindings;
    SettingOption<int32_t> mouseSensitivity;   // index 0 to 99 of "1" to "100"

    // The video-mode option's list: mode texts of the render device's modes.
    const std::vector<WideString>& GetVideoModeTexts() const { return videoModeTexts_; }
    void SetVideoModeTexts(std::vector<WideString> texts);

private:
    std::vector<WideString> videoModeTexts_;
};

SettingsOptions& GetSettingsOptions();
