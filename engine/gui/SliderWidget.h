#pragma once
// A caption with a bar beside it whose filled length shows the option's
// value, 0 to 1. The arrows move it across the whole range in one second and
// a click or drag on the bar sets it; every change sounds the shared slider
// voice, pitched and panned by the value, which dies away within a tenth of
// a second once the value stops changing.

#include "engine/gui/OptionValue.h"
#include "engine/gui/TextWidget.h"

class SliderWidget : public TextWidget {
public:
    static constexpr WidgetPoint kBarOffset{250, 0};

    // Proposes the option's current value at once. The option stays the
    // caller's and must outlive the widget.
    SliderWidget(const WideString& caption, SliderOption* option);

    // Only while enabled: the caption or the bar.
    bool HandleMouse(WidgetPoint point) override;
    // Losing the focus silences the slider voice.
    bool SetFocus(bool on) override;
    void HandleKeys(WidgetPoint cursor) override;
    void Update(float frameTime) override;
    void Draw() override;
    void Activate(int32_t how) override {}

    // Clamped to 0..1.
    void SetValue(float value);
    float GetValue() const { return option_->value; }
    // Texts at the bar's two ends, drawn above it in the font; none without one.
    void SetCaptions(const WideString& left, const WideString& right, Font* font);

private:
    WidgetPoint BarTopLeft() const;
    // The bar picture's size; 0 x 0 without its texture.
    float BarWidth() const;
    float BarHeight() const;

    SliderOption* option_;
    WideString leftCaption_;
    WideString rightCaption_;
    Font* captionFont_ = nullptr;
};
