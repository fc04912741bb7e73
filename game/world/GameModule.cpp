#include "game/world/GameModule.h"

#include "engine/core/FrameMessages.h"
#include "engine/core/ProgramState.h"
#include "engine/core/dcEngine.h"
#include "engine/gui/Font.h"
#include "engine/input/InputCodes.h"
#include "engine/input/InputSystem.h"
#include "engine/net/NetClient.h"
#include "engine/net/NetServer.h"
#include "engine/video/VideoDevice.h"
#include "game/weapons/DecalRing.h"
#include "game/weapons/dcCarShadow.h"
#include "game/weapons/dcLensFlare.h"
#include "game/world/GameMessages.h"
#include "game/world/dcEntityCamera.h"
#include "game/world/dcWorldGeometry.h"
#include "game/world/dcWorldRender.h"
#include "render/models/Model.h"
#include "render/shaders/ShaderEffect.h"
#include "render/sprites/SpriteBatch.h"

#include <algorithm>

bool BloodEnabled = true;
bool RagdollEnabled = true;

namespace {

constexpr int32_t kBloodKey = 666;
constexpr int32_t kRagdollKey = 6661666;
constexpr int32_t kPausedTextKey = 9900606;
constexpr float kPauseTextRise = 64.0f;    // units above the screen's centre
constexpr float kPauseDarkness = 0.5f;     // alpha of the black over the game, fully paused
constexpr float kVirtualWidth = 800.0f;    // the screen the overlays are laid out on
constexpr float kVirtualHeight = 600.0f;

ShaderEffect* LineShader()
{
    VideoDevice* video = dcEngine::Instance().GetVideoDevice();
    return video ? video->GetLineShader() : nullptr;
}

// Moves the value towards 1 while on, towards 0 while off, by the frame time.
void Ease(float& value, bool on, float dt)
{
    value = on ? std::min(value + dt, 1.0f) : std::max(value - dt, 0.0f);
}

} // namespace

GameModule::GameModule() : viewRay_(world_.GetPhysics(), world_.GetGeometry())
{
    dcEngine& engine = dcEngine::Instance();
    shadowMap_.Create(engine.GetVideoDevice());
    userInputChannel_.AddIdentity(dcUserInput::Identity().Id());
    updateChannel_.AddIdentity(dcUpdate::Identity().Id());
    finalUpdateChannel_.AddIdentity(dcFinalUpdate::Identity().Id());
    SetFlag(kPollsInput, true);
    instance_ = this;

    LanguageTable& language = engine.GetLanguage();
    BloodEnabled = language.GetText(kBloodKey) != L"No blood";
    RagdollEnabled = language.GetText(kRagdollKey) != L"No ragdoll";
    SetName(L"Game");

    scene_.AddObserver(&userInputChannel_);
    scene_.AddObserver(&updateChannel_);
    scene_.AddObserver(&finalUpdateChannel_);
    scene_.AddObserver(&world_.GetVisibility());
    effects_ = std::make_unique<EffectObjects>(scene_, engine.GetVideoDevice(), world_, world_.GetPhysics().GetGravity(),
                                               BloodEnabled);
    unitBox_ = std::make_unique<Model>(L"Models\\UnitBox.DCM", L"");
    unitBox_->SetParent(&world_);
    fonts_.Create(language);
    carShadow_ = std::make_unique<dcCarShadow>(engine.GetVideoDevice(), &world_);
    scene_.Add(carShadow_.get());
    if (testMode) {
        skySaveCommands_.Register(*this);
    }
    // Debug lines are drawn with the world's camera.
    if (ShaderEffect* lines = LineShader()) {
        lines->SetParent(&world_);
    }
}

GameModule::~GameModule()
{
    // Whatever the last game left goes with the module. The scene owns none of
    // its members: the world's decorations and sounds are deleted here, and
    // with them the models whose effects hold the video device.
    BroadcastGameReset();
    world_.Unload();
    if (activeCamera_) {
        activeCamera_->Release();
    }
    scene_.FlushDeletes();
    scene_.Remove(carShadow_.get());
    ShaderEffect* lines = LineShader();
    if (lines && lines->GetParent() == &world_) {
        lines->SetParent(nullptr);
    }
    if (instance_ == this) {
        instance_ = nullptr;
    }
}

void GameModule::Enter()
{
    if (links_.enterGameVideoMode) {
        links_.enterGameVideoMode();
    }
    SetFade(kEnteredFade);
}

void GameModule::Leave()
{
    if (links_.enterMenuVideoMode) {
        links_.enterMenuVideoMode();
    }
    // Frame times of the game say nothing about the menus' frames.
    dcEngine::Instance().GetFrameTimes().SetSampleCount(1);
}

void GameModule::SetNetworkLinks(NetServer* server, HostScene* hostRouter, NetClient* client,
                                 ClientScene* clientRouter)
{
    netServer_ = server;
    hostRouter_ = hostRouter;
    netClient_ = client;
    clientRouter_ = clientRouter;
}

Camera& GameModule::GetViewCamera()
{
    if (activeCamera_) {
        return *activeCamera_;
    }
    return ownCamera_;
}

void GameModule::Hold(const std::vector<int32_t>& entityIds)
{
    holding_ = true;
    holdList_ = entityIds;
}

void GameModule::Update()
{
    Simulate(dcEngine::Instance().GetFrameTime());
}

