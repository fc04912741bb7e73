#pragma once
// The game's module: it polls input itself, in its fixed step.

#include "engine/core/MLP.h"

class GameModule : public MLP {
public:
    static GameModule& Instance();

private:
    GameModule();
};
