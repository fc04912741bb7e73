// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "engine/files/PackArchive.h"
#include "engine/math/Quaternion.h"
#include "game/weapons/dcLensFlare.h"
#include "game/world/SkySettings.h"
#include "game/world/World.h"
#include "render/models/Camera.h"
#include "render/models/Model.h"
#include "render/sprites/SpriteBatch.h"
#include "tests/render/device/WindowedDevice.h"
#include "tests/render/models/ModelSupport.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace {

constexpr int32_t kMostFrames = 400;

// The flare on a real device, with the sample data's textures, shaders,
// unit box and day sky, drawn frame by frame as the game module would.
class LensFlareDrawing : public GameTest {
protected:
    void SetUp() override
    {
        std::filesystem::copy_file(FixturePath(L"sampledata\\Data.DCP").c_str(), "Data.DCP");
        ArchiveList::Instance().Mount(std::make_unique<PackArchive>(L"Data.DCP"));
        window.Show();
        ASSERT_TRUE(video.Create(&window, {kWidth, kHeight}, {}));
        sprites = std::make_unique<SpriteBatch>(video);
        unitBox = std::make_unique<Model>(&video, L"Models\\UnitBox.DCM", L"");
        unitBox->SetParent(&world);
        wall = std::make_unique<Model>(&video, L"Models\\Box.DCM", L"");
        wall->SetParent(&world);
        flare = std::make_unique<dcLensFlare>(&video, sprites.get(), world, unitBox.get());
        world.LoadSky(L"Skies\\Day");
        camera.SetFarPlane(75000.0f);
        camera.SetViewport({0, 0, kWidth, kHeight});
    }
    void TearDown() override
    {
        flare.reset();
        wall.reset();
        unitBox.reset();
        sprites.reset();
    }

    // Turns the camera from its starting view to look along the direction.
    void Look(const Vec3& direction)
    {
        camera.SetOrientation(Quaternion{});
        camera.Update();
        const Vec3 ahead = camera.GetFrustum().planes[Frustum::kNear].normal;
        const Vec3 axis = Vec3::Cross(ahead, direction);
        const float angle = std::acos(std::clamp(Vec3::Dot(ahead, direction), -1.0f, 1.0f));
        const Vec3 turn = axis.Length() > 1e-6f ? axis * (1.0f / axis.Length()) : Vec3{0.0f, 1.0f, 0.0f};
        // The camera keeps the inverse of its turn.
        camera.SetOrientation(Quaternion::Conjugate(Quaternion::FromAxisAngle(turn, angle)));
        camera.Update();
        const Vec3 now = camera.GetFrustum().planes[Frustum::kNear].normal;
        ASSERT_GT(Vec3::Dot(now, direction), 0.99f);
    }

    // One frame: the wall (if up) fills the depth, the flare draws over it,
    // the frame is shown (the device polls its queries), then a game step.
    void Frame()
    {
        video.BeginFrame();
        video.SetViewport({0.0f, 0.0f, static_cast<float>(kWidth), static_cast<float>(kHeight)}, 0.0f, 1.0f);
        video.Clear(kClearTarget | kClearDepth | kClearStencil, Color{0.0f, 0.0f, 0.0f, 1.0f}, 1.0f, 0);
        world.AimShaders(camera);
        if (wallUp) {
            // A 500-unit block 1000 units towards the sun.
            Matrix44 transform;
            transform.Scale({500.0f, 500.0f, 500.0f});
            transform.Translate(Sun() * 1000.0f - Vec3{0.0f, 250.0f, 0.0f});
            wall->Render(transform, kWallPass, 0);
        }
        flare->Send(dcRender{&camera, dcLensFlare::kFlarePass, 1 << dcLensFlare::kFlarePass, 0});
        video.EndFrame();
        video.Present();
        flare->Send(dcUpdate{0.02f});
        Sleep(1);
    }

    // Frames until the fade reaches the value; false when it never does.
    bool FramesUntilFade(float fade)
    {
        for (int32_t frame = 0; frame < kMostFrames; ++frame) {
            Frame();
            if (flare->GetFade() == fade) {
                return true;
            }
        }
        return false;
    }

