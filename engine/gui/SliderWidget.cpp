#include "engine/gui/SliderWidget.h"

#include "engine/audio/AudioDevice.h"
#include "engine/audio/Voice.h"
#include "engine/core/dcEngine.h"
#include "engine/gui/Font.h"
#include "engine/gui/GuiResources.h"
#include "engine/gui/MenuSounds.h"
#include "engine/input/InputCodes.h"
#include "engine/input/InputSystem.h"
#include "engine/video/SpriteDrawer.h"
#include "engine/video/TextureResource.h"

#include <algorithm>

namespace {

constexpr float kSoundFadeSpeed = 10.0f;   // the slider sound dies away in 0.1 s
constexpr float kDisabledBarAlpha = 0.5f;
constexpr float kCaptionRise = 1.5f;       // font sizes above the bar
// How far beyond the bar a held click still drags it.
constexpr int32_t kDragMarginX = 10;
constexpr int32_t kDragMarginY = 5;

// The bar texture and the voice, made by the first slider and shared by all
// for the run; made again for a new device (tests make several).
struct SliderShared {
    const VideoDevice* video = nullptr;
    std::unique_ptr<TextureResource> bar;
    const AudioDevice* audio = nullptr;
    Voice* voice = nullptr;
    float fadeLevel = 0.0f;
};

SliderShared& Shared()
{
    static SliderShared shared;
    dcEngine& engine = dcEngine::Instance();
    GuiResources* resources = GetGuiResources();
    if (shared.video != engine.GetVideoDevice() || (!shared.bar && resources)) {
        shared.video = engine.GetVideoDevice();
        shared.bar = resources ? resources->GetTexture(L"Slider.DCT") : nullptr;
    }
    if (shared.audio != engine.GetAudioDevice()) {
        // A voice of a device that has gone went with it.
        shared.audio = engine.GetAudioDevice();
        shared.voice = shared.audio ? engine.GetAudioDevice()->Play(L"Slider.WAV", false, false, false) : nullptr;
        shared.fadeLevel = 0.0f;
        if (shared.voice) {
            MenuSoundGroup().Add(*shared.voice);
        }
    }
    return shared;
}

} // namespace

SliderWidget::SliderWidget(const WideString& caption, SliderOption* option)
    : TextWidget(caption, nullptr)
    , option_(option)
{
    option_->widget = this;
    Shared();
    option_->Propose(option_->value);
}

void SliderWidget::SetCaptions(const WideString& left, const WideString& right, Font* font)
{
    leftCaption_ = left;
    rightCaption_ = right;
    captionFont_ = font;
}

WidgetPoint SliderWidget::BarTopLeft() const
{
    return {position_.left + kBarOffset.x, position_.top + kBarOffset.y};
}

float SliderWidget::BarWidth() const
{
    const TextureResource* bar = Shared().bar.get();
    return bar ? bar->GetImageWidth() : 0.0f;
}

float SliderWidget::BarHeight() const
{
    const TextureResource* bar = Shared().bar.get();
    return bar ? bar->GetImageHeight() : 0.0f;
}

void SliderWidget::SetValue(float value)
{
    option_->Propose(std::clamp(value, 0.0f, 1.0f));
    SliderShared& shared = Shared();
    if (shared.voice) {
        shared.voice->SetPitch(1.0f + option_->value);
        shared.voice->SetPan(2.0f * option_->value - 1.0f);
        if (shared.fadeLevel == 0.0f) {
            shared.voice->Play(true);
        }
    }
    shared.fadeLevel = 1.0f;
}

void SliderWidget::Update(float frameTime)
{
    TextWidget::Update(frameTime);
    SliderShared& shared = Shared();
    if (!shared.voice) {
        shared.fadeLevel = 0.0f;
        return;
    }
    if (shared.fadeLevel > 0.0f) {
        shared.voice->SetVolume(shared.fadeLevel);
        shared.fadeLevel = std::max(shared.fadeLevel - kSoundFadeSpeed * frameTime, 0.0f);
    } else {
        shared.voice->Stop();
    }
}

bool SliderWidget::SetFocus(bool on)
{
    if (!on && Shared().voice) {
        Shared().voice->Stop();
    }
    return Widget::SetFocus(on);
}

bool SliderWidget::HandleMouse(WidgetPoint point)
{
    if (!IsEnabled()) {
        return false;
    }
    const WidgetPoint bar = BarTopLeft();
    const WidgetBox barBox{bar.x, bar.y, bar.x + static_cast<int32_t>(BarWidth()),
                           bar.y + static_cast<int32_t>(BarHeight())};
    return Widget::HandleMouse(point) || barBox.Contains(point);
}

void SliderWidget::HandleKeys(WidgetPoint cursor)
{
    InputSystem* input = dcEngine::Instance().GetInputSystem();
    if (!input) {
        return;
    }
    const float frameTime = dcEngine::Instance().GetFrameTime();
    if (input->IsDown(kKeyLeft)) {
        SetValue(option_->value - frameTime);
    }
    if (input->IsDown(kKeyRight)) {
        SetValue(option_->value + frameTime);
    }
    const float width = BarWidth();
    const WidgetPoint bar = BarTopLeft();
    const WidgetBox dragArea{bar.x - kDragMarginX, bar.y - kDragMarginY,
                             bar.x - kDragMarginX + static_cast<int32_t>(width) + 2 * kDragMarginX,
                             bar.y - kDragMarginY + static_cast<int32_t>(BarHeight()) + 2 * kDragMarginY};
    if (width > 0.0f && input->IsDown(MouseButtonCode(0)) && dragArea.Contains(cursor)) {
        SetValue(static_cast<float>(cursor.x - bar.x) / width);
    }
}

void SliderWidget::Draw()
{
    TextWidget::Draw();
    SpriteDrawer* batch = dcEngine::Instance().GetSpriteBatch();
    TextureResource* barTexture = Shared().bar.get();
    if (!batch || !barTexture) {
        return;
    }
    const WidgetPoint bar = BarTopLeft();
    const float left = static_cast<float>(bar.x);
    const float top = static_cast<float>(bar.y);
    const float filled = static_cast<float>(static_cast<int32_t>(BarWidth() * option_->value));
    batch->DrawImage(barTexture, {0.0f, 0.0f, filled, static_cast<float>(static_cast<int32_t>(BarHeight()))},
                     {left, top}, {1.0f, 1.0f, 1.0f, IsEnabled() ? 1.0f : kDisabledBarAlpha}, AlphaSpriteShader);
    if (!captionFont_) {
        return;
    }
    const int32_t captionTop = bar.y - static_cast<int32_t>(kCaptionRise * captionFont_->GetSize());
    const int32_t rightEnd = bar.x + static_cast<int32_t>(BarWidth());
    DrawWidgetText(leftCaption_, *captionFont_, {bar.x, captionTop}, kOpaqueWhite);
    DrawWidgetText(rightCaption_, *captionFont_, {rightEnd - TextWidth(captionFont_, rightCaption_), captionTop},
                   kOpaqueWhite);
}
