#include "engine/gui/Widget.h"

#include "engine/core/dcEngine.h"
#include "engine/gui/MenuSounds.h"
#include "engine/input/InputCodes.h"
#include "engine/input/InputSystem.h"

namespace {

const int32_t kLeftButton = MouseButtonCode(0);
const int32_t kRightButton = MouseButtonCode(1);
const int32_t kThirdButton = MouseButtonCode(2);
const int32_t kFourthButton = MouseButtonCode(3);

} // namespace

WidgetPoint ToIntPoint(const Vec2& point)
{
    return {static_cast<int32_t>(point.x), static_cast<int32_t>(point.y)};
}

void WidgetRect::MoveBox(WidgetBox& box, WidgetPoint point, bool centre)
{
    const int32_t width = box.Width();
    const int32_t height = box.Height();
    box.left = centre ? point.x - width / 2 : point.x;
    box.top = point.y;
    box.right = box.left + width;
    box.bottom = box.top + height;
}

int32_t WidgetRect::SetPosition(WidgetPoint point, bool centre)
{
    MoveBox(position_, point, centre);
    return position_.bottom;
}

bool Widget::HitWhileEnabled(const WidgetBox& box, WidgetPoint point) const
{
    if (!box.Contains(point)) {
        return false;
    }
    if (IsEnabled()) {
        return true;
    }
    InputSystem* input = dcEngine::Instance().GetInputSystem();
    if (input && (input->WasPressed(kLeftButton) || input->WasPressed(kRightButton))) {
        PlayMenuSound(L"False.WAV");
    }
    return false;
}

bool Widget::HandleMouse(WidgetPoint point)
{
    WidgetBox box = hitRect_;
    if (IsFocused()) {
        box = {box.left + kFocusOffset.x, box.top + kFocusOffset.y, box.right + kFocusOffset.x,
               box.bottom + kFocusOffset.y};
    }
    return HitWhileEnabled(box, point);
}

// Losing the focus is never refused: a widget that took it through a
// hotkey must give it up like any other.
bool Widget::SetFocus(bool on)
{
    if (on && (!IsEnabled() || !(HasFlag(kFocusable) || HasState(kHotkeyFocus)))) {
        return false;
    }
    SetFlag(kFocused, on);
    return true;
}

void Widget::SetEnabled(bool on)
{
    if (!on) {
        Widget::SetFocus(false);
    }
    SetFlag(kEnabled, on);
}

void Widget::HandleKeys(WidgetPoint cursor)
{
    InputSystem* input = dcEngine::Instance().GetInputSystem();
    if (!input) {
        return;
    }
    const bool left = input->PressedWithRepeat(kLeftButton, repeatDelay_, repeatInterval_);
    const bool right = input->PressedWithRepeat(kRightButton, repeatDelay_, repeatInterval_);
    const bool other = input->WasPressed(kThirdButton) || input->WasPressed(kFourthButton);
    if ((left || right) && HandleMouse(cursor)) {
        Activate(left ? kActivateLeftClick : kActivateRightClick);
    }
    if (other) {
        Activate(kActivateOtherButton);
    }
    if (input->WasPressed(kKeyEnter) || input->WasPressed(kKeyPadEnter)) {
        Activate(kActivateKey);
    }
}
