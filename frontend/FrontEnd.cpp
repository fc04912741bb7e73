#include "frontend/FrontEnd.h"

#include "engine/core/ProgramState.h"
#include "engine/core/dcEngine.h"
#include "engine/core/dcWindow.h"
#include "engine/video/VideoDevice.h"
#include "engine/gui/MenuSounds.h"
#include "engine/input/InputCodeQueries.h"
#include "engine/input/InputSystem.h"
#include "frontend/Config.h"
#include "frontend/GameScriptHooks.h"
#include "frontend/LoadScriptCommand.h"
#include "frontend/MainMenuScreen.h"
#include "frontend/SettingsOptions.h"
#include "frontend/VideoModes.h"
#include "frontend/dcLoadScreen.h"
#include "game/vehicles/CarDamageHandler.h"
#include "game/vehicles/VehicleCatalogue.h"
#include "game/vehicles/VehicleType.h"
#include "game/vehicles/dcCarLook.h"
#include "game/vehicles/dcScriptGame.h"
#include "game/world/GameModule.h"
#include "script/ScriptLoading.h"

#include <memory>

namespace {

std::unique_ptr<MainMenuScreen> mainMenu;
std::unique_ptr<GameModule> gameModule;
std::unique_ptr<GameScriptHooks> gameScriptHooks;
LoadScriptCommand loadScriptCommand;

void EnterGameVideoMode()
{
    GetConfig().ApplyGameVideoMode();
}

void EnterMenuVideoMode()
{
    SetMenuVideoMode();
}

// Escape in the game: the main menu over it, its first item resuming the game.
void OpenMainMenu(bool resumable)
{
    if (resumable) {
        mainMenu->SetFirstItemEnabled(true);
    }
    dcEngine::Instance().PushMLPWithFade(mainMenu.get(), false);
}

// Either input of the player's control binding held.
bool IsBindingDown(int32_t binding)
{
    const InputSystem* input = dcEngine::Instance().GetInputSystem();
    if (!input || binding < 0 || binding >= kBindingCount) {
        return false;
    }
    const ControlBinding& codes = GetSettingsOptions().bindings[static_cast<size_t>(binding)].value;
    return IsInputCodeDown(*input, codes.primaryCode) || IsInputCodeDown(*input, codes.secondaryCode);
}

} // namespace

bool SetMenuVideoMode()
{
    MenuSoundGroup().SetVolume(GetSettingsOptions().soundVolume.value);
    return SwitchVideoMode({kMenuWidth, kMenuHeight});
}

void BuildFrontEnd()
{
    if (VideoDevice* video = dcEngine::Instance().GetVideoDevice()) {
        GetSettingsOptions().SetVideoModeTexts(VideoModeTexts(video->GetVideoModes()));
    }
    mainMenu = std::make_unique<MainMenuScreen>();
    if (testMode) {
        mainMenu->AddCommand(&loadScriptCommand);
    }
    gameModule = std::make_unique<GameModule>();
    InstallCarDamage();
    InstallCarLook();
    gameModule->SetFrontEndLinks({EnterGameVideoMode, EnterMenuVideoMode, OpenMainMenu, IsBindingDown});
    // Missions reach the game as nodes read from their dumps, and their
    // nodes reach the game module.
    dcScriptGame::SetScriptReader(ReadScript);
    gameScriptHooks = std::make_unique<GameScriptHooks>(*gameModule);
    SetScriptGameHooks(gameScriptHooks.get());
    GetConfig().Load();
}

MLP* GetMainMenuScreen()
{
    return mainMenu.get();
}

void ReturnToMainMenu()
{
    if (!mainMenu) {
        return;
    }
    mainMenu->SetFirstItemEnabled(false);
    dcEngine::Instance().PushMLP(mainMenu.get(), true);
}

void StartTestGame()
{
    mainMenu->SetFirstItemEnabled(true);
    PushLoadScreen(L"Scripts\\Autoload.dcScript", L"Maps\\Test.DCW");
}

void ShutdownFrontEnd()
{
    SetScriptGameHooks(nullptr);
    gameScriptHooks.reset();
    gameModule.reset();
    mainMenu.reset();
    ReleaseCatalogues();
    ReleaseVehicleTypes();
}

void SaveSettings()
{
    GetConfig().Save();
}
