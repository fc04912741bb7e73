#include "engine/core/Scene.h"
#include "engine/net/HostScene.h"
#include "engine/physics/PhysicsWorld.h"
#include "engine/physics/SphereGeom.h"
#include "game/weapons/TargetMessage.h"
#include "game/weapons/dcTargetSeeker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <memory>
#include <vector>

namespace {

constexpr float kDegree = 3.14159265f / 180.0f;
constexpr float kReach = 100.0f;

// Where a point kReach away lies that is turned the angles from the axis +z:
// to the side (about y), then up.
Vec3 Bearing(float sideDegrees, float upDegrees)
{
    const float side = sideDegrees * kDegree;
    const float up = upDegrees * kDegree;
    return {kReach * std::cos(up) * std::sin(side), kReach * std::sin(up), kReach * std::cos(up) * std::cos(side)};
}

// A targetable entity with a small ball, answering with its health and priority.
class Target : public MessageReceiver {
    DC_RECEIVER(Target, MessageReceiver)
public:
    Target(const Vec3& position, float health, float priority) : health_(health), priority_(priority)
    {
        Handles<dcTargetMessage, &Target::OnTarget>();
        Handles<dcContact, &Target::OnContact>();
        ball.SetOwner(this);
        ball.SetPosition(position);
    }

    SphereGeom ball{1.0f};
    int32_t contacts = 0;

private:
    void OnTarget(const dcTargetMessage& message)
    {
        message.health = health_;
        message.priority = priority_;
    }
    void OnContact(const dcContact&) { ++contacts; }

    float health_;
    float priority_;
};
// handlers: dcTargetMessage -> OnTarget, dcContact -> OnContact

class TargetSeekerTest : public testing::Test {
protected:
    TargetSeekerTest()
    {
        seeker.SetRadius(2.0f * kReach);
        seeker.Aim({0, 0, 0}, {0, 0, 1});
    }
    ~TargetSeekerTest() override
    {
        for (const std::unique_ptr<Target>& target : targets) {
            scene.Remove(target.get());
        }
    }

    Target& Offer(const Vec3& position, float health, float priority)
    {
        targets.push_back(std::make_unique<Target>(position, health, priority));
        Target& target = *targets.back();
        scene.Add(&target);
        PhysicsWorld::TestPair(&physics, seeker, target.ball);
        return target;
    }

    std::vector<int32_t> HitIds() const
    {
        std::vector<int32_t> ids;
        for (const SeekerHit& hit : seeker.GetHits()) {
            ids.push_back(hit.entityId);
        }
        return ids;
    }

    PhysicsWorld physics;
    HostScene scene;
    dcTargetSeeker seeker;
    std::vector<std::unique_ptr<Target>> targets;
};

} // namespace

TEST_F(TargetSeekerTest, KeepsOnlyLiveTargetsOfPriorityWithinTheCone)
{
    struct Case {
        const char* what;
        Vec3 position;
        float health;
        float priority;
        bool kept;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"straight ahead", Bearing(0, 0), 1.0f, 1.0f, true},
             {"20 degrees aside", Bearing(20, 0), 1.0f, 1.0f, true},
             {"30 degrees aside: aligned enough, not seen from above", Bearing(30, 0), 1.0f, 1.0f, false},
             {"30 degrees up", Bearing(0, 30), 1.0f, 1.0f, true},
             {"40 degrees up, though straight ahead from above", Bearing(0, 40), 1.0f, 1.0f, false},
             {"behind", Bearing(180, 0), 1.0f, 1.0f, false},
             {"destroyed", Bearing(0, 0), 0.0f, 1.0f, false},
             {"of no priority", Bearing(0, 0), 1.0f, 0.0f, false},
         }) {
        seeker.Aim({0, 0, 0}, {0, 0, 1});
        Target& target = Offer(c.position, c.health, c.priority);
        EXPECT_EQ(seeker.GetHits().size(), c.kept ? 1u : 0u) << c.what;
        // The seeker makes no contact and ends the pair at its first point.
        EXPECT_EQ(target.contacts, 0) << c.what;
        EXPECT_EQ(physics.GetContactsUsed(), 0) << c.what;
    }
}

TEST_F(TargetSeekerTest, AHitRecordsHowTheTargetLies)
{
    seeker.Aim({0, 0, -50}, {0, 0, 1});
    const Target& target = Offer({0, 50, 50}, 1.0f, 3.0f);
    ASSERT_EQ(seeker.GetHits().size(), 1u);
    const SeekerHit& hit = seeker.GetHits()[0];
    EXPECT_EQ(hit.entityId, target.GetId());
    EXPECT_NEAR(hit.alignment, 100.0f / std::sqrt(12500.0f), 1e-5f);
    EXPECT_NEAR(hit.horizontalAlignment, 1.0f, 1e-6f);
    EXPECT_NEAR(hit.squaredDistance, 12500.0f, 1e-2f);
    EXPECT_EQ(hit.priority, 3.0f);
}

TEST_F(TargetSeekerTest, BetterAlignedTargetsComeFirstButNeverOvertakeAHigherPriority)
{
    struct Offered {
        float sideDegrees;
        float priority;
    };
    struct Case {
        const char* what;
        std::vector<Offered> offers;
        std::vector<int32_t> order;   // indices into offers
    };
    for (const Case& c : std::initializer_list<Case>{
             {"equal priorities by alignment", {{20, 1}, {0, 1}, {10, 1}}, {1, 2, 0}},
             {"a lower priority stays behind", {{20, 2}, {0, 1}}, {0, 1}},
             {"a higher priority goes ahead", {{20, 1}, {0, 2}}, {1, 0}},
             {"a worse aligned higher priority joins the end", {{0, 1}, {20, 2}}, {0, 1}},
             {"equal alignment keeps the order of arrival", {{10, 1}, {-10, 1}}, {0, 1}},
         }) {
        seeker.Aim({0, 0, 0}, {0, 0, 1});
        std::vector<int32_t> ids;
        for (const Offered& offer : c.offers) {
            ids.push_back(Offer(Bearing(offer.sideDegrees, 0), 1.0f, offer.priority).GetId());
        }
        std::vector<int32_t> expected;
        for (int32_t index : c.order) {
            expected.push_back(ids[static_cast<size_t>(index)]);
        }
        EXPECT_EQ(HitIds(), expected) << c.what;
    }
}

TEST_F(TargetSeekerTest, AGeometryWithoutOwnerIsPassedBy)
{
    SphereGeom loose(1.0f);
    loose.SetPosition(Bearing(0, 0));
    EXPECT_TRUE(PhysicsWorld::TestPair(&physics, seeker, loose));
    EXPECT_TRUE(seeker.GetHits().empty());
    EXPECT_EQ(physics.GetContactsUsed(), 0);
}

TEST_F(TargetSeekerTest, TheSeekerIsAProbeOutOfTheCollisionPass)
{
    EXPECT_EQ(seeker.GetOwner(), &seeker);
    EXPECT_FALSE(seeker.IsEnabled());
    EXPECT_EQ(seeker.GetFlags() & ~kGeomInWorld, kGeomPassive | kGeomSensing);
    EXPECT_EQ(seeker.GetCategoryBits(), 16);
}
