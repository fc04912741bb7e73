#include "engine/gui/ChoiceWidget.h"

#include "engine/core/dcEngine.h"
#include "engine/gui/Font.h"
#include "engine/gui/MenuSounds.h"
#include "engine/input/InputCodes.h"
#include "engine/input/InputSystem.h"

namespace {

const Color kDisabledText = ColorFromRgbBytes(127, 127, 152, 1.0f);

} // namespace

ChoiceWidget::ChoiceWidget(const WideString& caption, const std::vector<WideString>& texts, ChoiceOption* option,
                           Font* font)
    : TextWidget(caption, font)
    , texts_(texts)
    , option_(option)
    , optionEnabled_(texts.size(), true)
{
    option_->widget = this;
    option_->Propose(option_->value);
}

int32_t ChoiceWidget::FindEnabled(int32_t start, int32_t step) const
{
    const int32_t count = GetOptionCount();
    for (int32_t tried = 0; tried < count; ++tried) {
        const int32_t index = ((start + step * tried) % count + count) % count;
        if (optionEnabled_[index]) {
            return index;
        }
    }
    return option_->value;
}

void ChoiceWidget::Choose(int32_t index)
{
    changed_ = true;
    if (index != option_->value) {
        option_->Propose(index);
    }
    PlayMenuSound(L"Click.WAV");
}

void ChoiceWidget::Next()
{
    const int32_t count = GetOptionCount();
    if (count == 0 || (!wrap_ && option_->value == count - 1)) {
        return;
    }
    Choose(FindEnabled((option_->value + 1) % count, +1));
}

void ChoiceWidget::Previous()
{
    const int32_t count = GetOptionCount();
    if (count == 0 || (!wrap_ && option_->value == 0)) {
        return;
    }
    const int32_t start = option_->value - 1;
    Choose(FindEnabled(start < 0 ? count - 1 : start, -1));
}

void ChoiceWidget::Activate(int32_t how)
{
    if (how == kActivateKey || how == kActivateLeftClick) {
        Next();
    } else if (how == kActivateRightClick) {
        Previous();
    }
}

void ChoiceWidget::HandleKeys(WidgetPoint cursor)
{
    Widget::HandleKeys(cursor);
    InputSystem* input = dcEngine::Instance().GetInputSystem();
    if (!input || texts_.empty()) {
        return;
    }
    if (input->PressedWithRepeat(kKeyLeft, repeatDelay_, repeatInterval_)) {
        Previous();
    }
    if (input->PressedWithRepeat(kKeyRight, repeatDelay_, repeatInterval_)) {
        Next();
    }
}

const WideString* ChoiceWidget::ShownText() const
{
    int32_t index = option_->value;
    if (!IsEnabled() && disabledIndex_ != -1) {
        index = disabledIndex_;
    }
    return index >= 0 && index < GetOptionCount() ? &texts_[index] : nullptr;
}

bool ChoiceWidget::HandleMouse(WidgetPoint point)
{
    if (Widget::HandleMouse(point)) {
        return true;
    }
    const int32_t value = option_->value;
    if (!font_ || value < 0 || value >= GetOptionCount()) {
        return false;
    }
    const int32_t left = position_.left + kValueOffset.x;
    const int32_t top = position_.top + kValueOffset.y;
    return HitWhileEnabled({left, top, left + TextWidth(font_, texts_[value]), top + FontSize(font_)}, point);
}

void ChoiceWidget::Draw()
{
    TextWidget::Draw();
    const WideString* shown = ShownText();
    if (!shown || !font_ || option_->value == -1) {
        return;
    }
    Color color{1.0f, 1.0f, 1.0f, GetBrightness()};
    if (!IsEnabled() && !HasFlag(kBrightWhileDisabled)) {
        color = {kDisabledText.r, kDisabledText.g, kDisabledText.b, GetBrightness()};
    }
    DrawWidgetText(*shown, *font_, {position_.left + kValueOffset.x, position_.top + kValueOffset.y}, color);
}
