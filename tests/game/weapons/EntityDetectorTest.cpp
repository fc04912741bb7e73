// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "engine/core/FrameMessages.h"
#include "engine/math/Quaternion.h"
#include "engine/physics/SphereGeom.h"
#include "game/weapons/VolumeMessages.h"
#include "game/weapons/dcEntityDetector.h"
#include "game/world/GameMessages.h"
#include "tests/engine/math/MathExpect.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace {

constexpr float kStep = 1.0f / 75.0f;
constexpr float kVolumeRadius = 5.0f;

// An entity with a ball of radius 1 that tells where it is and which geometry it has.
class Ball : public MessageReceiver {
    DC_RECEIVER(Ball, MessageReceiver)
public:
    Ball()
    {
        Handles<dcOrientation, &Ball::OnOrientation>();
        Handles<dcGetGeometry, &Ball::OnGetGeometry>();
    }

    void MoveTo(const Vec3& position) { sphere.SetPosition(position); }

    SphereGeom sphere{1.0f};
    Quaternion turn;
    bool hasGeometry = true;

private:
    void OnOrientation(const dcOrientation& message)
    {
        message.position = sphere.GetPosition();
        message.orientation = turn;
    }
    void OnGetGeometry(const dcGetGeometry& message) { message.geometry = hasGeometry ? &sphere : nullptr; }
};
// handlers: dcOrientation -> OnOrientation, dcGetGeometry -> OnGetGeometry

// An owner whose mission deletes the volume's detector as an entity enters.
class Deleter : public MessageReceiver {
    DC_RECEIVER(Deleter, MessageReceiver)
public:
    Deleter() { Handles<dcVolumeEnter, &Deleter::OnEnter>(); }
    int32_t detectorId = 0;
    int32_t reports = 0;

private:
    void OnEnter(const dcVolumeEnter&)
    {
        ++reports;
        GetScene()->DeleteById(detectorId);
    }
};
// handlers: dcVolumeEnter -> OnEnter

class EntityDetectorTest : public GameTest {
protected:
    EntityDetectorTest()
    {
        for (Ball& ball : balls) {
            Game().GetScene().Add(&ball);
        }
        Game().GetScene().Add(&owner);
    }
    ~EntityDetectorTest() override
    {
        for (Ball& ball : balls) {
            Game().GetScene().Remove(&ball);
        }
        Game().GetScene().Remove(&owner);
    }

    // A detector in the game scene that reports to the owner, as a volume trigger makes it.
    dcEntityDetector* MakeDetector(int32_t followedId, const Vec3& offset, bool diesWithEntity,
                                   const std::vector<int32_t>& watched)
    {
        auto* detector = new dcEntityDetector(followedId, offset, kVolumeRadius, diesWithEntity, watched);
        detector->SetNotifyId(owner.GetId());
        Game().GetScene().Add(detector);
        detectorId = detector->GetId();
        return detector;
    }

    // One step of the game's updates; the reports it brought, as "enter <id>" or "leave <id>".
    std::vector<std::string> Step()
    {
        owner.deliveries.clear();
        Game().GetUpdateChannel().Broadcast(dcUpdate{kStep});
        std::vector<std::string> reports;
        for (const RecordingEntity::Delivery& delivery : owner.deliveries) {
            const bool enter = delivery.identity == dcVolumeEnter::Identity().Id();
            const auto* ids = reinterpret_cast<const int32_t*>(delivery.payload.data());
            EXPECT_EQ(delivery.payload.size(), 8u);
            reports.push_back((enter ? "enter " : "leave ") + std::to_string(ids[1]) + " of " +
                              std::to_string(ids[0]));
        }
        return reports;
    }

    std::string Report(const char* what, const Ball& ball, int32_t followedId = 0)
    {
        return std::string(what) + " " + std::to_string(ball.GetId()) + " of " + std::to_string(followedId);
    }

    bool DetectorAlive() const { return game->GetScene().FindReceiver(detectorId) != nullptr; }

    Ball balls[3];
    RecordingEntity owner{{dcVolumeEnter::Identity().Id(), dcVolumeLeave::Identity().Id()}};
    int32_t detectorId = 0;
};

} // namespace

TEST_F(EntityDetectorTest, ReportsEachCrossingOfTheVolumeOnce)
{
    Ball& ball = balls[0];
    ball.MoveTo({20, 0, 0});
    MakeDetector(0, {0, 0, 0}, true, {ball.GetId()});
    struct Move {
        Vec3 to;
        std::vector<std::string> reports;
    };
    // The ball of radius 1 touches the volume of radius 5 nearer than 6.
    for (const Move& move : std::initializer_list<Move>{
             {{20, 0, 0}, {Report("leave", ball)}},   // undecided at first: reported outside
             {{10, 0, 0}, {}},
             {{5.5f, 0, 0}, {Report("enter", ball)}},
             {{0, 0, 0}, {}},
             {{0, -5.5f, 0}, {}},
             {{0, -7, 0}, {Report("leave", ball)}},
             {{0, -7, 0}, {}},
             {{0, 0, 3}, {Report("enter", ball)}},
         }) {
        ball.MoveTo(move.to);
        EXPECT_EQ(Step(), move.reports) << "at " << move.to.x << ", " << move.to.y << ", " << move.to.z;
    }
}

TEST_F(EntityDetectorTest, AnEntityInsideAtTheFirstStepIsReportedOnceUntilItLeaves)
{
    balls[0].MoveTo({1, 0, 0});
    balls[1].MoveTo({0, 30, 0});
    MakeDetector(0, {0, 0, 0}, true, {balls[0].GetId(), balls[1].GetId()});
    EXPECT_EQ(Step(), (std::vector<std::string>{Report("enter", balls[0]), Report("leave", balls[1])}));
    for (int32_t i = 0; i < 5; ++i) {
        EXPECT_TRUE(Step().empty());
    }
}

