#include "game/vehicles/dcGame.h"

#include "game/world/GameModule.h"

dcGame::dcGame()
{
    Handles<dcGameReset, &dcGame::OnGameReset>();
}

dcGame::~dcGame()
{
    GameModule* game = GameModule::Get();
    if (game && game->GetGameMode() == this) {
        game->SetGameMode(nullptr);
    }
}

void dcGame::Start()
{
    started_ = false;
    controlsLocked_ = false;
}

bool dcGame::FireRoots()
{
    return false;
}

void dcGame::Begin()
{
    started_ = true;
    LoadOwnScript();
}

void dcGame::OnGameReset(const dcGameReset& message)
{
    if (message.reason == dcGameReset::kEndOfGame) {
        Release();
    }
}
