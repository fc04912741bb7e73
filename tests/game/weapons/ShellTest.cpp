// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "engine/core/FrameMessages.h"
#include "engine/physics/PhysicsMessages.h"
#include "game/weapons/dcShell.h"
#include "game/weapons/dcShellSensor.h"

#include <initializer_list>

namespace {

constexpr float kStep = 0.01f;

class ShellTest : public GameTest {
protected:
    ShellTest()
    {
        Game().GetWorld().GetPhysics().SetGravity({});
        dcShell::LoadSharedAssets();
    }

    // The sensor meets a surface with the normal whose plane passes through the point.
    static void Touch(dcShellSensor& sensor, const Vec3& onPlane, const Vec3& normal)
    {
        dcContact contact;
        contact.position = Vec3::Subtract(onPlane, Vec3::Scale(normal, dcShellSensor::kSurfaceLift));
        contact.normal = normal;
        sensor.Send(contact);
    }

    static dcShell* Drop(const Vec3& position, const Vec3& velocity, dcShellSensor* sensor)
    {
        return dcShell::Spawn(position, Quaternion{}, velocity, {}, sensor);
    }
};

} // namespace

TEST_F(ShellTest, ACasingBouncesOffAFloorAtHalfSpeedAndClinksOnlyOnce)
{
    dcShellSensor* sensor = dcShellSensor::Create({}, {});
    Touch(*sensor, {}, {0, 1, 0});
    dcShell* shell = Drop({0, 0.05f, 0}, {0, -10, 0}, sensor);
    EXPECT_EQ(sensor->GetReferences(), 2);
    const int32_t clinks = dcShell::GetClinkCount();
    shell->Send(dcUpdate{kStep});
    EXPECT_NEAR(shell->GetVelocity().y, 5.0f, 1e-4f);
    EXPECT_NEAR(shell->GetPosition().y, 0.005f, 1e-5f);
    EXPECT_EQ(dcShell::GetClinkCount(), clinks + 1);
    // A ceiling one unit up sends it down again, silently.
    Touch(*sensor, {0, 0.05f, 0}, {0, -1, 0});
    shell->Send(dcUpdate{kStep});
    EXPECT_NEAR(shell->GetVelocity().y, -2.5f, 1e-4f);
    EXPECT_EQ(dcShell::GetClinkCount(), clinks + 1);
    EXPECT_EQ(shell->GetSensor(), sensor);
    Game().BroadcastGameReset();
    sensor->Release();
}

TEST_F(ShellTest, ACasingSlowedToRestGivesItsSensorBackAndFallsOn)
{
    dcShellSensor* sensor = dcShellSensor::Create({}, {});
    Touch(*sensor, {}, {0, 1, 0});
    dcShell* shell = Drop({0, 0.005f, 0}, {0, -1, 0}, sensor);
    shell->Send(dcUpdate{kStep});
    EXPECT_NEAR(shell->GetVelocity().y, 0.5f, 1e-4f);
    EXPECT_EQ(shell->GetSensor(), nullptr);
    EXPECT_EQ(sensor->GetReferences(), 1);
    shell->Send(dcUpdate{kStep});
    EXPECT_NEAR(shell->GetVelocity().y, 0.5f, 1e-4f);
    Game().BroadcastGameReset();
    sensor->Release();
}

TEST_F(ShellTest, ACasingWithoutASensorNeverBounces)
{
    const int32_t clinks = dcShell::GetClinkCount();
    dcShell* shell = Drop({0, 0.05f, 0}, {0, -10, 0}, nullptr);
    for (int32_t step = 0; step < 10; ++step) {
        shell->Send(dcUpdate{kStep});
    }
    EXPECT_NEAR(shell->GetPosition().y, -0.95f, 1e-4f);
    EXPECT_EQ(dcShell::GetClinkCount(), clinks);
    Game().BroadcastGameReset();
}

TEST_F(ShellTest, CasingsThatGoGiveTheirSensorBack)
{
    struct Case {
        const char* how;
        void (*end)(GameModule&, dcShell&);
    };
    for (const Case& c : std::initializer_list<Case>{
             {"life over", [](GameModule& game, dcShell&) {
                  for (int32_t second = 0; second <= 30; ++second) {
                      game.GetUpdateChannel().Broadcast(dcUpdate{1.0f});
                  }
              }},
             {"game reset", [](GameModule& game, dcShell&) { game.BroadcastGameReset(); }},
             {"released", [](GameModule&, dcShell& shell) { shell.Release(); }},
         }) {
        dcShellSensor* sensor = dcShellSensor::Create({}, {});
        const int32_t freeShells = dcShell::FreeCount();
        dcShell* shell = Drop({}, {}, sensor);
        c.end(Game(), *shell);
        EXPECT_EQ(shell->GetScene(), nullptr) << c.how;
        EXPECT_EQ(dcShell::FreeCount(), freeShells + (freeShells > 0 ? 0 : 1)) << c.how;
        EXPECT_EQ(sensor->GetReferences(), 1) << c.how;
        shell->Release();   // a second release changes nothing
        EXPECT_EQ(sensor->GetReferences(), 1) << c.how;
        sensor->Release();
    }
}

TEST_F(ShellTest, ASensorFallsWhileInUseAndGoesBackToItsPoolWhenNoneUsesIt)
{
    Game().GetWorld().GetPhysics().SetGravity({0, -100, 0});
    dcShellSensor* sensor = dcShellSensor::Create({0, 50, 0}, {10, 0, 0});
    EXPECT_EQ(sensor->MessageReceiver::GetScene(), &Game().GetScene());
    Game().GetUpdateChannel().Broadcast(dcUpdate{0.1f});
    EXPECT_NEAR(sensor->GetPosition().x, 1.0f, 1e-4f);
    EXPECT_NEAR(sensor->GetPosition().y, 49.0f, 1e-4f);
    EXPECT_NEAR(sensor->GetVelocity().y, -10.0f, 1e-4f);
    const int32_t free = dcShellSensor::FreeCount();
    sensor->Release();
    EXPECT_EQ(sensor->MessageReceiver::GetScene(), nullptr);
    EXPECT_EQ(dcShellSensor::FreeCount(), free + 1);
    sensor->Release();
    EXPECT_EQ(dcShellSensor::FreeCount(), free + 1);
    EXPECT_EQ(dcShellSensor::Create({}, {}), sensor);
    sensor->Release();
}
