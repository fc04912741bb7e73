#pragma once
// The back button of a menu screen: any activation returns to the screen the
// engine showed before this one (proposing 0 to the option on the way), then
// proposes 1. With no screen to return to, only the 1 is proposed: the
// option decides what the button does (the main menu's quits).

#include "engine/gui/OptionValue.h"
#include "engine/gui/TextWidget.h"

class ButtonWidget : public TextWidget {
public:
    // The option stays the caller's and must outlive the widget.
    ButtonWidget(const WideString& caption, ButtonOption* option);

    void Activate(int32_t how) override;

private:
    ButtonOption* option_;
};
