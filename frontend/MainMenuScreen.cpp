#include "frontend/MainMenuScreen.h"

#include "engine/core/dcEngine.h"
#include "engine/files/LanguageTable.h"
#include "engine/gui/ButtonWidget.h"
#include "engine/gui/ChoiceWidget.h"
#include "engine/gui/LabelWidget.h"
#include "engine/gui/SliderWidget.h"
#include "frontend/SettingsOptions.h"

namespace {

constexpr int32_t kKeyQ = 16;
constexpr WidgetPoint kTitlePosition{400, 120};
constexpr WidgetPoint kResumePosition{400, 200};
constexpr WidgetPoint kFirstRowPosition{150, 260};
constexpr int32_t kRowGap = 50;
constexpr WidgetPoint kQuitPosition{400, 440};
constexpr int32_t kResumeIndex = 1;
constexpr int32_t kFrameRateIndex = 2;
constexpr int32_t kQuitIndex = 5;
// The row labels of the sound and music volumes.
constexpr int32_t kSoundVolumeKey = 130;
constexpr int32_t kMusicVolumeKey = 131;

// The frame-rate line of the statistics overlay, off or on.
class FrameRateOption : public ChoiceOption {
public:
    FrameRateOption() : ChoiceOption(0) {}
    void OnChange(int32_t* proposed) override
    {
        dcEngine::Instance().SetEngineFlag(dcEngine::kShowFrameRate, *proposed == 1);
    }
};

// With no menu to go back to, the button ends the game.
class QuitOption : public ButtonOption {
public:
    void OnChange(uint8_t* proposed) override
    {
        if (*proposed == 1) {
            dcEngine::Instance().Stop();
        }
    }
};

// Settings objects live for the run, like the widgets bound to them. Resume
// is a back button: it returns to the module the menu was opened over.
ButtonOption resumeOption;
FrameRateOption frameRateOption;
QuitOption quitOption;

} // namespace

MainMenuScreen::MainMenuScreen()
    : MenuScreen(L"MainMenu", L"MainMenu.DCT")
{
    auto title = std::make_unique<LabelWidget>(L"VARNHOLT", false, nullptr);
    title->SetPosition(kTitlePosition, true);
    AddWidget(std::move(title));

    auto resume = std::make_unique<ButtonWidget>(L"Resume", &resumeOption);
    resume->SetPosition(kResumePosition, true);
    resume_ = resume.get();
    AddWidget(std::move(resume));

    auto frameRate = std::make_unique<ChoiceWidget>(L"Frame rate", std::vector<WideString>{L"Hidden", L"Shown"},
                                                    &frameRateOption, nullptr);
    frameRate->SetPosition(kFirstRowPosition, false);
    AddWidget(std::move(frameRate));

    LanguageTable& language = dcEngine::Instance().GetLanguage();
    SettingsOptions& settings = GetSettingsOptions();
    auto sound = std::make_unique<SliderWidget>(language.GetText(kSoundVolumeKey), &settings.soundVolume);
    sound->SetPosition({kFirstRowPosition.x, kFirstRowPosition.y + kRowGap}, false);
    AddWidget(std::move(sound));

    auto music = std::make_unique<SliderWidget>(language.GetText(kMusicVolumeKey), &settings.musicVolume);
    music->SetPosition({kFirstRowPosition.x, kFirstRowPosition.y + 2 * kRowGap}, false);
    AddWidget(std::move(music));

    auto quit = std::make_unique<ButtonWidget>(L"Quit", &quitOption);
    quit->SetPosition(kQuitPosition, true);
    AddWidget(std::move(quit));

    SetFirstItemEnabled(false);
    AddHotkey(kKeyQ, kQuitIndex);
}

void MainMenuScreen::SetFirstItemEnabled(bool enabled)
{
    resume_->SetEnabled(enabled);
    SetDefaultWidget(enabled ? kResumeIndex : kFrameRateIndex);
}

bool MainMenuScreen::IsFirstItemEnabled() const
{
    return resume_->IsEnabled();
}
