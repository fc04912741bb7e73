#include "frontend/GameScriptHooks.h"

#include "frontend/Config.h"
#include "game/world/GameModule.h"

HostScene* GameScriptHooks::GetHostRouter()
{
    return game_.GetHostRouter();
}

bool GameScriptHooks::IsNetworkClient()
{
    return game_.IsNetworkClient();
}

void GameScriptHooks::Hold(const std::vector<int32_t>& imageIds)
{
    game_.Hold(imageIds);
}

float GameScriptHooks::GetHoldValue()
{
    return game_.GetHoldValue();
}

void GameScriptHooks::RecordReachedScript(const WideString& path)
{
    GetConfig().RecordReachedScript(path);
}
