#pragma once
// The main menu: the module the game starts in. For now a placeholder with
// the game's title, a way back into a running game, the frame-rate display,
// the sound and music volumes of the settings and a way out.

#include "engine/gui/MenuScreen.h"

class MainMenuScreen : public MenuScreen {
public:
    MainMenuScreen();

    // The first item, "Resume", returns to the game the menu was opened
    // over; while it is enabled the menu opens on it.
    void SetFirstItemEnabled(bool enabled);
    bool IsFirstItemEnabled() const;

private:
    Widget* resume_ = nullptr;   // owned by the screen
};
