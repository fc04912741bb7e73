#include "engine/physics/BoxGeom.h"
#include "engine/physics/PlaneGeom.h"
#include "tests/engine/math/MathExpect.h"
#include "tests/engine/physics/PhysicsProbe.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::string KindOf(const std::string& line)
{
    return line.substr(line.find(' ') + 1);
}

std::string SpeakerOf(const std::string& line)
{
    return line.substr(0, line.find(' '));
}

class GroundContactTest : public GroundBoxTest {};

// Two unit boxes, the upper one sunk 0.05 into the lower, no gravity.
class TwoBoxTest : public PhysicsWorldTest {
protected:
    TwoBoxTest() : lower(world, {0, 0, 0}), upper(world, {0, 0.95f, 0})
    {
        world.SetGravity({0, 0, 0});
        lower.geometry.SetOwner(&lowerOwner);
        upper.geometry.SetOwner(&upperOwner);
    }

    dcForceProbe lowerOwner{"lower", journal};
    dcForceProbe upperOwner{"upper", journal};
    DynamicBox lower;
    DynamicBox upper;
};

} // namespace

TEST_F(GroundContactTest, OwnersHearCullThenCollisionThenContactsThenForces)
{
    world.Collide();
    const std::vector<std::string> heard = Take();
    ASSERT_EQ(heard.size(), 12u);
    const std::vector<std::string> kinds{"cull",    "cull",    "collision", "collision", "contact", "contact",
                                         "contact", "contact", "contact",   "contact",   "contact", "contact"};
    for (size_t i = 0; i < heard.size(); ++i) {
        EXPECT_EQ(KindOf(heard[i]), kinds[i]) << i;
    }
    // Each side hears once per stage, the pair's first side first, and each
    // point goes to the first side, then the second.
    const std::string first = SpeakerOf(heard[0]);
    EXPECT_NE(SpeakerOf(heard[1]), first);
    for (size_t i = 0; i < heard.size(); i += 2) {
        EXPECT_EQ(SpeakerOf(heard[i]), first) << i;
    }

    // The box is pushed up, the ground down, at the same points.
    ASSERT_EQ(boxOwner.contacts.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        const dcContact& boxSide = boxOwner.contacts[i];
        const dcContact& groundSide = groundOwner.contacts[i];
        EXPECT_TRUE(NearVec(boxSide.normal, {0, 1, 0}));
        EXPECT_TRUE(NearVec(groundSide.normal, {0, -1, 0}));
        EXPECT_TRUE(NearVec(boxSide.position, groundSide.position));
        EXPECT_NEAR(boxSide.depth, 0.01f, 1e-4f);
        EXPECT_EQ(boxSide.self, &box.geometry);
        EXPECT_EQ(boxSide.other, &ground);
        EXPECT_EQ(boxSide.selfBody, &box.body);
        EXPECT_EQ(boxSide.otherBody, nullptr);
        EXPECT_EQ(boxSide.selfOwner, &boxOwner);
        EXPECT_EQ(boxSide.otherOwner, &groundOwner);
        EXPECT_EQ(groundSide.selfBody, nullptr);
        EXPECT_EQ(boxSide.accept, 1);
        EXPECT_EQ(boxSide.continueContacts, 1);
        EXPECT_EQ(boxSide.friction, 100.0f);
    }
    ASSERT_EQ(world.GetContactsUsed(), 4);
    const ContactJoint& contact = world.GetContact(0);
    EXPECT_EQ(contact.GetFirstBody(), &box.body);
    EXPECT_EQ(contact.GetSecondBody(), nullptr);
    EXPECT_EQ(contact.GetFirstGeom(), &box.geometry);
    EXPECT_EQ(contact.GetSecondGeom(), &ground);
    EXPECT_TRUE(contact.IsAttached());
    EXPECT_EQ(contact.GetForceListeners().size(), 2u);

    world.Step(kFixedStep);
    const std::vector<std::string> after = Take();
    ASSERT_EQ(after.size(), 8u);
    for (size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(KindOf(after[i]), "force");
        EXPECT_EQ(SpeakerOf(after[i]), SpeakerOf(after[i % 2]));
    }
    EXPECT_EQ(world.GetContactsUsed(), 0);
}

TEST_F(GroundContactTest, ForcesAfterTheStepHoldTheBoxUp)
{
    RunSteps(150);
    boxOwner.forces.clear();
    world.Collide();
    world.Step(kFixedStep);
    ASSERT_FALSE(boxOwner.forces.empty());
    float lift = 0.0f;
    for (const dcPhysicsForce& force : boxOwner.forces) {
        EXPECT_EQ(force.stepLength, kFixedStep);
        ASSERT_NE(force.contact, nullptr);
        EXPECT_EQ(force.contact->GetFirstBody(), &box.body);
        lift += force.force1.y;
    }
    // At rest the contacts carry the box's weight (mass 1).
    EXPECT_NEAR(lift, 9.81f, 0.5f);
    EXPECT_NEAR(box.body.GetPosition().y, 0.5f, 0.02f);
}

