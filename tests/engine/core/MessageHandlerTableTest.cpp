#include "engine/core/MessageReceiver.h"
#include "engine/core/Scene.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

namespace {

struct dcTestPing {
    DC_MESSAGE(dcTestPing)
    int32_t value;
};

struct dcTestPong {
    DC_MESSAGE(dcTestPong)
    int32_t value;
};

struct dcTestUnheard {
    DC_MESSAGE(dcTestUnheard)
    int32_t value;
};

// A base that answers pings and pongs, and a derived class that takes pings
// over through its own table and pongs by overriding the operation.
class dcTestBase : public MessageReceiver {
    DC_RECEIVER(dcTestBase, MessageReceiver)
public:
    dcTestBase()
    {
        Handles<dcTestPing, &dcTestBase::OnPing>();
        Handles<dcTestPong, &dcTestBase::OnPong>();
    }
    std::vector<std::string> heard;
    int32_t lastConnection = -1;

protected:
    virtual void OnPing(const dcTestPing& msg, int32_t connection)
    {
        heard.push_back("base ping " + std::to_string(msg.value));
        lastConnection = connection;
    }
    virtual void OnPong(const dcTestPong& msg) { heard.push_back("base pong " + std::to_string(msg.value)); }
};

class dcTestDerived : public dcTestBase {
    DC_RECEIVER(dcTestDerived, dcTestBase)
public:
    dcTestDerived() { Handles<dcTestPing, &dcTestDerived::OnDerivedPing>(); }

protected:
    virtual void OnDerivedPing(const dcTestPing& msg) { heard.push_back("derived ping " + std::to_string(msg.value)); }
    void OnPong(const dcTestPong& msg) override { heard.push_back("derived pong " + std::to_string(msg.value)); }
};

// Never constructed: its table stays empty.
class dcTestNeverBuilt : public MessageReceiver {
    DC_RECEIVER(dcTestNeverBuilt, MessageReceiver)
public:
    dcTestNeverBuilt() { Handles<dcTestPing, &dcTestNeverBuilt::OnPing>(); }

private:
    void OnPing(const dcTestPing&) {}
};

int32_t Deliver(MessageReceiver& receiver, int32_t value, int32_t connection = 0)
{
    dcTestPing ping{value};
    return receiver.HandleMessage(dcTestPing::Identity().Id(), &ping, sizeof ping, connection);
}

} // namespace

TEST(MessageHandlerTable, TablesAreFilledByTheFirstConstruction)
{
    EXPECT_FALSE(dcTestNeverBuilt::HandlerTable().Handles(dcTestPing::Identity().Id()));
    dcTestBase base;
    EXPECT_TRUE(base.HandlesMessage(dcTestPing::Identity().Id()));
    dcTestBase second;
    // A second construction adds nothing: one ping runs one handler.
    EXPECT_EQ(Deliver(second, 1), 1);
    EXPECT_EQ(second.heard, std::vector<std::string>{"base ping 1"});
}

TEST(MessageHandlerTable, DerivedTablesComeFirstThenTheBase)
{
    dcTestDerived derived;
    EXPECT_EQ(Deliver(derived, 2, 7), 1);
    EXPECT_EQ(derived.Send(dcTestPong{3}), 1);
    EXPECT_EQ(derived.heard, (std::vector<std::string>{"derived ping 2", "derived pong 3"}));
    EXPECT_EQ(derived.lastConnection, -1);

    dcTestBase base;
    EXPECT_EQ(Deliver(base, 4, 7), 1);
    EXPECT_EQ(base.lastConnection, 7);
}

TEST(MessageHandlerTable, UnknownMessagesRunNothing)
{
    dcTestDerived derived;
    dcTestUnheard unheard{1};
    EXPECT_FALSE(derived.HandlesMessage(dcTestUnheard::Identity().Id()));
    EXPECT_EQ(derived.Send(unheard), 0);
    EXPECT_TRUE(derived.heard.empty());
}

TEST(MessageHandlerTable, SharedLastHitChangesNoResult)
{
    dcTestBase first;
    dcTestBase second;
    for (int32_t round = 0; round < 3; ++round) {
        EXPECT_EQ(Deliver(first, round), 1);
        EXPECT_EQ(second.Send(dcTestPong{round}), 1);
        EXPECT_TRUE(first.HandlesMessage(dcTestPong::Identity().Id()));
        EXPECT_TRUE(second.HandlesMessage(dcTestPing::Identity().Id()));
    }
    EXPECT_EQ(first.heard.size(), 3u);
    EXPECT_EQ(second.heard.back(), "base pong 2");
}

TEST(MessageHandlerTable, RefusesPayloadsShorterThanTheRecord)
{
    ScopedCapture log;
    dcTestBase base;
    const char shortPayload[2] = {1, 2};
    EXPECT_EQ(base.HandleMessage(dcTestPing::Identity().Id(), shortPayload, sizeof shortPayload, 3), 0);
    EXPECT_EQ(base.HandleMessage(dcTestPing::Identity().Id(), nullptr, 4, 3), 0);
    EXPECT_TRUE(base.heard.empty());
    EXPECT_TRUE(log->Contains(L"dcTestBase: message"));
    EXPECT_TRUE(log->Contains(L"from client 3 refused"));
}

// No message type has an identity of 0 or below, however a table has been used.
TEST(MessageHandlerTable, IdentitiesNoTypeHasRunNothing)
{
    dcTestBase base;
    const int32_t payload = 5;
    for (int32_t identity : {0, -1, 0}) {
        EXPECT_FALSE(base.HandlesMessage(identity)) << identity;
        EXPECT_EQ(base.HandleMessage(identity, &payload, sizeof payload, 0), 0) << identity;
    }
    EXPECT_TRUE(base.heard.empty());
}

TEST(MessageReceiver, CopyIsInNoScene)
{
    struct dcTestScene : Scene {
        int32_t NewId() override { return ++nextId_; }
    } scene;
    dcTestBase original;
    scene.Insert(&original, 12);
    dcTestBase copy(original);
    EXPECT_EQ(copy.GetScene(), nullptr);
    EXPECT_EQ(copy.GetId(), 0);
    EXPECT_EQ(original.GetScene(), &scene);
    scene.Remove(&original);
}