void GameModule::Simulate(float dt)
{
    dcEngine& engine = dcEngine::Instance();
    scene_.FlushDeletes();
    FrameTimeRing& frameTimes = engine.GetFrameTimes();
    frameTimes.SetSampleCount(frameTimes.GetSampleCount() + 1);
    if (netServer_) {
        netServer_->Update(dt);
    }
    if (netClient_) {
        netClient_->Update(dt, true);
    }
    Ease(pauseValue_, paused_, dt);
    Ease(holdValue_, holding_, dt);
    if (!paused_ && !holding_) {
        world_.FixedUpdate(dt * timeScale_, updateChannel_, finalUpdateChannel_);
    } else {
        // Still one input step, which ends the pause or the hold.
        engine.PollInput(dt * timeScale_);
    }
    Camera& camera = GetViewCamera();
    camera.Update();
    world_.GetRender().ClearDrawLists();
    world_.GetVisibility().Query(camera, kFirstPass, kFramePasses);
    world_.GetRender().PackMovingGeometry();
}

void GameModule::HandleInput()
{
    userInputChannel_.Broadcast(dcUserInput{world_.GetPhysics().GetStepLength()});
    if (holding_) {
        UpdateHold();
        return;
    }
    InputSystem* input = dcEngine::Instance().GetInputSystem();
    if (!input) {
        return;
    }
    if (testMode && input->WasPressed(kKeyVisibilityDebug)) {
        visibilityDebug_ = !visibilityDebug_;
    }
    if (input->WasPressed(kKeyPause)) {
        paused_ = !paused_;
    }
    if (paused_) {
        return;
    }
    if (input->WasPressed(kKeyEscape) && links_.openMainMenu) {
        links_.openMainMenu(!IsNetworkClient());
    }
}

// The listed entities go on with the frame time; any key lets the game go on.
void GameModule::UpdateHold()
{
    dcEngine& engine = dcEngine::Instance();
    for (int32_t id : std::vector<int32_t>(holdList_)) {
        dcUpdate update{engine.GetFrameTime()};
        SendToEntity(scene_, id, update);
    }
    InputSystem* input = engine.GetInputSystem();
    for (int32_t code = 0; input && code <= kLastHoldKey; ++code) {
        if (input->WasPressed(code)) {
            holding_ = false;
            holdList_.clear();
            return;
        }
    }
}

void GameModule::RenderPasses(int32_t firstPass, int32_t passCount)
{
    VideoDevice* video = dcEngine::Instance().GetVideoDevice();
    if (!video) {
        return;
    }
    const int32_t width = video->GetBackBufferWidth();
    const int32_t height = video->GetBackBufferHeight();
    video->SetViewport({0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height)}, 0.0f, 1.0f);
    Camera& camera = GetViewCamera();
    camera.SetViewport({0, 0, width, height});
    camera.Update();
    video->Clear(kClearTarget | kClearDepth | kClearStencil, Color{0.0f, 0.0f, 0.0f, 1.0f}, 1.0f, 0);
    world_.AimShaders(camera);
    world_.Render(camera, firstPass, passCount);
    if (visibilityDebug_) {
        world_.GetVisibility().DrawBlocks(camera);
    }
    if (pauseValue_ != 0.0f) {
        DrawPauseOverlay();
    }
}

void GameModule::DrawPauseOverlay()
{
    SpriteDrawer* batch = dcEngine::Instance().GetSpriteBatch();
    if (!batch) {
        return;
    }
    batch->SetVirtualScreen(kVirtualWidth, kVirtualHeight);
    batch->DrawFilledRect({0.0f, 0.0f, kVirtualWidth, kVirtualHeight}, {0.0f, 0.0f, 0.0f, kPauseDarkness * pauseValue_},
                          AlphaSpriteShader);
    if (Font* font = fonts_.Get(GameFonts::kTitle32)) {
        const WideString& text = dcEngine::Instance().GetLanguage().GetText(kPausedTextKey);
        batch->DrawTextAligned(text, *font, kAnchorNone, {-font->MeasureText(text) / 2.0f, -kPauseTextRise},
                               kAnchorMiddle | kAnchorCenter, {1.0f, 1.0f, 1.0f, pauseValue_}, AlphaSpriteShader,
                               false);
    }
    batch->ResetVirtualScreen();
}

void GameModule::ClearLoaded()
{
    loaded_ = false;
    if (world_.NeedsLoading()) {
        world_.Unload();
        stageIndex_ = 0;
        stageCounter_ = 0;
    }
}

float GameModule::RunLoadStep()
{
    if (stageIndex_ == World::kStageCount) {
        loaded_ = true;
        return 1.0f;
    }
    const int32_t index = stageIndex_;
    if (index == 0 && !lensFlare_) {
        dcEngine& engine = dcEngine::Instance();
        lensFlare_ = std::make_unique<dcLensFlare>(engine.GetVideoDevice(), engine.GetSpriteBatch(), world_,
                                                   unitBox_.get());
        scene_.Add(lensFlare_.get());
    }
    const float progress = (world_.*World::kLoadStages[index])(stageCounter_);
    if (progress == 1.0f) {
        ++stageIndex_;
        stageCounter_ = 0;
    }
    return static_cast<float>(index) / World::kStageCount + progress / World::kStageCount;
}

int32_t GameModule::BroadcastGameReset()
{
    return scene_.Broadcast(dcGameReset{dcGameReset::kEndOfGame});
}

void GameModule::ClearDecals()
{
    TheDecalRing().Clear();
}
