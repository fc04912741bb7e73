#pragma once
// The module between a menu and the running game. Given a mission script and
// a world, it prepares the game module frame by frame (reset, the mission's
// game mode, the sky), drives the world's load stages, finishes, and then
// starts the game: the DFEngine component enters its "MainZone", the menu
// music fades out over two seconds, and the game module takes over. One
// progress bar shows the whole: 0.01 to 0.10 over the ten preparation steps,
// 0.1 to 0.9 over the world, 0.91 to 1.00 over the ten finishing frames.
//
// In a network game the loading screens keep every machine in step: each
// client reports its progress to the host, and the host releases all at once
// with dcStartMessage.
//
// Its creator pushes it; once the game module has faded in, it is taken off
// the stack and deletes itself.

#include "engine/core/MessageReceiver.h"
#include "engine/gui/MenuScreen.h"
#include "frontend/LoadScreenMessages.h"

#include <cstdint>
#include <memory>
#include <vector>

class GameModule;
class TextureResource;

// Ids a network client gives the entities it makes for itself from the start
// of the game on: positive, and far above the host's ids, which count up from 3.
constexpr int32_t kClientLocalIdBase = 0x40000000;

// One player of a network game as the host's loading screen sees it.
struct LoadProgressEntry {
    int32_t clientId = 0;
    WideString playerName;
    float progress = 0.0f;   // as last reported
    float silence = 0.0f;    // seconds since that client last reported
};

class dcLoadScreen : public MenuScreen, public MessageReceiver {
    DC_RECEIVER(dcLoadScreen, MessageReceiver)
public:
    static constexpr int32_t kPreparationSteps = 10;
    static constexpr int32_t kFinishingFrames = 10;
    static constexpr float kReportInterval = 0.5f;     // seconds between a client's reports
    static constexpr float kMusicFadeTime = 2.0f;      // seconds
    static constexpr float kStartSilence = 10.0f;      // a client silent this long no longer holds the start

    // The background is one of "Menu\Loading?.DCT" at random, else "Loading.DCT".
    dcLoadScreen(const WideString& scriptName, const WideString& worldName);
    ~dcLoadScreen() override;

    // The screen takes no input.
    void HandleInput() override {}
    void Update() override;
    // One frame of the loading with the frame time, once faded in.
    void Run(float dt);
    void Popped() override;
    void Draw() override;

    float GetProgress() const { return progress_; }
    int32_t GetStepCount() const { return stepCount_; }
    int32_t GetFinishCount() const { return finishCount_; }
    bool IsStarted() const { return started_; }
    float GetMusicFade() const { return musicFade_; }
    const WideString& GetScriptName() const { return scriptName_; }
    const WideString& GetWorldName() const { return worldName_; }
    std::vector<LoadProgressEntry>& GetPlayers() { return players_; }

protected:
    virtual void OnLoadingMessage(const dcLoadingMessage& message, int32_t connection);
    virtual void OnStartMessage(const dcStartMessage& message);

private:
    void UpdateNetwork(GameModule& game, float dt);
    // One step of the load; false while the game may not start yet.
    bool Advance(GameModule& game);
    void RunPreparationStep(GameModule& game, int32_t step);
    void Start(GameModule& game);
    // True once the music is gone.
    bool FadeMusic(float dt);
    bool EverybodyLoaded() const;

    std::unique_ptr<TextureResource> bar_;
    float musicFade_ = 0.0f;     // 0 to 1 while the menu music fades out
    float reportTimer_ = 0.0f;
    float progress_ = 0.0f;
    int32_t stepCount_ = 0;
    int32_t finishCount_ = 0;
    bool startFlag_ = false;     // the game may start
    bool started_ = false;       // the start actions ran
    bool gaveUp_ = false;        // the world was refused: back to the menu
    WideString scriptName_;
    WideString worldName_;
    std::vector<LoadProgressEntry> players_;
};
// handlers: dcLoadingMessage -> OnLoadingMessage, dcStartMessage -> OnStartMessage

// A loading screen for the mission and world, made current over the present module.
void PushLoadScreen(const WideString& scriptName, const WideString& worldName);
