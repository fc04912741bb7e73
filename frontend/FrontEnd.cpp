#include "frontend/FrontEnd.h"

#include "engine/core/dcEngine.h"
#include "engine/core/dcWindow.h"
#include "frontend/MainMenuScreen.h"
#include "game/world/GameModule.h"
#include "render/device/VideoDevice.h"

#include <memory>

namespace {

std::unique_ptr<MainMenuScreen> mainMenu;

} // namespace

bool SetMenuVideoMode()
{
    dcEngine& engine = dcEngine::Instance();
    VideoDevice* video = engine.GetVideoDevice();
    if (!video || !video->Create(engine.GetWindow(), {kMenuWidth, kMenuHeight}, {})) {
        return false;
    }
    engine.GetTimer().Reset();
    return true;
}

void BuildFrontEnd()
{
    mainMenu = std::make_unique<MainMenuScreen>();
    GameModule::Instance();
}

MLP* GetMainMenuScreen()
{
    return mainMenu.get();
}

void SaveSettings()
{
}
