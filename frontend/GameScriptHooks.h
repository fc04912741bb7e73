#pragma once
// What mission nodes ask of the running game, answered by the game module:
// its network role, the hold behind a mission's start screen, and the
// missions the player reached. The front end installs it with the game
// module and takes it away before the module goes.

#include "script/ScriptGameHooks.h"

class GameModule;

class GameScriptHooks : public ScriptGameHooks {
public:
    explicit GameScriptHooks(GameModule& game) : game_(game) {}

    HostScene* GetHostRouter() override;
    bool IsNetworkClient() override;
    void Hold(const std::vector<int32_t>& imageIds) override;
    float GetHoldValue() override;
    // The reached mission becomes the current one in the settings, saved at once.
    void RecordReachedScript(const WideString& path) override;

private:
    GameModule& game_;
};
