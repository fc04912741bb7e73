#include "game/vehicles/dcGame.h"

#include "game/vehicles/VehicleType.h"
#include "game/world/GameModule.h"
#include "game/world/dcEntityCamera.h"

dcGame::dcGame()
{
    Handles<dcGameReset, &dcGame::OnGameReset>();
    if (GameModule* game = GameModule::Get()) {
        MakeCamera(*game);
    }
}

// The last game's camera goes; the new one films the game from now on.
void dcGame::MakeCamera(GameModule& game)
{
    if (dcEntityCamera* previous = game.GetActiveCamera()) {
        game.SetActiveCamera(nullptr);
        previous->Release();
    }
    auto* camera = new dcEntityCamera();   // the scene's from now on
    camera->SetActive(true);
    game.SetActiveCamera(camera);
    game.GetScene().Add(camera);
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
    LoadVehicleTypes();
    started_ = true;
    GameModule* game = GameModule::Get();
    dcEntityCamera* camera = game ? game->GetActiveCamera() : nullptr;
    // Until a player's car gives it a target, the camera looks over the city.
    if (camera && camera->GetTargetId() == 0) {
        camera->LookOver(game->GetWorld().GetBox());
    }
    LoadOwnScript();
}

void dcGame::OnGameReset(const dcGameReset& message)
{
    if (message.reason == dcGameReset::kEndOfGame) {
        Release();
    }
}
