#pragma once
// The main menu: the module the game starts in. For now a placeholder with
// the game's title, the frame-rate display, the music volume and a way out.

#include "engine/gui/MenuScreen.h"

class MainMenuScreen : public MenuScreen {
public:
    MainMenuScreen();

    void SetFirstItemEnabled(bool enabled) { firstItemEnabled_ = enabled; }

private:
    bool firstItemEnabled_ = false;
};
