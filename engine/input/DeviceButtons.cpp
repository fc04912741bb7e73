#include "engine/input/DeviceButtons.h"

#include <algorithm>
#include <cmath>

DeviceButtons::DeviceButtons(int32_t buttonCount) : held_(buttonCount, 0)
{
}

void DeviceButtons::Apply(const std::vector<ButtonEvent>& events, float dt)
{
    holdTime_ += dt;
    events_.clear();
    bool anyWentDown = false;
    for (const ButtonEvent& event : events) {
        if (event.button < 0 || event.button >= static_cast<int32_t>(held_.size())) {
            continue;
        }
        events_.push_back(event);
        held_[event.button] = event.down ? 1 : 0;
        // Of several buttons going down in one update the first repeats.
        if (event.down && !anyWentDown) {
            anyWentDown = true;
            lastButton_ = event.button;
            holdTime_ = 0.0f;
        } else if (!event.down && event.button == lastButton_) {
            lastButton_ = -1;
        }
    }
}

void DeviceButtons::DropEvents()
{
    events_.clear();
}

void DeviceButtons::ReleaseAll()
{
    std::fill(held_.begin(), held_.end(), 0);
    events_.clear();
    lastButton_ = -1;
}

bool DeviceButtons::IsDown(int32_t button) const
{
    return button >= 0 && button < static_cast<int32_t>(held_.size()) && held_[button] != 0;
}

bool DeviceButtons::WasPressed(int32_t button) const
{
    return HasEvent(button, true);
}

bool DeviceButtons::WasReleased(int32_t button) const
{
    return HasEvent(button, false);
}

bool DeviceButtons::PressedWithRepeat(int32_t button, float delay, float rate)
{
    if (WasPressed(button)) {
        return true;
    }
    if (!IsHeldAsLast(button) || holdTime_ < delay) {
        return false;
    }
    const float overDelay = holdTime_ - delay;
    if (overDelay < rate) {
        // Only an update that falls exactly on the delay repeats before delay + rate.
        return overDelay == 0.0f;
    }
    // A rate of zero or less repeats on every update and has nothing to carry.
    if (rate > 0.0f) {
        holdTime_ = delay + std::fmod(overDelay, rate);
    }
    return true;
}

bool DeviceButtons::PressedOrHeldFor(int32_t button, float seconds) const
{
    return WasPressed(button) || (IsHeldAsLast(button) && holdTime_ >= seconds);
}

bool DeviceButtons::HasEvent(int32_t button, bool down) const
{
    return std::any_of(events_.begin(), events_.end(), [&](const ButtonEvent& event) {
        return event.button == button && event.down == down;
    });
}

bool DeviceButtons::IsHeldAsLast(int32_t button) const
{
    return IsDown(button) && button == lastButton_ && holdTime_ > 0.0f;
}
