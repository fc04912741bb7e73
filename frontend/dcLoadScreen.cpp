#include "frontend/dcLoadScreen.h"

#include "engine/audio/AudioDevice.h"
#include "engine/audio/SoundGroups.h"
#include "engine/audio/Voice.h"
#include "engine/core/ProgramState.h"
#include "engine/core/dcEngine.h"
#include "engine/files/ArchiveList.h"
#include "engine/gui/GuiResources.h"
#include "engine/gui/MenuSounds.h"
#include "engine/net/ClientScene.h"
#include "engine/net/NetClient.h"
#include "engine/net/NetServer.h"
#include "engine/video/TextureResource.h"
#include "engine/video/VideoDevice.h"
#include "frontend/FrontEnd.h"
#include "game/vehicles/VehicleCatalogue.h"
#include "game/vehicles/VehicleType.h"
#include "game/vehicles/dcScriptGame.h"
#include "game/world/GameModule.h"
#include "platform/dfengine/DFEngine.h"
#include "render/device/DFTexture.h"
#include "render/sprites/SpriteBatch.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr float kStepProgress = 0.01f;
constexpr float kWorldProgressStart = 0.1f;
constexpr float kWorldProgressSpan = 0.8f;
constexpr float kFinishProgressStart = 0.9f;
constexpr int32_t kReceiveAfterStep = 5;    // a client reads its link once the game mode and the sky exist
constexpr float kBarRise = -14.0f;          // units above the bottom edge
constexpr float kDfPreparationTime = 10.0f;

WideString ChooseLoadingPicture()
{
    const std::vector<WideString> pictures = ListFiles(L"Menu\\Loading?.DCT");
    if (pictures.empty()) {
        return L"Loading.DCT";
    }
    return pictures[static_cast<size_t>(std::rand()) % pictures.size()];
}

} // namespace

dcLoadScreen::dcLoadScreen(const WideString& scriptName, const WideString& worldName)
    : MenuScreen(L"Loading", ChooseLoadingPicture())
    , scriptName_(scriptName)
    , worldName_(worldName)
{
    Handles<dcLoadingMessage, &dcLoadScreen::OnLoadingMessage>();
    Handles<dcStartMessage, &dcLoadScreen::OnStartMessage>();
    if (GuiResources* resources = GetGuiResources()) {
        bar_ = resources->GetTexture(L"LoadingBar.DCT");
    }
    SetFade(1.5f);
    if (GameModule* game = GameModule::Get()) {
        // A network game's creator links them again after construction.
        game->SetNetworkLinks(nullptr, nullptr, nullptr, nullptr);
    }
}

dcLoadScreen::~dcLoadScreen()
{
    if (Scene* scene = GetScene()) {
        scene->Remove(this);
    }
}

void dcLoadScreen::Popped()
{
    MenuScreen::Popped();
    delete this;
}

void dcLoadScreen::Update()
{
    MenuScreen::Update();
    Run(dcEngine::Instance().GetFrameTime());
}

void dcLoadScreen::Run(float dt)
{
    GameModule* game = GameModule::Get();
    if (!game) {
        return;
    }
    game->GetWorld().SetFileName(worldName_);
    UpdateNetwork(*game, dt);
    if (GetFade() < 1.0f || !Advance(*game)) {
        return;
    }
    if (!started_) {
        Start(*game);
    }
    if (FadeMusic(dt)) {
        dcEngine::Instance().PushMLP(game, true);
    }
}

void dcLoadScreen::UpdateNetwork(GameModule& game, float dt)
{
    if (NetServer* server = game.GetNetServer()) {
        server->Update(dt);
        for (LoadProgressEntry& player : players_) {
            player.silence += dt;
        }
    }
    NetClient* client = game.GetNetClient();
    if (!client) {
        return;
    }
    client->Update(dt, stepCount_ > kReceiveAfterStep);
    reportTimer_ -= dt;
    if (reportTimer_ <= 0.0f) {
        if (ClientScene* router = game.GetClientRouter()) {
            router->Send(GetId(), dcLoadingMessage{0, progress_});
        }
        reportTimer_ = kReportInterval;
    }
}

bool dcLoadScreen::Advance(GameModule& game)
{
    if (stepCount_ < kPreparationSteps) {
        RunPreparationStep(game, stepCount_);
        ++stepCount_;
        progress_ = stepCount_ * kStepProgress;
        return false;
    }
    if (!game.IsLoaded()) {
        progress_ = kWorldProgressStart + kWorldProgressSpan * game.RunLoadStep();
        return false;
    }
    // The world file was refused (and named in the log): no game to start.
    if (game.GetWorld().HasFailed()) {
        if (!gaveUp_) {
            gaveUp_ = true;
            ReturnToMainMenu();
        }
        return false;
    }
    if (finishCount_ < kFinishingFrames) {
        if (finishCount_ == 0) {
            game.ClearDecals();
        }
        ++finishCount_;
        progress_ = kFinishProgressStart + finishCount_ * kStepProgress;
        return false;
    }
    progress_ = 1.0f;
    if (!game.GetNetClient()) {
        startFlag_ = true;
    }
    return startFlag_;
}