TEST_F(EntityDetectorTest, AWatchedEntityThatIsGoneIsDroppedWithoutALeave)
{
    balls[0].MoveTo({0, 0, 0});
    dcEntityDetector* detector = MakeDetector(0, {0, 0, 0}, true, {0, balls[0].GetId(), 999, balls[1].GetId()});
    balls[1].MoveTo({0, 50, 0});
    EXPECT_EQ(Step(), (std::vector<std::string>{Report("enter", balls[0]), Report("leave", balls[1])}));
    ASSERT_EQ(detector->GetWatched().size(), 2u);

    Game().GetScene().Remove(&balls[0]);
    EXPECT_TRUE(Step().empty());
    ASSERT_EQ(detector->GetWatched().size(), 1u);
    EXPECT_EQ(detector->GetWatched()[0].entityId, balls[1].GetId());
    // Still watching the rest.
    balls[1].MoveTo({0, 0, 0});
    EXPECT_EQ(Step(), std::vector<std::string>{Report("enter", balls[1])});
}

TEST_F(EntityDetectorTest, TheVolumeRidesAtItsOffsetInTheFollowedEntitysFrame)
{
    Ball& carrier = balls[0];
    carrier.MoveTo({100, 0, 0});
    // A quarter turn about y takes the offset (0, 0, -10) to (-10, 0, 0).
    carrier.turn = Quaternion::FromAxisAngle({0, 1, 0}, 1.5707963f);
    Ball& watched = balls[1];
    watched.MoveTo({90, 0, 0});
    dcEntityDetector* detector = MakeDetector(carrier.GetId(), {0, 0, -10}, true, {watched.GetId()});
    EXPECT_EQ(Step(), std::vector<std::string>{Report("enter", watched, carrier.GetId())});
    EXPECT_TRUE(NearVec(detector->GetSphere().GetPosition(), {90, 0, 0}));

    // What it answers about itself: where its volume is, and that it cannot be destroyed.
    dcOrientation pose;
    detector->Send(pose);
    EXPECT_TRUE(NearVec(pose.position, {90, 0, 0}));
    dcTargetMessage target;
    detector->Send(target);
    EXPECT_EQ(target.geometry, &detector->GetSphere());
    EXPECT_TRUE(NearVec(target.position, {90, 0, 0}));
    EXPECT_EQ(target.health, 1.0f);
    EXPECT_EQ(target.maxHealth, 0.0f);
    dcGetGeometry geometry;
    detector->Send(geometry);
    EXPECT_EQ(geometry.geometry, &detector->GetSphere());
}

TEST_F(EntityDetectorTest, WhenTheFollowedEntityIsGoneTheDetectorDiesOrStaysPut)
{
    struct Case {
        bool diesWithEntity;
        bool alive;
    };
    for (const Case& c : std::initializer_list<Case>{{true, false}, {false, true}}) {
        Ball& carrier = balls[0];
        if (!carrier.GetScene()) {
            Game().GetScene().Add(&carrier);
        }
        carrier.MoveTo({50, 0, 0});
        Ball& watched = balls[1];
        watched.MoveTo({0, 0, 0});
        MakeDetector(carrier.GetId(), {0, 0, 0}, c.diesWithEntity, {watched.GetId()});
        EXPECT_EQ(Step(), std::vector<std::string>{Report("leave", watched, carrier.GetId())});

        Game().GetScene().Remove(&carrier);
        // The step that finds the carrier gone tests nothing.
        watched.MoveTo({50, 0, 0});
        EXPECT_TRUE(Step().empty());
        Game().GetScene().FlushDeletes();
        EXPECT_EQ(DetectorAlive(), c.alive) << "dies with entity " << c.diesWithEntity;
        if (!c.alive) {
            continue;
        }
        // Left at the carrier's last place, still testing, now following nothing.
        auto* detector = static_cast<dcEntityDetector*>(Game().GetScene().FindReceiver(detectorId));
        EXPECT_EQ(detector->GetFollowedId(), 0);
        EXPECT_TRUE(NearVec(detector->GetSphere().GetPosition(), {50, 0, 0}));
        EXPECT_EQ(Step(), std::vector<std::string>{Report("enter", watched)});
        Game().GetScene().DeleteById(detectorId);
    }
}

TEST_F(EntityDetectorTest, AnEntityWithoutAGeometryCountsAsOutsideAndStaysWatched)
{
    Ball& ball = balls[0];
    ball.MoveTo({0, 0, 0});
    ball.hasGeometry = false;
    dcEntityDetector* detector = MakeDetector(0, {0, 0, 0}, true, {ball.GetId()});
    EXPECT_EQ(Step(), std::vector<std::string>{Report("leave", ball)});
    EXPECT_EQ(detector->GetWatched().size(), 1u);
    ball.hasGeometry = true;
    EXPECT_EQ(Step(), std::vector<std::string>{Report("enter", ball)});
}

TEST_F(EntityDetectorTest, AnOwnerThatDeletesTheDetectorOnAReportEndsItsStep)
{
    Deleter deleter;
    Game().GetScene().Add(&deleter);
    balls[0].MoveTo({0, 0, 0});
    balls[1].MoveTo({1, 0, 0});
    dcEntityDetector* detector = MakeDetector(0, {0, 0, 0}, true, {balls[0].GetId(), balls[1].GetId()});
    detector->SetNotifyId(deleter.GetId());
    deleter.detectorId = detectorId;
    Step();
    EXPECT_EQ(deleter.reports, 1);
    EXPECT_FALSE(DetectorAlive());
    Game().GetScene().Remove(&deleter);
}
