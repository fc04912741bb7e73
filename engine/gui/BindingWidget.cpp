#include "engine/gui/BindingWidget.h"

#include "engine/core/dcEngine.h"
#include "engine/gui/Font.h"
#include "engine/gui/MenuScreen.h"
#include "engine/gui/MenuSounds.h"
#include "engine/input/InputCodes.h"
#include "engine/input/InputSystem.h"

int32_t SelectedBindingSlot = 0;

namespace {

constexpr float kRepeatDelay = 0.25f;
constexpr float kRepeatInterval = 0.05f;
constexpr int32_t kLastCapturedCode = 1510;
// Mouse movement beyond this many device units in one update counts as an input.
constexpr float kMouseThreshold = 5.0f;
constexpr float kAxisThreshold = 0.9f;
const int32_t kMainAxisCodes = ControllerAxisHalfCode(0, 0);   // x negative, x positive, y ..., z
const int32_t kSliderCodes = ControllerAxisHalfCode(0, 6);     // slider 0 negative, positive, slider 1 ...
constexpr int32_t kSliders = 2;
const Color kWaitingColumn = ColorFromRgbBytes(64, 128, 160, 1.0f);

// The code of an axis pushed to either end: negative half first, then positive.
int32_t AxisHalfCode(float value, float threshold, int32_t negativeCode)
{
    if (value <= -threshold) {
        return negativeCode;
    }
    if (value >= threshold) {
        return negativeCode + 1;
    }
    return kNoInputCode;
}

} // namespace

BindingWidget::BindingWidget(const WideString& caption, BindingOption* option)
    : TextWidget(caption, nullptr)
    , option_(option)
{
    option_->widget = this;
}

WideString BindingWidget::FitText(Font& font, const WideString& text, int32_t limit)
{
    WideString fitted = text;
    while (!fitted.empty() && static_cast<int32_t>(font.MeasureText(fitted)) > limit) {
        fitted.pop_back();
    }
    return fitted.size() < text.size() ? fitted + L"..." : fitted;
}

int32_t BindingWidget::FindCapturedInput()
{
    InputSystem* input = dcEngine::Instance().GetInputSystem();
    if (!input) {
        return kNoInputCode;
    }
    for (int32_t code = 0; code <= kLastCapturedCode; ++code) {
        if (input->WasPressed(code)) {
            return code;
        }
    }
    // Mouse movement only counts when it strays from zero: strict bounds.
    const std::array<float, 3> movement = input->MouseMovement();
    for (int32_t k = 0; k < 3; ++k) {
        if (movement[k] < -kMouseThreshold) {
            return kFirstMouseAxisCode + 2 * k;
        }
        if (movement[k] > kMouseThreshold) {
            return kFirstMouseAxisCode + 2 * k + 1;
        }
    }
    for (int32_t j = 0; j < input->JoystickCount(); ++j) {
        const int32_t shift = kCodesPerController * j;
        const std::array<float, 3> axes = input->GetJoystickAxes(j);
        for (int32_t c = 0; c < 3; ++c) {
            const int32_t code = AxisHalfCode(axes[c], kAxisThreshold, kMainAxisCodes + shift + 2 * c);
            if (code != kNoInputCode) {
                return code;
            }
        }
        for (int32_t a = 0; a < kSliders; ++a) {
            const int32_t code =
                AxisHalfCode(input->GetJoystickSlider(j, a), kAxisThreshold, kSliderCodes + shift + 2 * a);
            if (code != kNoInputCode) {
                return code;
            }
        }
    }
    return kNoInputCode;
}

void BindingWidget::SetSelectedColumn(int32_t code)
{
    InputSystem* input = dcEngine::Instance().GetInputSystem();
    ControlBinding& binding = option_->value;
    (SelectedBindingSlot == 0 ? binding.primaryCode : binding.secondaryCode) = code;
    if (binding.primaryCode == binding.secondaryCode) {
        binding.secondaryCode = kNoInputCode;
    }
    if (input) {
        binding.primaryText = input->GetCodeName(binding.primaryCode);
        binding.secondaryText = input->GetCodeName(binding.secondaryCode);
    }
}

void BindingWidget::Commit()
{
    option_->Propose(option_->value);
}

void BindingWidget::Activate(int32_t)
{
    listening_ = !listening_;
    Commit();
    PlayMenuSound(L"Click.WAV");
    if (auto* screen = dynamic_cast<MenuScreen*>(dcEngine::Instance().GetCurrentMLP())) {
        screen->SetCursorVisible(!listening_);
        screen->SetKeyboardNavigation(!listening_);
        screen->SetMouseNavigation(!listening_);
    }
}

void BindingWidget::Capture()
{
    const int32_t code = FindCapturedInput();
    if (code == kNoInputCode) {
        return;
    }
    SetSelectedColumn(code);
    Activate(kActivateKey);
}

void BindingWidget::HandleKeys(WidgetPoint cursor)
{
    if (listening_) {
        Capture();
        return;
    }
    Widget::HandleKeys(cursor);
    InputSystem* input = dcEngine::Instance().GetInputSystem();
    if (!input) {
        return;
    }
    if (!hasSecondary_) {
        SelectedBindingSlot = 0;
    } else if (input->PressedWithRepeat(kKeyLeft, kRepeatDelay, kRepeatInterval)
               || input->PressedWithRepeat(kKeyRight, kRepeatDelay, kRepeatInterval)) {
        SelectedBindingSlot = 1 - SelectedBindingSlot;
        PlayMenuSound(L"Click.WAV");
    }
    if (input->WasPressed(kKeyDelete)) {
        SetSelectedColumn(kNoInputCode);
        PlayMenuSound(L"Click.WAV");
        Commit();
    }
}

bool BindingWidget::HitColumn(WidgetPoint point, WidgetPoint offset, const WideString& text) const
{
    const int32_t left = position_.left + offset.x;
    const int32_t top = position_.top + offset.y;
    return WidgetBox{left, top, left + TextWidth(font_, text), top + FontSize(font_)}.Contains(point);
}

bool BindingWidget::HandleMouse(WidgetPoint point)
{
    if (TextWidget::HandleMouse(point)) {
        return true;
    }
    if (!IsEnabled()) {
        return false;
    }
    if (HitColumn(point, kPrimaryOffset, option_->value.primaryText)) {
        SelectedBindingSlot = 0;
        return true;
    }
    if (hasSecondary_ && HitColumn(point, kSecondaryOffset, option_->value.secondaryText)) {
        SelectedBindingSlot = 1;
        return true;
    }
    return false;
}

void BindingWidget::DrawColumn(const WideString& text, WidgetPoint offset, bool selected)
{
    WidgetPoint at{position_.left + offset.x, position_.top + offset.y};
    Color color = kOpaqueWhite;
    if (selected && IsFocused()) {
        at = {at.x + kFocusOffset.x, at.y + kFocusOffset.y};
    }
    if (selected) {
        color = listening_ ? kWaitingColumn : Color{1.0f, 1.0f, 1.0f, GetBrightness()};
    }
    DrawWidgetText(FitText(*font_, text, kColumnWidth), *font_, at, color);
}

void BindingWidget::Draw()
{
    TextWidget::Draw();
    if (!font_) {
        return;
    }
    DrawColumn(option_->value.primaryText, kPrimaryOffset, SelectedBindingSlot == 0);
    if (hasSecondary_) {
        DrawColumn(option_->value.secondaryText, kSecondaryOffset, SelectedBindingSlot == 1);
    }
}
