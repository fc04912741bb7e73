#pragma once
// A caption on a menu screen. It is disabled from the start, so it never
// takes the focus (not even through a hotkey) and a click on it plays
// "False.WAV"; unless dimmed, it is drawn in its full colour all the same.

#include "engine/gui/TextWidget.h"

class LabelWidget : public TextWidget {
public:
    // No font: the engine's default font.
    LabelWidget(const WideString& caption, bool dimmed, Font* font);

    void Activate(int32_t how) override {}
};
