#pragma once
// The game's module ("Game") and the one object through which every game
// subsystem reaches the running game: the scene of game entities, the world,
// the active camera, the game mode, the network links and the three message
// channels of the fixed step. There is one for the whole run; the front end
// makes it at start-up.
//
// As a module it is driven by the engine: its update simulates one frame
// (the fixed-step loop inside), its render draws passes 1 to 31, and its
// input step, which the engine leaves to it, runs once inside every fixed
// step. Pause (the Pause key) and hold (a mission's start screen) freeze
// the simulation; Escape opens the main menu over the game.

#include "engine/core/MLP.h"
#include "engine/core/MessageChannel.h"
#include "engine/net/HostScene.h"
#include "game/weapons/EffectObjects.h"
#include "game/weapons/dcViewRay.h"
#include "game/world/GameFonts.h"
#include "game/world/ShadowMap.h"
#include "game/world/SkySaveCommands.h"
#include "game/world/World.h"
#include "render/models/Camera.h"

#include <cstdint>
#include <memory>
#include <vector>

class ClientScene;
class NetClient;
class NetServer;
class dcCarShadow;
class dcEntityCamera;
class dcGame;
class dcLensFlare;
class Model;

// What the game needs of the front end above it, installed by the front end.
struct FrontEndLinks {
    void (*enterGameVideoMode)() = nullptr;   // the video mode of the options, as a game starts
    void (*enterMenuVideoMode)() = nullptr;   // 800 x 600 for the menus, as the game is left
    void (*openMainMenu)(bool resumable) = nullptr;   // over the game; resumable enables its first item
    bool (*isBindingDown)(int32_t binding) = nullptr;  // either input of the control binding is held
};

// The content switches of the language: "No blood" and "No ragdoll" turn them off.
extern bool BloodEnabled;
extern bool RagdollEnabled;

class GameModule : public MLP {
public:
    static constexpr int32_t kKeyPause = 197;
    static constexpr int32_t kKeyVisibilityDebug = 20;   // T, test mode: the visibility grid drawn
    static constexpr int32_t kLastHoldKey = 255;   // any code up to this one ends a hold
    static constexpr float kEnteredFade = 1.5f;    // fully shown at once
    static constexpr int32_t kFirstPass = 1;
    static constexpr int32_t kFramePasses = 31;

    // Makes the one game module: everything of it that the run keeps.
    GameModule();
    ~GameModule() override;

    // The module made at start-up; none before, or after it went.
    static GameModule* Get() { return instance_; }

    void Enter() override;
    void Leave() override;
    // Simulates the engine's frame.
    void Update() override;
    // One frame of the given length: the fixed steps (or, paused or holding,
    // only the input step), then the camera.
    void Simulate(float dt);
    void Render() override { RenderPasses(kFirstPass, kFramePasses); }
    // The input step: dcUserInput, the hold, Pause and Escape.
    void HandleInput() override;

    void RenderPasses(int32_t firstPass, int32_t passCount);

    // Runs the next piece of the world's load stages: the world's progress
    // over all nine stages, 1.0 once loaded.
    float RunLoadStep();
    bool IsLoaded() const { return loaded_; }
    // The next load screen loads again. The world loaded whole stays when it
    // is the one named again, and its stages finish at once; another world
    // (or one that failed) loads from an empty world, stage 1 on.
    void ClearLoaded();
    // dcGameReset (end of game) to the whole scene: how many handled it.
    int32_t BroadcastGameReset();
    // Every decal of the world's ring ends at once; a new game starts clean.
    void ClearDecals();

    void SetFrontEndLinks(const FrontEndLinks& links) { links_ = links; }

    HostScene& GetScene() { return scene_; }
    World& GetWorld() { return world_; }
    // The camera that draws the game: the active game camera, or the module's own plain one.
    Camera& GetViewCamera();
    dcEntityCamera* GetActiveCamera() const { return activeCamera_; }
    void SetActiveCamera(dcEntityCamera* camera) { activeCamera_ = camera; }
    // Whether the player holds the control binding (its index in the controls).
    bool IsBindingDown(int32_t binding) const { return links_.isBindingDown && links_.isBindingDown(binding); }
    dcGame* GetGameMode() const { return gameMode_; }
    void SetGameMode(dcGame* mode) { gameMode_ = mode; }

    // The network game's transports and their routers; none outside one.
    NetServer* GetNetServer() const { return netServer_; }
    HostScene* GetHostRouter() const { return hostRouter_; }
    NetClient* GetNetClient() const { return netClient_; }
    ClientScene* GetClientRouter() const { return clientRouter_; }
    void SetNetworkLinks(NetServer* server, HostScene* hostRouter, NetClient* client, ClientScene* clientRouter);
    // A client of somebody else's game: a client router and no host router.
    bool IsNetworkClient() const { return clientRouter_ && !hostRouter_; }

    bool IsVisibilityDebugOn() const { return visibilityDebug_; }
    bool IsPaused() const { return paused_; }
    float GetPauseValue() const { return pauseValue_; }
    // A mission's start screen: only the listed entities go on being updated.
    void Hold(const std::vector<int32_t>& entityIds);
    bool IsHolding() const { return holding_; }
    float GetHoldValue() const { return holdValue_; }
    float GetTimeScale() const { return timeScale_; }
    void SetTimeScale(float scale) { timeScale_ = scale; }

    MessageChannel& GetUserInputChannel() { return userInputChannel_; }
    MessageChannel& GetUpdateChannel() { return updateChannel_; }
    MessageChannel& GetFinalUpdateChannel() { return finalUpdateChannel_; }
    const ShadowMap& GetShadowMap() const { return shadowMap_; }
    const GameFonts& GetFonts() const { return fonts_; }

private:
    void UpdateHold();
    void DrawPauseOverlay();

    static inline GameModule* instance_ = nullptr;

    World world_;
    int32_t stageIndex_ = 0;
    int32_t stageCounter_ = 0;
    bool loaded_ = false;
    dcEntityCamera* activeCamera_ = nullptr;   // lives in the scene
    Camera ownCamera_;   // while no game camera is active
    HostScene scene_;
    dcGame* gameMode_ = nullptr;   // lives in the scene
    NetServer* netServer_ = nullptr;
    HostScene* hostRouter_ = nullptr;
    NetClient* netClient_ = nullptr;
    ClientScene* clientRouter_ = nullptr;
    bool paused_ = false;
    bool visibilityDebug_ = false;
    float pauseValue_ = 0.0f;   // eases to 1 in one second while paused, back to 0 after
    bool holding_ = false;
    float holdValue_ = 0.0f;
    std::vector<int32_t> holdList_;
    float timeScale_ = 1.0f;   // of the frame time the fixed step takes
    MessageChannel userInputChannel_;
    MessageChannel updateChannel_;
    MessageChannel finalUpdateChannel_;
    ShadowMap shadowMap_;
    GameFonts fonts_;
    dcViewRay viewRay_;   // the shared one: dcViewRay::Get()
    FrontEndLinks links_;
    SkySaveCommands skySaveCommands_{world_};   // test mode only
    std::unique_ptr<EffectObjects> effects_;      // leave the scene before it goes
    std::unique_ptr<Model> unitBox_;              // "Models\UnitBox.DCM", under the world's shader values
    std::unique_ptr<dcLensFlare> lensFlare_;      // made by the first load stage; leaves the scene as it goes
    std::unique_ptr<dcCarShadow> carShadow_;      // in the scene while the module lives
};