    // Frames until the question in flight, if any, is answered.
    void SettleQuestion()
    {
        for (int32_t frame = 0; frame < kMostFrames && flare->IsQueryPending(); ++frame) {
            Frame();
        }
        ASSERT_FALSE(flare->IsQueryPending());
    }

    Vec3 Sun() const { return world.GetSky()->GetSunDirection(); }

    static bool IsLit(const Screenshot& shot, Vec2 point)
    {
        const int32_t x = static_cast<int32_t>(point.x);
        const int32_t y = static_cast<int32_t>(point.y);
        if (x < 0 || y < 0 || x >= shot.width || y >= shot.height) {
            return false;
        }
        const uint32_t pixel = shot.pixels[static_cast<size_t>(y * shot.width + x)];
        return (pixel & 0xFF) + ((pixel >> 8) & 0xFF) + ((pixel >> 16) & 0xFF) > 60;
    }

    static constexpr int32_t kWidth = 800;
    static constexpr int32_t kHeight = 600;
    static constexpr int32_t kWallPass = 1;   // the sample meshes' pass

    // The folders the engine gives the factories at start-up.
    ScopedFactoryFolder textureFolder{TextureFactory(), L"Textures"};
    ScopedFactoryFolder shaderFolder{ShaderFactory(), L"Shaders"};
    D3D9Video video;
    World world;
    Camera camera;
    std::unique_ptr<SpriteBatch> sprites;
    std::unique_ptr<Model> unitBox;
    std::unique_ptr<Model> wall;
    std::unique_ptr<dcLensFlare> flare;
    bool wallUp = false;
};

} // namespace

TEST_F(LensFlareDrawing, TheDaySunFlaresWhileSeenAndNotOnceTheViewTurnsAway)
{
    ASSERT_TRUE(world.GetSky()->IsFlareOn());
    // Off the centre, so that the sprites spread along their line.
    const Vec3 aside = Sun() + Vec3{0.15f, -0.1f, 0.0f};
    Look(aside * (1.0f / aside.Length()));
    ASSERT_TRUE(FramesUntilFade(1.0f)) << "fade " << flare->GetFade();
    const Vec2 sun = camera.ProjectToScreen(Sun() * dcLensFlare::kSunDistance);
    ASSERT_GT(std::abs(sun.x - kWidth / 2), 20.0f);
    Screenshot seen(video);
    ASSERT_TRUE(seen.taken);
    EXPECT_TRUE(IsLit(seen, sun));
    EXPECT_TRUE(IsLit(seen, {kWidth / 2.0f, kHeight / 2.0f}));
    EXPECT_TRUE(IsLit(seen, {kWidth - std::trunc(sun.x), kHeight - std::trunc(sun.y)}));   // the mirrored sprite

    Look(-Sun());
    SettleQuestion();
    for (int32_t frame = 0; frame < 20; ++frame) {
        Frame();
        EXPECT_FALSE(flare->IsQueryPending()) << "no question about a sun behind the camera";
    }
    Screenshot away(video);
    EXPECT_TRUE(away.AllPixelsAre(0xFF000000u));
}

TEST_F(LensFlareDrawing, ASunHiddenBehindAWallFadesOut)
{
    Look(Sun());
    ASSERT_TRUE(FramesUntilFade(1.0f));
    wallUp = true;
    EXPECT_TRUE(FramesUntilFade(0.0f)) << "fade " << flare->GetFade();
    // And back once the wall is gone.
    wallUp = false;
    EXPECT_TRUE(FramesUntilFade(1.0f));
}

// The default sky has no sun: its direction is nothing, which would put the
// sun on the camera itself.
TEST_F(LensFlareDrawing, ASkyWithoutAFlareAsksNothingAndDrawsNothing)
{
    Look(Sun());
    ASSERT_TRUE(FramesUntilFade(1.0f));
    world.ResetSky();
    SettleQuestion();
    for (int32_t frame = 0; frame < 30; ++frame) {
        Frame();
        EXPECT_FALSE(flare->IsQueryPending());
    }
    Screenshot shot(video);
    EXPECT_FALSE(IsLit(shot, {kWidth / 2.0f, kHeight / 2.0f}));
}