// Step 2 loads the pedestrian catalogue once that exists; 6 to 9 only move
// the bar.
void dcLoadScreen::RunPreparationStep(GameModule& game, int32_t step)
{
    switch (step) {
    case 0:
        game.BroadcastGameReset();
        game.ClearLoaded();
        break;
    case 1: {
        auto* mode = new dcScriptGame(scriptName_);   // the scene's from now on
        game.SetGameMode(mode);
        game.GetScene().Add(mode);
        break;
    }
    case 3:
        LoadVehicleTypes();
        break;
    case 4:
        BuildCatalogues();
        break;
    case 5:
        game.GetWorld().ResetSky();
        break;
    default:
        break;
    }
}

void dcLoadScreen::Start(GameModule& game)
{
    if (dcGame* mode = game.GetGameMode()) {
        mode->Start();
        mode->SetControlsLocked(false);
        mode->FireRoots();
    }
    if (DFEngine* component = dcEngine::Instance().GetDFEngine()) {
        component->PreEnterZone(0, kDfPreparationTime);
        RefreshDFTextures();
        component->EnterZone("MainZone");
        game.GetScene().Broadcast(dcInitAds{0});
    }
    started_ = true;
    if (ClientScene* router = game.GetClientRouter()) {
        router->SetNextId(kClientLocalIdBase);
    }
}

bool dcLoadScreen::FadeMusic(float dt)
{
    musicFade_ = std::min(musicFade_ + dt / kMusicFadeTime, 1.0f);
    if (introMusicVoice) {
        introMusicVoice->SetVolume(1.0f - musicFade_);
        MenuSoundGroup().SetVolume(0.0f);
    }
    if (musicFade_ < 1.0f) {
        return false;
    }
    if (introMusicVoice) {
        introMusicVoice->Stop();
        MusicSoundGroup().Remove(*introMusicVoice);
        if (AudioDevice* audio = dcEngine::Instance().GetAudioDevice()) {
            audio->DestroyVoice(introMusicVoice);
        }
        introMusicVoice = nullptr;
    }
    return true;
}

void dcLoadScreen::Draw()
{
    MenuScreen::Draw();
    SpriteDrawer* batch = dcEngine::Instance().GetSpriteBatch();
    if (!batch) {
        return;
    }
    if (bar_) {
        const float shown = static_cast<float>(static_cast<int32_t>(bar_->GetImageWidth() * progress_));
        batch->DrawImageAligned(bar_.get(), {0.0f, 0.0f, shown, bar_->GetImageHeight()}, kAlignCenter | kAlignBottom,
                                {0.0f, kBarRise}, kAnchorCenter | kAnchorBottom, {1.0f, 1.0f, 1.0f, 1.0f},
                                AlphaSpriteShader);
    }
    if (musicFade_ > 0.0f) {
        const ViewportRect& view = dcEngine::Instance().GetVideoDevice()->GetViewport();
        batch->DrawFilledRect({view.left, view.top, view.right, view.bottom}, {0.0f, 0.0f, 0.0f, musicFade_},
                              AlphaSpriteShader);
    }
}

bool dcLoadScreen::EverybodyLoaded() const
{
    return std::all_of(players_.begin(), players_.end(), [](const LoadProgressEntry& player) {
        return player.progress >= 1.0f || player.silence >= kStartSilence;
    });
}

void dcLoadScreen::OnLoadingMessage(const dcLoadingMessage& message, int32_t connection)
{
    dcLoadingMessage report = message;
    if (connection != 0) {
        report.clientId = connection;
    }
    for (LoadProgressEntry& player : players_) {
        if (player.clientId == report.clientId) {
            player.progress = report.progress;
            player.silence = 0.0f;
        }
    }
    GameModule* game = GameModule::Get();
    HostScene* host = game ? game->GetHostRouter() : nullptr;
    if (!host || connection == 0) {
        return;
    }
    host->Send(GetId(), report, 0);
    if (!startFlag_ && EverybodyLoaded()) {
        host->Send(GetId(), dcStartMessage{host->GetNextId()}, 0);
        startFlag_ = true;
    }
}

void dcLoadScreen::OnStartMessage(const dcStartMessage& message)
{
    GameModule* game = GameModule::Get();
    if (ClientScene* router = game ? game->GetClientRouter() : nullptr) {
        router->SetNextId(message.nextId);
    }
    startFlag_ = true;
}

void PushLoadScreen(const WideString& scriptName, const WideString& worldName)
{
    dcEngine::Instance().PushMLP(new dcLoadScreen(scriptName, worldName), true);
}