TEST_F(GroundContactTest, OnlyOwnersThatHandleForcesAreTold)
{
    dcCollisionProbe deafOwner("deaf", journal);
    ground.SetOwner(&deafOwner);
    world.Collide();
    ASSERT_EQ(world.GetContactsUsed(), 4);
    EXPECT_EQ(world.GetContact(0).GetForceListeners(), std::vector<MessageReceiver*>{&boxOwner});
    world.Step(kFixedStep);
    EXPECT_EQ(boxOwner.forces.size(), 4u);
    EXPECT_EQ(deafOwner.collisions, 1);
}

TEST_F(GroundContactTest, ACullFromEitherSideStopsThePairBeforeItIsTested)
{
    for (dcForceProbe* culler : {&boxOwner, &groundOwner}) {
        culler->onCull = [](const dcCollisionCull& msg) { msg.collide = 0; };
        Take();
        world.Collide();
        for (const std::string& line : Take()) {
            EXPECT_EQ(KindOf(line), "cull");
        }
        EXPECT_EQ(world.GetContactsUsed(), 0);
        culler->onCull = nullptr;
    }
}

TEST_F(GroundContactTest, ACancelledCollisionMakesNoContacts)
{
    groundOwner.onCollision = [](const dcCollision& msg) { msg.accept = 0; };
    world.Collide();
    EXPECT_TRUE(boxOwner.contacts.empty());
    EXPECT_TRUE(groundOwner.contacts.empty());
    EXPECT_EQ(world.GetContactsUsed(), 0);
}

TEST_F(GroundContactTest, AVetoDropsOnePointOrTheRestOfThePair)
{
    struct Case {
        uint8_t accept;
        uint8_t continueContacts;
        int32_t joints;
        size_t contactsHeard;
    };
    for (const Case& c : std::initializer_list<Case>{{1, 1, 4, 4}, {0, 1, 3, 4}, {0, 0, 0, 1}, {1, 0, 4, 4}}) {
        boxOwner.contacts.clear();
        boxOwner.onContact = [&](const dcContact& msg) {
            if (boxOwner.contacts.size() == 1) {
                msg.accept = c.accept;
                msg.continueContacts = c.continueContacts;
            }
        };
        world.Collide();
        EXPECT_EQ(world.GetContactsUsed(), c.joints) << int(c.accept) << int(c.continueContacts);
        EXPECT_EQ(boxOwner.contacts.size(), c.contactsHeard) << int(c.accept) << int(c.continueContacts);
        world.Step(kFixedStep);
        box.body.SetPosition({0, 0.49f, 0});
    }
}

TEST_F(GroundContactTest, TheSecondSideHearsWhatTheFirstAnswered)
{
    auto answer = [](const dcContact& msg) {
        msg.position = {7, 8, 9};
        msg.normal = {1, 0, 0};
        msg.depth = 0.25f;
    };
    boxOwner.onContact = answer;
    groundOwner.onContact = answer;
    world.Collide();
    const bool boxFirst = SpeakerOf(Take()[4]) == "box";
    const dcContact& second = boxFirst ? groundOwner.contacts[0] : boxOwner.contacts[0];
    EXPECT_TRUE(NearVec(second.position, {7, 8, 9}));
    EXPECT_TRUE(NearVec(second.normal, {-1, 0, 0}));
    EXPECT_FLOAT_EQ(second.depth, 0.25f);
}

TEST_F(GroundContactTest, AContactKeptOffTheOnlyBodyMakesNoJoint)
{
    boxOwner.onContact = [](const dcContact& msg) { msg.selfBody = nullptr; };
    world.Collide();
    EXPECT_EQ(boxOwner.contacts.size(), 4u);
    EXPECT_EQ(world.GetContactsUsed(), 0);
}

TEST_F(GroundContactTest, ABodyDestroyedBeforeTheStepHearsNoForces)
{
    auto doomed = std::make_unique<DynamicBox>(world, Vec3{5, 0.49f, 0});
    dcForceProbe doomedOwner("doomed", journal);
    doomed->geometry.SetOwner(&doomedOwner);
    world.Collide();
    EXPECT_EQ(world.GetContactsUsed(), 8);
    doomed.reset();
    world.Step(kFixedStep);
    EXPECT_TRUE(doomedOwner.forces.empty());
    // The ground's listener list went with the destroyed box's contacts.
    EXPECT_EQ(groundOwner.forces.size(), 4u);
    EXPECT_EQ(boxOwner.forces.size(), 4u);
}

