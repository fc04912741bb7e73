#pragma once
// The settings object a menu widget edits. A widget never changes a setting
// itself: it proposes a value to OnChange, which applies the setting behind
// the option (and may adjust the proposal), and then stores the result as
// the option's value. The front end's options derive from these.

#include "engine/files/WideString.h"

#include <cstdint>

class Widget;

template <typename Value>
class OptionValue {
public:
    OptionValue() = default;
    explicit OptionValue(Value initial) : value(initial) {}
    virtual ~OptionValue() = default;
    OptionValue(const OptionValue&) = delete;
    OptionValue& operator=(const OptionValue&) = delete;

    virtual void OnChange(Value* proposed) {}

    // What every widget does with a new value: OnChange, then keep what it left.
    void Propose(Value proposed)
    {
        OnChange(&proposed);
        value = proposed;
    }

    Widget* widget = nullptr;   // set by the widget bound to the option
    Value value{};
};

// An input for an action of the controls page, in two columns; -1 unbinds a
// column, whose text is then the input system's name for -1.
struct ControlBinding {
    int32_t primaryCode = -1;
    WideString primaryText = L"None";
    int32_t secondaryCode = -1;
    WideString secondaryText = L"None";
};

using ButtonOption = OptionValue<uint8_t>;        // 0 while leaving the screen, then 1
using SliderOption = OptionValue<float>;          // 0 to 1
using ChoiceOption = OptionValue<int32_t>;        // an option index, -1 for none
using BindingOption = OptionValue<ControlBinding>;
