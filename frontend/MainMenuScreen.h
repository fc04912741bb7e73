#pragma once
// The main menu: the module the game starts in.

#include "engine/core/MLP.h"

class MainMenuScreen : public MLP {
public:
    MainMenuScreen() { SetName(L"MainMenu"); }

    void SetFirstItemEnabled(bool enabled) { firstItemEnabled_ = enabled; }

private:
    bool firstItemEnabled_ = false;
};
