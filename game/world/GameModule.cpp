#include "game/world/GameModule.h"

GameModule::GameModule()
{
    SetName(L"Game");
    SetFlag(kPollsInput, true);
}

GameModule& GameModule::Instance()
{
    static GameModule module;
    return module;
}
