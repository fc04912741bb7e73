#pragma once
// One row of the controls page: an action's caption, then the input bound to
// it in the primary column and, optionally, a second input in the secondary
// column. Activating the row makes it wait for the next input (a key, a
// mouse button or movement, a controller button or axis), which goes into
// the selected column; meanwhile the screen neither navigates nor shows the
// cursor. The arrows choose the column, Delete unbinds it.

#include "engine/gui/OptionValue.h"
#include "engine/gui/TextWidget.h"

// The column every binding row works on: 0 primary, 1 secondary.
extern int32_t SelectedBindingSlot;

class BindingWidget : public TextWidget {
public:
    static constexpr WidgetPoint kPrimaryOffset{250, 0};
    static constexpr WidgetPoint kSecondaryOffset{400, 0};
    // Column texts wider than this are cut and end in "...".
    static constexpr int32_t kColumnWidth = 150;

    // The option stays the caller's and must outlive the widget.
    BindingWidget(const WideString& caption, BindingOption* option);

    // The caption, then each column's text; a hit on a column selects it.
    bool HandleMouse(WidgetPoint point) override;
    void HandleKeys(WidgetPoint cursor) override;
    void Draw() override;
    // Starts or ends waiting for an input.
    void Activate(int32_t how) override;

    // Hands the binding to the option (which unbinds its code everywhere
    // else) and keeps what comes back.
    void Commit();
    void SetHasSecondary(bool on) { hasSecondary_ = on; }
    bool IsListening() const { return listening_; }
    const ControlBinding& GetBinding() const { return option_->value; }

    // The text as a column shows it: cut one character at a time until its
    // width, truncated, is at most the limit, then followed by "...".
    static WideString FitText(Font& font, const WideString& text, int32_t limit);
    // The first input of this frame, in code order; -1 when there is none.
    static int32_t FindCapturedInput();

private:
    void Capture();
    void SetSelectedColumn(int32_t code);
    bool HitColumn(WidgetPoint point, WidgetPoint offset, const WideString& text) const;
    void DrawColumn(const WideString& text, WidgetPoint offset, bool selected);

    BindingOption* option_;
    bool listening_ = false;
    bool hasSecondary_ = true;
};
