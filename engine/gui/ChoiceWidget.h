#pragma once
// A caption with a list of option texts beside it, of which the option's
// value is the one shown; Enter, a left click and the right arrow step to the
// next enabled one, a right click and the left arrow to the previous one.
// With wrapping off, stepping stops at either end of the list.

#include "engine/gui/OptionValue.h"
#include "engine/gui/TextWidget.h"

#include <vector>

class ChoiceWidget : public TextWidget {
public:
    static constexpr WidgetPoint kValueOffset{250, 0};

    // Proposes the option's current value at once. No font: the engine's
    // default font. The option stays the caller's and must outlive the widget.
    ChoiceWidget(const WideString& caption, const std::vector<WideString>& texts, ChoiceOption* option, Font* font);

    bool HandleMouse(WidgetPoint point) override;
    void HandleKeys(WidgetPoint cursor) override;
    void Draw() override;
    void Activate(int32_t how) override;

    // Each plays "Click.WAV", also when no other option could be chosen.
    void Next();
    void Previous();

    int32_t GetValue() const { return option_->value; }
    int32_t GetOptionCount() const { return static_cast<int32_t>(texts_.size()); }
    void SetOptionEnabled(int32_t index, bool on) { optionEnabled_.at(index) = on; }
    void SetWrap(bool on) { wrap_ = on; }
    // The option shown while the widget is disabled; -1 shows the value.
    void SetDisabledIndex(int32_t index) { disabledIndex_ = index; }
    // Set once the player has stepped through the options.
    bool HasChanged() const { return changed_; }

private:
    // From start on in steps of step (+1 or -1), wrapping, the first enabled
    // option; the value when none is.
    int32_t FindEnabled(int32_t start, int32_t step) const;
    void Choose(int32_t index);
    // The text drawn beside the caption; none without options or a value.
    const WideString* ShownText() const;

    std::vector<WideString> texts_;
    ChoiceOption* option_;
    std::vector<bool> optionEnabled_;
    int32_t disabledIndex_ = -1;
    bool changed_ = false;
    bool wrap_ = true;
};
