// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "game/vehicles/dcScriptGame.h"
#include "game/world/dcEntityCamera.h"

namespace {

class dcGameCameraTest : public GameTest {
protected:
    dcScriptGame* NewMode()
    {
        Game();   // first: a game mode makes its camera in the module's scene
        auto* mode = new dcScriptGame(L"Scripts\\None.dcScript");
        Game().SetGameMode(mode);
        Game().GetScene().Add(mode);
        return mode;
    }
};

} // namespace

TEST_F(dcGameCameraTest, EachGameModeFilmsThroughANewActiveCameraInTheScene)
{
    NewMode();
    dcEntityCamera* first = Game().GetActiveCamera();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->IsActive());
    EXPECT_EQ(Game().GetScene().FindReceiver(first->GetId()), first);
    EXPECT_EQ(&Game().GetViewCamera(), static_cast<Camera*>(first));

    Game().BroadcastGameReset();
    const int32_t firstId = first->GetId();
    NewMode();
    dcEntityCamera* second = Game().GetActiveCamera();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second->GetId(), firstId);
    EXPECT_EQ(Game().GetScene().FindReceiver(firstId), nullptr);
}

TEST_F(dcGameCameraTest, WithoutAPlayerTheGameLooksOverTheCity)
{
    dcScriptGame* mode = NewMode();
    mode->Start();
    dcEntityCamera* camera = Game().GetActiveCamera();
    ASSERT_NE(camera, nullptr);
    const BoundingBox& city = Game().GetWorld().GetBox();
    EXPECT_GT(camera->GetPosition().y, city.centre.y);
    // Nobody answers for the camera: it stays where it was put.
    const Vec3 placed = camera->GetPosition();
    Game().Simulate(0.02f);
    EXPECT_EQ(camera->GetMode(), dcEntityCamera::kModeStill);
    EXPECT_FLOAT_EQ(camera->GetPosition().y, placed.y);
    EXPECT_FLOAT_EQ(camera->GetPosition().z, placed.z);

    // A camera that films somebody is left where its target puts it.
    camera->SetPosition({1, 2, 3});
    camera->SetTargetId(12345);
    mode->Start();
    EXPECT_FLOAT_EQ(camera->GetPosition().y, 2.0f);
}
