// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "engine/core/FrameMessages.h"
#include "game/weapons/dcDetector.h"
#include "game/world/GameMessages.h"

#include <initializer_list>
#include <vector>

namespace {

class DetectorTest : public GameTest {
protected:
    DetectorTest() { Game(); }

    // dcUpdate steps of the length; whether the detector is still in the scene after each.
    std::vector<bool> Survives(int32_t id, const std::vector<float>& steps)
    {
        std::vector<bool> alive;
        for (float step : steps) {
            Game().GetUpdateChannel().Broadcast(dcUpdate{step});
            alive.push_back(Game().GetScene().FindReceiver(id) != nullptr);
        }
        return alive;
    }
};

} // namespace

TEST_F(DetectorTest, CreatePlacesASensingSphereInTheGame)
{
    dcDetector* detector = dcDetector::Create({10, 20, 30}, 50.0f, 0x2010, 0x1000, 10.0f);
    ASSERT_NE(detector, nullptr);
    EXPECT_EQ(Game().GetScene().FindReceiver(detector->GetId()), detector);
    SphereGeom& sphere = detector->GetSphere();
    EXPECT_EQ(sphere.GetWorld(), &Game().GetWorld().GetPhysics());
    EXPECT_EQ(sphere.GetPosition().z, 30.0f);
    EXPECT_EQ(sphere.GetRadius(), 50.0f);
    EXPECT_EQ(sphere.GetCategoryBits(), 0x2010);
    EXPECT_EQ(sphere.GetCollideBits(), 0x1000);
    EXPECT_EQ(sphere.GetFlags() & ~kGeomInWorld, kGeomSensing);
    // The detector hears nothing of its collisions.
    EXPECT_EQ(sphere.GetOwner(), nullptr);
}

TEST_F(DetectorTest, ALimitedLifeEndsWithTheStepThatTakesItBelowZero)
{
    struct Case {
        float lifetime;
        std::vector<float> steps;
        std::vector<bool> alive;
    };
    for (const Case& c : std::initializer_list<Case>{
             {10.0f, {4.0f, 4.0f, 4.0f}, {true, true, false}},
             {10.0f, {2.5f, 2.5f, 2.5f, 2.5f, 0.01f}, {true, true, true, true, false}},
             {dcDetector::kPermanent, {1000.0f, 1000.0f}, {true, true}},
         }) {
        dcDetector* detector = dcDetector::Create({}, 1.0f, 0, 0, c.lifetime);
        const int32_t id = detector->GetId();
        EXPECT_EQ(Survives(id, c.steps), c.alive) << "lifetime " << c.lifetime;
        Game().GetScene().DeleteById(id);
    }
}

TEST_F(DetectorTest, AGameResetEndsOnlyTheLimitedOnes)
{
    const int32_t limited = dcDetector::Create({}, 1.0f, 0, 0, 10.0f)->GetId();
    const int32_t permanent = dcDetector::Create({}, 1.0f, 0, 0, dcDetector::kPermanent)->GetId();
    Game().BroadcastGameReset();
    Game().GetScene().FlushDeletes();
    EXPECT_EQ(Game().GetScene().FindReceiver(limited), nullptr);
    EXPECT_NE(Game().GetScene().FindReceiver(permanent), nullptr);
}

TEST_F(DetectorTest, AnEmbeddedDetectorIsPermanentWithRadiusOne)
{
    dcDetector embedded;
    EXPECT_EQ(embedded.GetLifetime(), dcDetector::kPermanent);
    EXPECT_EQ(embedded.GetSphere().GetRadius(), 1.0f);
    EXPECT_EQ(embedded.GetSphere().GetWorld(), &Game().GetWorld().GetPhysics());
    embedded.Send(dcGameReset{dcGameReset::kEndOfGame});
    embedded.Send(dcUpdate{100.0f});
    EXPECT_EQ(embedded.GetLifetime(), dcDetector::kPermanent);
}
