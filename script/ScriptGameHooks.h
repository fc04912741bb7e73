#pragma once
// What mission nodes ask of the running game, installed while the front end
// and its game module exist. Without one (the mission editor alone, tests)
// the nodes act as on a machine outside any network game, with nothing to hold.

#include "engine/files/WideString.h"

#include <cstdint>
#include <vector>

class HostScene;

class ScriptGameHooks {
public:
    virtual ~ScriptGameHooks() = default;

    // The scene through which the host reaches its clients; null unless this
    // machine hosts a network game.
    virtual HostScene* GetHostRouter() = 0;
    // A client of somebody else's game: it replays the host's firings and
    // never fires on its own.
    virtual bool IsNetworkClient() = 0;
    // A mission's start screen: the world keeps still and only the listed
    // images go on, until a key is pressed.
    virtual void Hold(const std::vector<int32_t>& imageIds) = 0;
    // 0 to 1: how far the world has faded behind the start screen.
    virtual float GetHoldValue() = 0;
    // The player reached a mission that may be started from the menu.
    virtual void RecordReachedScript(const WideString& path) = 0;
};

// Null without a front end and its game module. Not owned.
ScriptGameHooks* GetScriptGameHooks();
void SetScriptGameHooks(ScriptGameHooks* hooks);
