// A host reading frames from raw peers: frames in pieces and in bunches, the
// longest frame, lengths no frame can have, messages no peer may send, peers
// that leave, links that fill up, and more peers than it takes.

#include "engine/core/ClassIdentity.h"
#include "engine/net/HostScene.h"
#include "engine/net/NetConnection.h"
#include "engine/net/NetMessages.h"
#include "engine/net/NetServer.h"
#include "tests/engine/net/NetTestSupport.h"
#include "tests/support/CapturingSink.h"

#include <climits>
#include <memory>

namespace {

class NetHostTest : public testing::Test {
protected:
    void StartHost(int32_t port)
    {
        ASSERT_TRUE(server.Start(L"127.0.0.1", port, false));
        scene.SetServer(&server);
        scene.SetDefaultReceiver(&host);
        port_ = port;
    }

    void Poll()
    {
        server.Update(0.0f);
        ++polls;
    }

    bool PollUntil(const std::function<bool()>& done) { return ::PollUntil([this] { Poll(); }, done); }

    // A raw peer the host has accepted; its client id in clientId.
    std::unique_ptr<RawPeer> Join(int32_t& clientId, int receiveBuffer = 0)
    {
        const size_t before = host.Payloads<dcConnectMessage>().size();
        auto peer = std::make_unique<RawPeer>(port_, receiveBuffer);
        EXPECT_TRUE(PollUntil([&] { return host.Payloads<dcConnectMessage>().size() > before; }));
        clientId = host.Payloads<dcConnectMessage>().empty() ? 0 : host.Payloads<dcConnectMessage>().back().clientId;
        return peer;
    }

    bool Dropped(int32_t clientId) const
    {
        for (const dcDisconnectMessage& m : host.Payloads<dcDisconnectMessage>()) {
            if (m.clientId == clientId) {
                return true;
            }
        }
        return false;
    }

    NetServer server;
    HostScene scene;
    RecordingReceiver host;
    int32_t port_ = 0;
    int32_t polls = 0;
};

} // namespace

TEST_F(NetHostTest, FrameSentByteByByteArrivesOnceWhenComplete)
{
    StartHost(25101);
    int32_t clientId = 0;
    std::unique_ptr<RawPeer> peer = Join(clientId);
    EXPECT_EQ(clientId, 3);   // the first id of a fresh scene
    EXPECT_EQ(host.Connections<dcConnectMessage>(), std::vector<int32_t>{3});

    const std::vector<char> frame = FrameOf(kHostTarget, dcNetTestNumber{42});
    for (size_t i = 0; i + 1 < frame.size(); ++i) {
        peer->Write(&frame[i], 1);
        for (int poll = 0; poll < 3; ++poll) {
            Poll();
        }
        ASSERT_TRUE(host.Payloads<dcNetTestNumber>().empty()) << "after byte " << i;
    }
    peer->Write(&frame.back(), 1);
    ASSERT_TRUE(PollUntil([&] { return !host.Payloads<dcNetTestNumber>().empty(); }));
    for (int poll = 0; poll < 3; ++poll) {
        Poll();
    }
    EXPECT_EQ(Values(host.Payloads<dcNetTestNumber>()), std::vector<int32_t>{42});
    EXPECT_EQ(host.Connections<dcNetTestNumber>(), std::vector<int32_t>{clientId});
}

