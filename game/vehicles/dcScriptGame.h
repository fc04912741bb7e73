#pragma once
// The game mode every mission runs in: it holds one mission script (a
// ".dcScript" dump of mission nodes), loads it into the game scene and
// starts it by firing its root nodes.
//
// Reading dumps is the mission scripting's business: the program installs
// the reader once (SetScriptReader). Without one, a mission loads no nodes.

#include "game/vehicles/dcGame.h"

#include <cstdint>
#include <vector>

class Scene;

// Reads the dump at the path into the scene, appending the ids of its root nodes.
using ScriptReader = void (*)(const WideString& path, Scene& scene, std::vector<int32_t>& rootIds);

class dcScriptGame : public dcGame {
    DC_RECEIVER(dcScriptGame, dcGame)
public:
    explicit dcScriptGame(const WideString& scriptPath);

    static void SetScriptReader(ScriptReader reader) { reader_ = reader; }

    // Started, then the mission script loaded.
    void Start() override;
    // dcTriggerMessage (no sender) to each root the scene still holds;
    // nothing on a network client, where the host's firings arrive instead.
    bool FireRoots() override;
    void LoadOwnScript() override { LoadScript(scriptPath_); }

    // Restarts the mission with the script at the path: the scene's mission
    // objects go, then the script's nodes come. A missing file loads nothing.
    void LoadScript(const WideString& path);

    const WideString& GetScriptPath() const { return scriptPath_; }
    const std::vector<int32_t>& GetRootIds() const { return rootIds_; }

private:
    static inline ScriptReader reader_ = nullptr;

    WideString scriptPath_;
    std::vector<int32_t> rootIds_;
};
