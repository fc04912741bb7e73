#include "game/world/TestScene.h"

#include "engine/audio/AudioDevice.h"
#include "engine/audio/SoundGroups.h"
#include "engine/audio/Voice.h"
#include "engine/core/dcEngine.h"
#include "engine/math/Quaternion.h"
#include "render/device/VideoDevice.h"
#include "render/models/Animation.h"
#include "render/models/Camera.h"
#include "render/models/Model.h"
#include "render/models/SceneVariables.h"
#include "render/models/Skeleton.h"
#include "render/models/SkinnedModel.h"
#include "render/shaders/ShaderEffect.h"

#include <cmath>

namespace {

constexpr int32_t kWorldPass = 3;        // the pass the sample mesh shaders draw in
constexpr float kTurnSpeed = 0.6f;       // radians per second
constexpr int32_t kGridLines = 11;
constexpr float kGridSpacing = 1.0f;
const Vec3 kCarPosition{0.0f, 0.0f, -2.5f};
// The car's engine is heard fully within this distance and fades out to the far one.
constexpr float kEngineNear = 2.0f;
constexpr float kEngineFar = 30.0f;

Matrix44 Placed(float angle, const Vec3& position)
{
    Matrix44 world;
    Quaternion::ToMatrix(Quaternion::FromAxisAngle(kWorldUp, angle), world);
    world.SetRow(3, position);
    return world;
}

} // namespace

// The scene's camera, a light from above and behind it, and the sample content.
struct TestScene::Content {
    Content()
    {
        camera.SetPosition({0.0f, 2.2f, 7.0f});
        const float towardsLight[4] = {0.3f, 0.7f, 0.6f, 0.0f};
        const float ambient[4] = {0.35f, 0.35f, 0.4f, 1.0f};
        const float diffuse[4] = {0.7f, 0.7f, 0.65f, 1.0f};
        variables.SetLight(towardsLight, ambient, diffuse);
        for (Model* model : {static_cast<Model*>(&crate), &lampPost, &car, static_cast<Model*>(&figure)}) {
            model->SetParent(&variables);
        }
        skeleton.AddAnimation(&walk);
        skeleton.SetRootMotion(false);   // walks on the spot
        skeleton.PlayAnimation(&walk, 0.0f, -1, 0.25f, 1.0f);
    }

    void Aim(VideoDevice& video)
    {
        camera.SetViewport({0, 0, video.GetBackBufferWidth(), video.GetBackBufferHeight()});
        camera.Update();
        variables.Aim(camera);
    }

    Camera camera;
    SceneVariables variables;
    Model crate{L"Crate.DCM", L""};
    Model lampPost{L"LampPost.DCM", L""};
    Model car{L"Car.DCM", L""};
    SkinnedModel figure{L"Models\\Figure.DCM"};
    Skeleton skeleton{L"Models\\Figure.DCSK", &figure};
    Animation walk{L"Models\\Walk.DCA", true};
};

TestScene::TestScene()
{
    SetName(L"TestScene");
}

TestScene::~TestScene()
{
    if (AudioDevice* audio = dcEngine::Instance().GetAudioDevice(); audio && engineSound_) {
        audio->DestroyVoice(engineSound_);
    }
    // The device's line shader outlives the scene whose variables it was given.
    VideoDevice* video = dcEngine::Instance().GetVideoDevice();
    ShaderEffect* lines = video ? video->GetLineShader() : nullptr;
    if (content_ && lines && lines->GetParent() == &content_->variables) {
        lines->SetParent(nullptr);
    }
}

void TestScene::Enter()
{
    if (!content_ && dcEngine::Instance().GetVideoDevice()) {
        content_ = std::make_unique<Content>();
    }
    StartEngineSound();
}

void TestScene::Leave()
{
    if (engineSound_) {
        engineSound_->Stop();
    }
}

// The car idles where it stands, heard from the camera.
void TestScene::StartEngineSound()
{
    AudioDevice* audio = dcEngine::Instance().GetAudioDevice();
    if (!audio || !content_) {
        return;
    }
    if (ListenerInterface* listener = audio->GetListener()) {
        listener->SetListenerPosition(content_->camera.GetPosition());
        listener->SetListenerOrientation(content_->camera.GetOrientation());
    }
    if (!engineSound_) {
        engineSound_ = audio->Play(L"Engine.WAV", true, false, false);
        EffectsSoundGroup().Add(*engineSound_);
        engineSound_->Set3DRange(kEngineNear, kEngineFar);
        engineSound_->Set3DPosition(kCarPosition);
    }
    engineSound_->Play(true);
}

void TestScene::Update()
{
    const float dt = dcEngine::Instance().GetFrameTime();
    angle_ = std::fmod(angle_ + kTurnSpeed * dt, 6.2831855f);
    SetFade(1.0f);
    if (content_) {
        content_->skeleton.Update(dt);
    }
}

void TestScene::DrawGrid()
{
    VideoDevice& video = *dcEngine::Instance().GetVideoDevice();
    if (ShaderEffect* lines = video.GetLineShader()) {
        lines->SetParent(&content_->variables);
    }
    const Color grey{0.45f, 0.5f, 0.45f, 1.0f};
    const float half = kGridSpacing * (kGridLines - 1) / 2.0f;
    for (int32_t i = 0; i < kGridLines; ++i) {
        const float at = -half + kGridSpacing * i;
        video.DrawLine({at, 0.0f, -half}, {at, 0.0f, half}, grey);
        video.DrawLine({-half, 0.0f, at}, {half, 0.0f, at}, grey);
    }
}

void TestScene::Render()
{
    VideoDevice* video = dcEngine::Instance().GetVideoDevice();
    if (!video || !content_) {
        return;
    }
    video->Clear(kClearTarget | kClearDepth, Color{0.2f, 0.25f, 0.35f, 1.0f}, 1.0f, 0);
    content_->Aim(*video);
    DrawGrid();
    content_->crate.Render(Placed(angle_, {-2.5f, 0.0f, 0.0f}), kWorldPass, 0);
    content_->lampPost.Render(Placed(0.0f, {2.5f, 0.0f, -1.0f}), kWorldPass, 0);
    content_->car.Render(Placed(-angle_, kCarPosition), kWorldPass, 0);
    content_->skeleton.Render(Placed(angle_ * 0.5f, {0.5f, 0.0f, 1.5f}), kWorldPass, 0);
}