TEST_F(NetHostTest, FramesOfOneReadArriveInOrderInOnePoll)
{
    StartHost(25102);
    RecordingReceiver entity;
    scene.Add(&entity);
    int32_t clientId = 0;
    std::unique_ptr<RawPeer> peer = Join(clientId);

    std::vector<int32_t> deliveryPolls;
    host.onMessage = [&](int32_t, void*, int32_t, int32_t) { deliveryPolls.push_back(polls); };
    entity.onMessage = host.onMessage;
    host.heard.clear();
    entity.heard.clear();

    std::vector<char> bunch;
    for (const std::vector<char>& frame :
         {FrameOf(kHostTarget, dcNetTestNumber{1}), BuildFrame(kHostTarget, dcNetTestEmpty::Identity().Id(), nullptr, 0),
          FrameOf(777, dcNetTestNumber{99}),   // no object has this id
          FrameOf(entity.GetId(), dcNetTestNumber{2}), FrameOf(kHostTarget, dcNetTestNumber{3})}) {
        bunch.insert(bunch.end(), frame.begin(), frame.end());
    }
    peer->Write(bunch);
    ASSERT_TRUE(PollUntil([&] { return deliveryPolls.size() >= 4; }));
    Poll();

    ASSERT_EQ(host.heard.size(), 3u);
    EXPECT_EQ(host.heard[0].identity, dcNetTestNumber::Identity().Id());
    EXPECT_EQ(host.heard[1].identity, dcNetTestEmpty::Identity().Id());
    EXPECT_EQ(host.heard[1].payload.size(), 0u);
    EXPECT_EQ(Values(host.Payloads<dcNetTestNumber>()), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(Values(entity.Payloads<dcNetTestNumber>()), std::vector<int32_t>{2});
    EXPECT_EQ(entity.Connections<dcNetTestNumber>(), std::vector<int32_t>{clientId});
    EXPECT_EQ(deliveryPolls, std::vector<int32_t>(4, deliveryPolls.front()));
    scene.Remove(&entity);
}

TEST_F(NetHostTest, LocalOnlyMessagesFromAClientAreIgnored)
{
    StartHost(25115);
    RecordingReceiver entity;
    scene.Add(&entity);
    int32_t otherId = 0, forgerId = 0;
    std::unique_ptr<RawPeer> other = Join(otherId);
    std::unique_ptr<RawPeer> forger = Join(forgerId);
    host.heard.clear();
    entity.heard.clear();
    ScopedCapture log;

    // The other client's departure, an object joining or leaving, a
    // collision between pointers of the forger's choosing, and so on, to the
    // lobby and to an object; then a message any client may send.
    const std::vector<char> forged = ForgedPayload(otherId);
    std::vector<char> bytes;
    for (const char* name : kLocalOnlyMessageNames) {
        for (int32_t target : {kHostTarget, entity.GetId()}) {
            const std::vector<char> frame =
                BuildFrame(target, HashClassName(name), forged.data(), static_cast<int32_t>(forged.size()));
            bytes.insert(bytes.end(), frame.begin(), frame.end());
        }
    }
    const std::vector<char> after = FrameOf(kHostTarget, dcNetTestNumber{8});
    bytes.insert(bytes.end(), after.begin(), after.end());
    forger->Write(bytes);
    ASSERT_TRUE(PollUntil([&] { return !host.heard.empty(); }));
    Poll();

    ASSERT_EQ(host.heard.size(), 1u);
    EXPECT_EQ(Values(host.Payloads<dcNetTestNumber>()), std::vector<int32_t>{8});
    EXPECT_TRUE(host.servers.empty());
    EXPECT_TRUE(entity.heard.empty());
    EXPECT_EQ(server.GetClientCount(), 2);
    for (const char* name : kLocalOnlyMessageNames) {
        WideString message;
        EXPECT_TRUE(LoggedTogether(log->lines, {L"127.0.0.1:", FormatWideString(message, "sent local-only message %d",
                                                                                HashClassName(name))}))
            << name;
    }
    scene.Remove(&entity);
}

TEST_F(NetHostTest, PayloadsArriveAlignedAfterOddFrames)
{
    StartHost(25103);
    int32_t clientId = 0;
    std::unique_ptr<RawPeer> peer = Join(clientId);
    host.heard.clear();

    // A frame of 13 bytes puts the next ones off a 4-byte boundary in the
    // inbox: a short payload first, then a long one.
    const char odd = 'x';
    std::vector<char> bytes = BuildFrame(kHostTarget, dcNetTestEmpty::Identity().Id(), &odd, 1);
    const std::vector<char> number = FrameOf(kHostTarget, dcNetTestNumber{0x12345678});
    bytes.insert(bytes.end(), number.begin(), number.end());
    std::vector<char> longer(40000);
    for (size_t i = 0; i < longer.size(); ++i) {
        longer[i] = static_cast<char>(i * 13);
    }
    const std::vector<char> longFrame =
        BuildFrame(kHostTarget, dcNetTestEmpty::Identity().Id(), longer.data(), static_cast<int32_t>(longer.size()));
    bytes.insert(bytes.end(), longFrame.begin(), longFrame.end());
    std::vector<bool> aligned;
    host.onMessage = [&](int32_t, void* payload, int32_t, int32_t) {
        aligned.push_back(reinterpret_cast<uintptr_t>(payload) % 4 == 0);
    };
    peer->Write(bytes);
    ASSERT_TRUE(PollUntil([&] { return host.heard.size() >= 3; }));

    EXPECT_EQ(host.heard[0].payload, std::vector<char>{odd});
    EXPECT_EQ(Values(host.Payloads<dcNetTestNumber>()), std::vector<int32_t>{0x12345678});
    EXPECT_EQ(host.heard[2].payload, longer);
    EXPECT_EQ(aligned, (std::vector<bool>{true, true, true}));
}

TEST_F(NetHostTest, LongestFrameArrivesWhole)
{
    StartHost(25110);
    int32_t clientId = 0;
    std::unique_ptr<RawPeer> peer = Join(clientId);
    host.heard.clear();

    std::vector<char> longest(kMaxPayloadSize);
    for (size_t i = 0; i < longest.size(); ++i) {
        longest[i] = static_cast<char>(i * 7);
    }
    const std::vector<char> frame =
        BuildFrame(kHostTarget, dcNetTestNumber::Identity().Id(), longest.data(), kMaxPayloadSize);
    ASSERT_EQ(frame.size(), static_cast<size_t>(kMaxFrameLength));
    peer->Write(frame);
    peer->Write(frame);
    ASSERT_TRUE(PollUntil([&] { return host.heard.size() >= 2; }));

    EXPECT_EQ(host.heard[0].payload, longest);
    EXPECT_EQ(host.heard[1].payload, longest);
    EXPECT_EQ(server.GetClientCount(), 1);
}

TEST_F(NetHostTest, ImpossibleLengthDropsOnlyThatClient)
{
    StartHost(25104);
    for (int32_t length : {0, 11, -12, INT_MIN, kMaxFrameLength + 1, INT_MAX}) {
        SCOPED_TRACE(length);
        int32_t firstId = 0, badId = 0, lastId = 0;
        std::unique_ptr<RawPeer> first = Join(firstId);
        std::unique_ptr<RawPeer> bad = Join(badId);
        std::unique_ptr<RawPeer> last = Join(lastId);
        host.heard.clear();

        ScopedCapture log;
        const NetFrameHeader header{kHostTarget, dcNetTestNumber::Identity().Id(), length};
        std::vector<char> garbage(sizeof header + 64, 'z');
        memcpy(garbage.data(), &header, sizeof header);
        bad->Write(garbage);
        first->Write(FrameOf(kHostTarget, dcNetTestNumber{1}));
        last->Write(FrameOf(kHostTarget, dcNetTestNumber{2}));
        ASSERT_TRUE(PollUntil([&] { return Dropped(badId) && host.Payloads<dcNetTestNumber>().size() == 2; }));

        EXPECT_EQ(host.Connections<dcNetTestNumber>(), (std::vector<int32_t>{firstId, lastId}));
        EXPECT_EQ(host.Connections<dcDisconnectMessage>(), std::vector<int32_t>{badId});
        WideString line;
        EXPECT_TRUE(log->Contains(FormatWideString(line, "127.0.0.1:")));
        EXPECT_TRUE(log->Contains(FormatWideString(line, "sent a frame of %d bytes", length)));
        EXPECT_TRUE(::PollUntil([] {}, [&] { return !bad->ReadAvailable(); })) << "the bad client stays connected";

        // The others carry on.
        first->Write(FrameOf(kHostTarget, dcNetTestNumber{3}));
        ASSERT_TRUE(PollUntil([&] { return host.Payloads<dcNetTestNumber>().size() == 3; }));
        EXPECT_EQ(server.GetClientCount(), 2);
        server.DropClient(firstId);
        server.DropClient(lastId);
    }
}

TEST_F(NetHostTest, PeerThatLeavesIsReportedAndRemoved)
{
    StartHost(25105);
    struct Case {
        const char* how;
        void (RawPeer::*leave)();
    };
    for (const Case& c : {Case{"closes", &RawPeer::CloseGracefully}, Case{"resets", &RawPeer::Reset}}) {
        SCOPED_TRACE(c.how);
        int32_t stayId = 0, leaverId = 0;
        std::unique_ptr<RawPeer> stay = Join(stayId);
        std::unique_ptr<RawPeer> leaver = Join(leaverId);
        host.heard.clear();

        ScopedCapture log;
        ((*leaver).*c.leave)();
        ASSERT_TRUE(PollUntil([&] { return Dropped(leaverId); }));
        EXPECT_EQ(host.Connections<dcDisconnectMessage>(), std::vector<int32_t>{leaverId});
        WideString gone;
        EXPECT_TRUE(log->Contains(FormatWideString(gone, "client %d (127.0.0.1:", leaverId)));
        EXPECT_EQ(server.GetClientCount(), 1);
        EXPECT_FALSE(server.DropClient(leaverId));
        EXPECT_TRUE(server.DropClient(stayId));
    }
}

TEST_F(NetHostTest, ClientDroppedDuringADeliveryGetsNoFurtherFrames)
{
    StartHost(25109);
    int32_t clientId = 0;
    std::unique_ptr<RawPeer> peer = Join(clientId);
    host.onMessage = [&](int32_t identity, void*, int32_t, int32_t connection) {
        if (identity == dcNetTestNumber::Identity().Id()) {
            EXPECT_TRUE(server.DropClient(connection));
        }
    };
    std::vector<char> bunch = FrameOf(kHostTarget, dcNetTestNumber{1});
    for (int32_t value : {2, 3}) {
        const std::vector<char> frame = FrameOf(kHostTarget, dcNetTestNumber{value});
        bunch.insert(bunch.end(), frame.begin(), frame.end());
    }
    peer->Write(bunch);
    ASSERT_TRUE(PollUntil([&] { return server.GetClientCount() == 0; }));
    Poll();

    EXPECT_EQ(Values(host.Payloads<dcNetTestNumber>()), std::vector<int32_t>{1});
    EXPECT_TRUE(host.Payloads<dcDisconnectMessage>().empty());   // the host dropped it itself
    EXPECT_TRUE(::PollUntil([] {}, [&] { return !peer->ReadAvailable(); }));
}

TEST_F(NetHostTest, FailedSendDropsThatClientAndStillReachesTheNext)
{
    StartHost(25106);
    int32_t ids[3] = {};
    std::unique_ptr<RawPeer> peers[3];
    for (int i = 0; i < 3; ++i) {
        peers[i] = Join(ids[i]);
    }
    host.heard.clear();
    peers[1]->Reset();

    // Sent to every client, without polling: the sends to the middle one
    // fail once its reset has arrived, and each send still goes on to the last.
    int32_t sends = 0;
    ASSERT_TRUE(::PollUntil([] {}, [&] {
        scene.Send(kClientTarget, dcNetTestNumber{++sends}, 0);
        return server.GetClientCount() == 2;
    }));

    EXPECT_EQ(host.Connections<dcDisconnectMessage>(), std::vector<int32_t>{ids[1]});
    std::vector<char> expected;
    for (int32_t value = 1; value <= sends; ++value) {
        const std::vector<char> frame = FrameOf(kClientTarget, dcNetTestNumber{value});
        expected.insert(expected.end(), frame.begin(), frame.end());
    }
    for (int i : {0, 2}) {
        ASSERT_TRUE(::PollUntil([&] { peers[i]->ReadAvailable(); },
                                [&] { return peers[i]->received.size() >= expected.size(); }));
        EXPECT_EQ(peers[i]->received, expected) << "client " << i;
    }
}

TEST_F(NetHostTest, ClientThatStopsReadingIsDroppedOnceItsBacklogIsFull)
{
    StartHost(25108);
    int32_t stalledId = 0;
    std::unique_ptr<RawPeer> stalled = Join(stalledId, 4096);
    ScopedCapture log;

    // The bound only ends a failing run: the system's socket buffers take a
    // few megabytes, the connection's backlog a few more.
    const std::vector<char> payload(60000, 's');
    for (int frame = 0; frame < 2000 && !Dropped(stalledId); ++frame) {
        scene.Send(kClientTarget, dcNetTestNumber::Identity().Id(), payload.data(), 60000, stalledId);
        Poll();
    }
    EXPECT_TRUE(Dropped(stalledId));
    EXPECT_TRUE(log->Contains(L"127.0.0.1:"));
    EXPECT_TRUE(log->Contains(L"takes no data"));
    EXPECT_EQ(server.GetClientCount(), 0);
}

TEST_F(NetHostTest, ClientsBeyondTheLimitAreRefused)
{
    StartHost(25141);
    std::vector<int32_t> ids(kMaxClients);
    std::vector<std::unique_ptr<RawPeer>> peers;
    for (int32_t& id : ids) {
        peers.push_back(Join(id));
    }
    ASSERT_EQ(server.GetClientCount(), kMaxClients);
    ScopedCapture log;

    RawPeer refused(port_);
    EXPECT_TRUE(::PollUntil([this] { Poll(); }, [&] { return !refused.ReadAvailable(); }))
        << "the peer beyond the limit stays connected";
    EXPECT_EQ(server.GetClientCount(), kMaxClients);
    EXPECT_EQ(host.Payloads<dcConnectMessage>().size(), static_cast<size_t>(kMaxClients));
    WideString line;
    EXPECT_TRUE(LoggedTogether(log->lines, {L"refusing 127.0.0.1:",
                                            FormatWideString(line, "%d clients are connected already", kMaxClients)}));

    // A place that frees up is taken again.
    ASSERT_TRUE(server.DropClient(ids.front()));
    int32_t lateId = 0;
    std::unique_ptr<RawPeer> late = Join(lateId);
    EXPECT_GT(lateId, ids.back());
    EXPECT_EQ(server.GetClientCount(), kMaxClients);
}

namespace {

// One connection of the transport's own to a raw peer, over sockets whose
// buffers are kept small: the link takes some tens of kilobytes at most
// before frames have to wait in the connection, whatever the system's
// defaults.
class SmallLinkTest : public testing::Test {
protected:
    static constexpr int kSocketBuffer = 4096;

    void SetUp() override
    {
        ASSERT_TRUE(StartWinSock());
        winSockStarted_ = true;
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        const sockaddr_in address = LoopbackAddress(kPort);
        ASSERT_EQ(bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(listen(listener_, 1), 0);
        peer = std::make_unique<RawPeer>(kPort, kSocketBuffer);
        const SOCKET accepted = accept(listener_, nullptr, nullptr);
        ASSERT_NE(accepted, INVALID_SOCKET);
        setsockopt(accepted, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&kSocketBuffer),
                   sizeof kSocketBuffer);
        MakeNonBlocking(accepted);
        link = std::make_unique<NetConnection>(accepted, 3, L"the small link's peer");
    }

    void TearDown() override
    {
        link.reset();
        peer.reset();
        if (listener_ != INVALID_SOCKET) {
            closesocket(listener_);
        }
        if (winSockStarted_) {
            StopWinSock();
        }
    }

    static constexpr int32_t kPort = 25107;
    std::unique_ptr<RawPeer> peer;
    std::unique_ptr<NetConnection> link;

private:
    SOCKET listener_ = INVALID_SOCKET;
    bool winSockStarted_ = false;
};

} // namespace

TEST_F(SmallLinkTest, PartlySentFramesLeaveWholeAndInOrderOnLaterFlushes)
{
    // Far more than the sockets hold: most of it has to wait in the connection.
    constexpr int32_t kFrames = 100;
    constexpr int32_t kPayload = 8000;
    std::vector<char> expected;
    for (int32_t sequence = 0; sequence < kFrames; ++sequence) {
        std::vector<char> payload(kPayload, static_cast<char>(sequence));
        memcpy(payload.data(), &sequence, sizeof sequence);
        const std::vector<char> frame =
            BuildFrame(kClientTarget, dcNetTestNumber::Identity().Id(), payload.data(), kPayload);
        ASSERT_TRUE(link->Send(frame)) << sequence;
        expected.insert(expected.end(), frame.begin(), frame.end());
    }

    // Without a flush only what the sockets took arrives.
    peer->ReadAvailable();
    EXPECT_LT(peer->received.size(), expected.size());

    ASSERT_TRUE(PollUntil(
        [&] {
            EXPECT_TRUE(link->Flush());
            peer->ReadAvailable();
        },
        [&] { return peer->received.size() >= expected.size(); }));
    EXPECT_EQ(peer->received.size(), expected.size());
    EXPECT_TRUE(peer->received == expected);
    EXPECT_EQ(ParseFrames(peer->received).size(), static_cast<size_t>(kFrames));
}