TEST_F(GroundContactTest, APausedStepLeavesBodiesWhereTheyAre)
{
    world.Collide();
    world.Step(0.0f);
    EXPECT_TRUE(NearVec(box.body.GetPosition(), {0, 0.49f, 0}));
    EXPECT_EQ(world.GetContactsUsed(), 0);
    EXPECT_TRUE(boxOwner.forces.empty());
    RunSteps(1);
    EXPECT_FALSE(std::isnan(box.body.GetPosition().y));
}

TEST_F(TwoBoxTest, APassiveGeometryTakesTheContactAlone)
{
    upper.body.Disable();
    upper.geometry.SetFlag(kGeomPassive, true);
    world.Collide();
    // The car-like lower box is not told about the passive one.
    EXPECT_EQ(lowerOwner.collisions, 0);
    EXPECT_EQ(upperOwner.collisions, 1);
    ASSERT_GT(world.GetContactsUsed(), 0);
    for (int32_t i = 0; i < world.GetContactsUsed(); ++i) {
        EXPECT_EQ(world.GetContact(i).GetFirstBody(), &upper.body);
        EXPECT_EQ(world.GetContact(i).GetSecondBody(), nullptr);
        EXPECT_EQ(world.GetContact(i).GetFirstGeom(), &upper.geometry);
    }
    EXPECT_TRUE(upper.body.IsEnabled());
    world.Step(kFixedStep);
    EXPECT_TRUE(NearVec(lower.body.GetLinearVelocity(), kZeroVector));
    EXPECT_GT(upper.body.GetLinearVelocity().y, 0.0f);
}

TEST_F(TwoBoxTest, SparingAndOneSidedContactsChooseTheBodies)
{
    struct Case {
        const char* name;
        int32_t lowerSpare;
        int32_t upperSpare;
        uint8_t upperOneSided;
        bool lowerTakesIt;
        bool upperTakesIt;
    };
    for (const Case& c : std::initializer_list<Case>{{"plain", 0, 0, 0, true, true},
                                                     {"both spare themselves", 1, 1, 0, true, true},
                                                     {"lower spares itself", 1, 0, 0, false, true},
                                                     {"upper spares itself", 0, 1, 0, true, false},
                                                     {"other spare values count as none", 2, 0, 0, true, true},
                                                     {"upper one-sided", 0, 0, 1, false, true}}) {
        upper.body.Disable();   // the lower body alone lets the pair collide
        lowerOwner.onContact = [&](const dcContact& msg) { msg.spareSelf = c.lowerSpare; };
        upperOwner.onContact = [&](const dcContact& msg) {
            msg.spareSelf = c.upperSpare;
            msg.oneSided = c.upperOneSided;
        };
        world.Collide();
        ASSERT_GT(world.GetContactsUsed(), 0) << c.name;
        const ContactJoint& contact = world.GetContact(0);
        auto takes = [&](const RigidBody& body) {
            return contact.GetFirstBody() == &body || contact.GetSecondBody() == &body;
        };
        EXPECT_EQ(takes(lower.body), c.lowerTakesIt) << c.name;
        EXPECT_EQ(takes(upper.body), c.upperTakesIt) << c.name;
        if (!c.lowerTakesIt) {
            EXPECT_TRUE(upper.body.IsEnabled()) << c.name << ": the body left in the contact is woken";
        }
        world.Step(kFixedStep);
        lower.body.SetPosition({0, 0, 0});
        upper.body.SetPosition({0, 0.95f, 0});
        lower.body.SetLinearVelocity(kZeroVector);
        upper.body.SetLinearVelocity(kZeroVector);
    }
}

TEST_F(PhysicsWorldTest, AnOffsetShapeCollidesWhereItSits)
{
    PlaneGeom ground(0, 1, 0, 0);
    ground.AddToWorld(world);
    dcCollisionProbe owner("car", journal);
    BoxGeom chassis({1, 0.5f, 2});
    chassis.SetOwner(&owner);
    RigidBody body(world);
    body.AttachGeom(&chassis);
    // Turned before the offset is set: the shape keeps the body's turn, once.
    body.SetOrientation(Quaternion::FromAxisAngle({0, 1, 0}, 1.5707964f));
    chassis.SetOffset({0, -1, 0});
    EXPECT_TRUE(NearVec(chassis.GetBounds().halfExtents, {2, 0.5f, 1}, 1e-4f));
    body.SetPosition({0, 4, 0});
    body.Enable();
    chassis.AddToWorld(world);
    RunSteps(150);
    // The body floats a unit above its box, which rests on the ground.
    EXPECT_NEAR(body.GetPosition().y, 1.5f, 0.02f);
    ASSERT_FALSE(owner.contacts.empty());
    EXPECT_EQ(owner.contacts.back().self, &chassis);
}
