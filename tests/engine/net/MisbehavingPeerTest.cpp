// Peers that break the rules, against a host and against a client, while a
// well-behaved client of the same host keeps talking to it: random bytes in
// random pieces, frames with one field damaged, frames cut off by a leaving
// peer, connections opened and dropped in quick succession, and junk on the
// discovery port. Whatever arrives, host and client stay up, drop the
// offender with a line that names it, hold no more than an inbox or two per
// connection, and deliver every message of the well-behaved peers whole and
// in order. Random streams come from fixed seeds, so every run is the same.

#include "engine/net/ClientScene.h"
#include "engine/net/HostScene.h"
#include "engine/net/NetClient.h"
#include "engine/net/NetMessages.h"
#include "engine/net/NetServer.h"
#include "engine/net/ServerAnnouncement.h"
#include "tests/engine/net/NetTestSupport.h"
#include "tests/support/CapturingSink.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <random>
#include <string>
#include <utility>

namespace {

// What the well-behaved client and its host say to each other: a running
// number and a pattern made from it, so that a message that arrives mangled,
// twice or out of turn shows.
struct dcNetTestSequence {
    DC_MESSAGE(dcNetTestSequence)
    int32_t sequence;
    uint8_t pattern[60];
};
DC_FIXED_LAYOUT(dcNetTestSequence, 64);

dcNetTestSequence SequenceMessage(int32_t sequence)
{
    dcNetTestSequence message{};
    message.sequence = sequence;
    for (size_t i = 0; i < sizeof message.pattern; ++i) {
        message.pattern[i] = static_cast<uint8_t>(sequence * 31 + static_cast<int32_t>(i));
    }
    return message;
}

// An object with a typed handler, so that damaged payloads meet the size
// check of the handler table rather than a receiver that takes anything.
class dcNetTestNumberKeeper : public MessageReceiver {
    DC_RECEIVER(dcNetTestNumberKeeper, MessageReceiver)
public:
    dcNetTestNumberKeeper() { Handles<dcNetTestNumber, &dcNetTestNumberKeeper::OnNumber>(); }

    std::vector<int32_t> ValuesFrom(int32_t connection) const
    {
        std::vector<int32_t> values;
        for (const auto& [from, value] : numbers) {
            if (from == connection) {
                values.push_back(value);
            }
        }
        return values;
    }

    std::vector<std::pair<int32_t, int32_t>> numbers;   // {connection, value}

private:
    void OnNumber(const dcNetTestNumber& message, int32_t connection) { numbers.emplace_back(connection, message.value); }
};

std::vector<char> Joined(std::initializer_list<std::vector<char>> parts)
{
    std::vector<char> bytes;
    for (const std::vector<char>& part : parts) {
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return bytes;
}

// A header as a forger writes it, followed by filler.
std::vector<char> RawFrame(int32_t target, int32_t identity, int32_t totalLength, size_t filler)
{
    const NetFrameHeader header{target, identity, totalLength};
    std::vector<char> bytes(sizeof header + filler, 'z');
    memcpy(bytes.data(), &header, sizeof header);
    return bytes;
}

std::vector<char> NumberFrame(int32_t target, int32_t value)
{
    return FrameOf(target, dcNetTestNumber{value});
}

std::vector<char> RandomBytes(std::mt19937& random, size_t count)
{
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<char> bytes(count);
    for (char& b : bytes) {
        b = static_cast<char>(byte(random));
    }
    return bytes;
}

// Frames that keep to the framing but say nothing sensible: random targets
// among those given and random ones, random identities of no type,
// random payloads.
std::vector<char> RandomFrames(std::mt19937& random, const std::vector<int32_t>& targets, int32_t count)
{
    std::uniform_int_distribution<int32_t> any(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int32_t> identity(1, INT_MAX);
    std::uniform_int_distribution<int32_t> size(0, 3000);
    std::uniform_int_distribution<size_t> pick(0, targets.size());
    std::vector<char> bytes;
    for (int32_t frame = 0; frame < count; ++frame) {
        const size_t choice = pick(random);
        const int32_t target = choice < targets.size() ? targets[choice] : any(random);
        const std::vector<char> payload = RandomBytes(random, size(random));
        const std::vector<char> built =
            BuildFrame(target, identity(random), payload.data(), static_cast<int32_t>(payload.size()));
        bytes.insert(bytes.end(), built.begin(), built.end());
    }
    return bytes;
}

// The captured lines, for a failure's message.
std::string Transcript(const CapturingSink& log)
{
    std::string text;
    for (const WideString& line : log.lines) {
        text += WideStringToNarrow(line) + "\n";
    }
    return text;
}

WideString Wide(const std::string& text)
{
    return WideStringFromChars(text.data(), static_cast<int32_t>(text.size()));
}

// Bytes the process's heaps have handed out and not taken back.
size_t HeapBytesInUse()
{
    HANDLE heaps[64];
    const DWORD count = std::min<DWORD>(GetProcessHeaps(64, heaps), 64);
    size_t total = 0;
    for (DWORD i = 0; i < count; ++i) {
        HeapLock(heaps[i]);
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                total += entry.cbData;
            }
        }
        HeapUnlock(heaps[i]);
    }
    return total;
}

// What one damaged frame does to the side that receives it, after three
// sound frames from the same peer.
enum class Fate {
    kDropped,   // the peer is dropped
    kKept,      // the frame is refused or lost, and the peer's next frame arrives
    kWaits,     // the link waits for bytes that do not come, until the peer leaves
};

// Ids on the receiving side: its default receiver's target, the keeper
// object, and an id no object has.
struct Targets {
    int32_t lobby;
    int32_t keeper;
    int32_t stranger;
};

struct DamagedFrame {
    std::string name;
    std::vector<char> bytes;
    Fate fate;
    std::vector<int32_t> keeperGets;   // what reaches the keeper from the damaged bytes
    std::string logged;                // said in a line that names the peer; empty for nothing
};

std::vector<DamagedFrame> DamagedFrames(const Targets& to)
{
    const int32_t number = dcNetTestNumber::Identity().Id();
    const int32_t otherSide = to.lobby == kHostTarget ? kClientTarget : kHostTarget;
    const int32_t wideNumber[2] = {12, 0x5A5A5A5A};
    const std::vector<char> forged = ForgedPayload(to.stranger);
    const int32_t disconnect = dcDisconnectMessage::Identity().Id();
    std::vector<DamagedFrame> frames;
    for (int32_t length : {0, 11, -1, -12, INT_MIN, kMaxFrameLength + 1, INT_MAX}) {
        frames.push_back({"length " + std::to_string(length), RawFrame(to.keeper, number, length, 64), Fate::kDropped,
                          {}, "sent a frame of " + std::to_string(length) + " bytes"});
    }
    frames.push_back({"length short of its payload, the rest read as a header",
                      Joined({RawFrame(to.keeper, number, kFrameHeaderSize, 0), RawFrame(0, 0, 5, 0)}), Fate::kDropped,
                      {}, "sent a frame of 5 bytes"});
    frames.push_back({"length beyond what follows", RawFrame(to.keeper, number, 116, 4), Fate::kWaits, {}, ""});
    for (int32_t target : {-5, INT_MIN, INT_MAX, to.stranger, otherSide}) {
        frames.push_back({"target " + std::to_string(target), NumberFrame(target, 11), Fate::kKept, {}, ""});
    }
    frames.push_back({"identity no type has", RawFrame(to.keeper, 0x13572468, 16, 4), Fate::kKept, {}, ""});
    for (int32_t identity : {0, -1, INT_MIN}) {
        frames.push_back({"identity " + std::to_string(identity), RawFrame(to.keeper, identity, 16, 4), Fate::kDropped,
                          {}, "sent a frame of no message type (" + std::to_string(identity) + ")"});
    }
    frames.push_back({"local-only message speaking for someone else",
                      BuildFrame(to.lobby, disconnect, forged.data(), static_cast<int32_t>(forged.size())), Fate::kKept,
                      {}, "sent local-only message " + std::to_string(disconnect)});
    frames.push_back({"payload short of its type", BuildFrame(to.keeper, number, "ab", 2), Fate::kKept, {}, ""});
    frames.push_back({"empty payload for a typed message", BuildFrame(to.keeper, number, nullptr, 0), Fate::kKept, {},
                      ""});
    frames.push_back({"payload beyond its type", BuildFrame(to.keeper, number, wideNumber, sizeof wideNumber),
                      Fate::kKept, {12}, ""});
    return frames;
}

// How a peer leaves in the middle of a frame.
struct CutOff {
    const char* how;
    void (RawPeer::*leave)();
};

const CutOff kCutOffs[] = {
    {"closes", &RawPeer::CloseGracefully},
    {"resets", &RawPeer::Reset},
};

// Where a frame of 40,000 bytes is cut: inside the header, right after it,
// inside the payload, one byte short.
const int32_t kCutPoints[] = {1, 11, 12, 13, 20000, 40011};
constexpr int32_t kCutFramePayload = 40000;

class MisbehavingPeerTest : public testing::Test {
protected:
    void StartHost(int32_t port)
    {
        port_ = port;
        hostScene.SetServer(&server);
        hostScene.SetDefaultReceiver(&hostLobby);
        hostScene.Add(&hostKeeper);
        ASSERT_TRUE(server.Start(L"127.0.0.1", port, false));
        good.scene.SetClient(&good.client);
        good.scene.SetDefaultReceiver(&good.lobby);
        ASSERT_TRUE(good.client.Connect(L"127.0.0.1", port));
        ASSERT_TRUE(PollUntil([&] { return !hostLobby.Payloads<dcConnectMessage>().empty(); }));
        goodId = hostLobby.Payloads<dcConnectMessage>().front().clientId;
    }

    void TearDown() override
    {
        hostScene.Remove(&hostKeeper);
        if (victim.keeper.GetScene()) {
            victim.scene.Remove(&victim.keeper);
        }
    }

    // One frame of the game: the well-behaved client and its host each send
    // the next message of their conversation, then everything is polled.
    void Step()
    {
        if (talking && goodId != 0) {
            good.scene.Send(kHostTarget, SequenceMessage(sentByGood));
            hostScene.Send(kClientTarget, SequenceMessage(sentByGood), goodId);
            ++sentByGood;
        }
        server.Update(0.0f);
        good.client.Update(0.0f, true);
        victim.client.Update(0.0f, true);
    }

    bool PollUntil(const std::function<bool()>& done) { return ::PollUntil([this] { Step(); }, done); }

    void StepFor(int32_t steps)
    {
        for (int32_t step = 0; step < steps; ++step) {
            Step();
            Sleep(1);
        }
    }

    // Writes the bytes in pieces of random size, a frame of the game after
    // each; false once the other side has dropped the link.
    bool Feed(RawPeer& peer, const std::vector<char>& bytes, std::mt19937& random)
    {
        std::uniform_int_distribution<int> pieceSize(1, 3000);
        size_t offset = 0;
        while (offset < bytes.size()) {
            const int piece = std::min<int>(pieceSize(random), static_cast<int>(bytes.size() - offset));
            const int taken = peer.WriteSome(bytes.data() + offset, piece);
            if (taken < 0) {
                return false;
            }
            offset += taken;
            Step();
        }
        return true;
    }

    // Writes all the bytes, running frames of the game while the link is
    // full; false once the other side has dropped the link.
    bool WriteAll(RawPeer& peer, const std::vector<char>& bytes, size_t count = SIZE_MAX)
    {
        const size_t size = std::min(count, bytes.size());
        size_t offset = 0;
        while (offset < size) {
            const int taken = peer.WriteSome(bytes.data() + offset, static_cast<int>(size - offset));
            if (taken < 0) {
                return false;
            }
            if (taken == 0) {
                Step();
                Sleep(1);
            }
            offset += taken;
        }
        return true;
    }

    // A raw peer the host has accepted, with its client id.
    std::unique_ptr<RawPeer> Admit(int32_t& clientId)
    {
        const size_t before = hostLobby.Payloads<dcConnectMessage>().size();
        auto peer = std::make_unique<RawPeer>(port_);
        EXPECT_TRUE(PollUntil([&] { return hostLobby.Payloads<dcConnectMessage>().size() > before; }));
        clientId = hostLobby.Payloads<dcConnectMessage>().back().clientId;
        return peer;
    }

    bool Dropped(int32_t clientId) const
    {
        const std::vector<dcDisconnectMessage> lost = hostLobby.Payloads<dcDisconnectMessage>();
        return std::any_of(lost.begin(), lost.end(), [&](const dcDisconnectMessage& m) { return m.clientId == clientId; });
    }

    // Everything the well-behaved client and its host sent arrived at the
    // other end, once, whole and in order, and nobody else's message was
    // taken for the client's.
    void ExpectGoodTrafficIntact()
    {
        ASSERT_TRUE(PollUntil([&] {
            return static_cast<int32_t>(good.lobby.heard.size()) >= sentByGood &&
                   static_cast<int32_t>(SequencesFrom(hostLobby, goodId).size()) >= sentByGood;
        }));
        for (const RecordingReceiver* side : {&good.lobby, &hostLobby}) {
            const std::vector<dcNetTestSequence> arrived = SequencesFrom(*side, side == &good.lobby ? 0 : goodId);
            ASSERT_EQ(static_cast<int32_t>(arrived.size()), sentByGood);
            for (int32_t sequence = 0; sequence < sentByGood; ++sequence) {
                const dcNetTestSequence expected = SequenceMessage(sequence);
                ASSERT_EQ(memcmp(&arrived[sequence], &expected, sizeof expected), 0) << "message " << sequence;
            }
        }
        for (const RecordingReceiver::Heard& h : hostLobby.heard) {
            if (h.connection == goodId) {
                EXPECT_TRUE(h.identity == dcNetTestSequence::Identity().Id() ||
                            h.identity == dcConnectMessage::Identity().Id());
            }
        }
        EXPECT_FALSE(Dropped(goodId));
        EXPECT_TRUE(good.client.IsConnected());
        EXPECT_GT(sentByGood, 0);
    }

    static std::vector<dcNetTestSequence> SequencesFrom(const RecordingReceiver& receiver, int32_t connection)
    {
        std::vector<dcNetTestSequence> sequences;
        for (const RecordingReceiver::Heard& h : receiver.heard) {
            if (h.identity == dcNetTestSequence::Identity().Id() && h.connection == connection) {
                EXPECT_EQ(h.payload.size(), sizeof(dcNetTestSequence));
                dcNetTestSequence message{};
                memcpy(&message, h.payload.data(), std::min(h.payload.size(), sizeof message));
                sequences.push_back(message);
            }
        }
        return sequences;
    }

    // The client under attack: it joins a raw "host" the test plays.
    void OpenFakeHost(int32_t port)
    {
        fakeHostPort_ = port;
        fakeHost_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        const sockaddr_in address = LoopbackAddress(port);
        ASSERT_EQ(bind(fakeHost_, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(listen(fakeHost_, 4), 0);
        victim.scene.SetClient(&victim.client);
        victim.scene.SetDefaultReceiver(&victim.lobby);
        victim.scene.Add(&victim.keeper);
    }
    std::unique_ptr<RawPeer> JoinFakeHost()
    {
        EXPECT_TRUE(victim.client.Connect(L"127.0.0.1", fakeHostPort_));
        std::unique_ptr<RawPeer> host = RawPeer::Accept(fakeHost_);
        EXPECT_NE(host, nullptr);
        return host;
    }
    WideString FakeHostName() const
    {
        WideString name;
        return FormatWideString(name, "127.0.0.1:%d", fakeHostPort_);
    }
    ~MisbehavingPeerTest() override
    {
        if (fakeHost_ != INVALID_SOCKET) {
            closesocket(fakeHost_);
        }
    }

    struct Player {
        NetClient client;
        ClientScene scene;
        RecordingReceiver lobby;
        dcNetTestNumberKeeper keeper;
    };

    NetServer server;
    HostScene hostScene;
    RecordingReceiver hostLobby;
    dcNetTestNumberKeeper hostKeeper;
    Player good;
    int32_t goodId = 0;
    int32_t sentByGood = 0;
    bool talking = true;
    Player victim;
    int32_t port_ = 0;
    int32_t fakeHostPort_ = 0;
    SOCKET fakeHost_ = INVALID_SOCKET;
};

} // namespace

TEST_F(MisbehavingPeerTest, HostDropsClientsThatSendRandomBytes)
{
    StartHost(25151);
    std::mt19937 random(1126);
    for (int32_t intruder = 0; intruder < 8; ++intruder) {
        SCOPED_TRACE(intruder);
        int32_t clientId = 0;
        std::unique_ptr<RawPeer> peer = Admit(clientId);
        const WideString name = peer->LocalName();
        ScopedCapture log;
        // Half of them first send frames that keep to the framing but carry
        // nonsense, to the lobby, to the keeper and to random targets.
        const std::vector<char> bytes =
            Joined({RandomFrames(random, {kHostTarget, hostKeeper.GetId(), goodId}, intruder % 2 ? 12 : 0),
                    RandomBytes(random, 40000)});
        Feed(*peer, bytes, random);
        peer->CloseGracefully();
        ASSERT_TRUE(PollUntil([&] { return Dropped(clientId); }));
        EXPECT_EQ(server.GetClientCount(), 1);
        EXPECT_TRUE(LoggedTogether(log->lines, {name, L"sent a frame of"}));
        EXPECT_LE(log->Count(name), 2) << Transcript(*log);   // why, and that it is gone
    }
    ExpectGoodTrafficIntact();
}

TEST_F(MisbehavingPeerTest, HostCopesWithEachDamagedField)
{
    StartHost(25152);
    for (const DamagedFrame& damaged : DamagedFrames({kHostTarget, hostKeeper.GetId(), goodId})) {
        SCOPED_TRACE(damaged.name);
        int32_t clientId = 0;
        std::unique_ptr<RawPeer> peer = Admit(clientId);
        const WideString name = peer->LocalName();
        ScopedCapture log;
        const int32_t keeper = hostKeeper.GetId();
        WriteAll(*peer, Joined({NumberFrame(keeper, 1), NumberFrame(keeper, 2), NumberFrame(keeper, 3), damaged.bytes}));
        std::vector<int32_t> expected = {1, 2, 3};
        expected.insert(expected.end(), damaged.keeperGets.begin(), damaged.keeperGets.end());

        if (damaged.fate == Fate::kDropped) {
            ASSERT_TRUE(PollUntil([&] { return Dropped(clientId); }));
        } else {
            ASSERT_TRUE(PollUntil([&] { return hostKeeper.ValuesFrom(clientId).size() >= 3; }));
            WriteAll(*peer, NumberFrame(keeper, 77));
            if (damaged.fate == Fate::kKept) {
                expected.push_back(77);
                ASSERT_TRUE(PollUntil([&] { return hostKeeper.ValuesFrom(clientId).size() >= expected.size(); }));
            } else {
                StepFor(20);
            }
            EXPECT_FALSE(Dropped(clientId));
            peer->CloseGracefully();
            ASSERT_TRUE(PollUntil([&] { return Dropped(clientId); }));
            EXPECT_TRUE(LoggedTogether(log->lines, {name, L"closed the connection"}));
        }
        EXPECT_EQ(hostKeeper.ValuesFrom(clientId), expected);
        if (!damaged.logged.empty()) {
            EXPECT_TRUE(LoggedTogether(log->lines, {name, Wide(damaged.logged)})) << Transcript(*log);
        }
        EXPECT_LE(log->Count(name), 3) << Transcript(*log);
        EXPECT_EQ(server.GetClientCount(), 1);
    }
    ExpectGoodTrafficIntact();
}

TEST_F(MisbehavingPeerTest, HostDropsClientsThatLeaveInTheMiddleOfAFrame)
{
    StartHost(25153);
    const std::vector<char> payload(kCutFramePayload, 'c');
    const std::vector<char> frame =
        BuildFrame(hostKeeper.GetId(), dcNetTestNumber::Identity().Id(), payload.data(), kCutFramePayload);
    for (const CutOff& cut : kCutOffs) {
        for (int32_t kept : kCutPoints) {
            SCOPED_TRACE(std::string(cut.how) + " after " + std::to_string(kept) + " bytes");
            int32_t clientId = 0;
            std::unique_ptr<RawPeer> peer = Admit(clientId);
            const WideString name = peer->LocalName();
            ScopedCapture log;
            WriteAll(*peer, frame, kept);
            StepFor(3);
            ((*peer).*cut.leave)();
            ASSERT_TRUE(PollUntil([&] { return Dropped(clientId); }));
            EXPECT_TRUE(hostKeeper.ValuesFrom(clientId).empty());
            EXPECT_TRUE(LoggedTogether(log->lines, {L"Network: " + name})) << Transcript(*log);
            EXPECT_LE(log->Count(name), 2) << Transcript(*log);
        }
    }
    EXPECT_EQ(server.GetClientCount(), 1);
    ExpectGoodTrafficIntact();
}

TEST_F(MisbehavingPeerTest, ConnectionsOpenedAndDroppedInQuickSuccessionLeaveNothingBehind)
{
    StartHost(25154);
    StepFor(5);
    talking = false;   // so that the heap holds still but for the transport
    hostLobby.heard.reserve(4096);
    const std::vector<char> frame = NumberFrame(hostKeeper.GetId(), 5);
    struct Churn {
        const char* how;
        int32_t writes;   // bytes of a frame written first
        void (RawPeer::*leave)();
    };
    const Churn churns[] = {{"closes at once", 0, &RawPeer::CloseGracefully},
                            {"resets at once", 0, &RawPeer::Reset},
                            {"resets inside the header", 6, &RawPeer::Reset},
                            {"closes inside the payload", 14, &RawPeer::CloseGracefully}};
    const auto churn = [&](int32_t connections) {
        for (int32_t i = 0; i < connections; ++i) {
            const Churn& how = churns[i % 4];
            RawPeer peer(port_);
            if (how.writes > 0) {
                WriteAll(peer, frame, how.writes);
            }
            (peer.*how.leave)();
            if (i % 3 == 0) {
                Step();   // the host accepts one connection a frame, so they queue up
            }
        }
        // A last connection that stays open: once the host holds it, it has
        // taken every connection before it, or the system has discarded them.
        RawPeer last(port_);
        ASSERT_TRUE(PollUntil([&] { return server.GetClientCount() == 2; }));
        last.CloseGracefully();
        ASSERT_TRUE(PollUntil([&] { return server.GetClientCount() == 1; }));
    };
    churn(20);   // the first sockets make the system's own bookkeeping
    const size_t heapBefore = HeapBytesInUse();
    auto log = std::make_unique<ScopedCapture>();
    constexpr int32_t kConnections = 200;
    churn(kConnections);

    EXPECT_EQ(server.GetClientCount(), 1);
    const std::vector<dcConnectMessage> joined = hostLobby.Payloads<dcConnectMessage>();
    EXPECT_EQ(joined.size(), hostLobby.Payloads<dcDisconnectMessage>().size() + 1);
    for (const dcConnectMessage& m : joined) {
        EXPECT_EQ(Dropped(m.clientId), m.clientId != goodId) << m.clientId;
    }
    EXPECT_TRUE(hostKeeper.numbers.empty());
    EXPECT_FALSE((*log)->Contains(L"unknown peer")) << Transcript(**log);
    log.reset();   // its lines are no part of the transport's memory
    EXPECT_LT(HeapBytesInUse(), heapBefore + 32 * 1024)
        << "after " << kConnections << " connections with an inbox of " << kMaxFrameLength << " bytes each";

    talking = true;
    StepFor(10);
    ExpectGoodTrafficIntact();
}

TEST_F(MisbehavingPeerTest, HalfSentFramesHoldNoMoreThanAnInboxPerConnection)
{
    StartHost(25155);
    StepFor(5);
    talking = false;
    hostLobby.heard.reserve(4096);

    // Each sends all of the longest frame but its last byte, which the host
    // has to hold on to, then resets its connection.
    const std::vector<char> longest = RawFrame(hostKeeper.GetId(), dcNetTestNumber::Identity().Id(), kMaxFrameLength,
                                               kMaxFrameLength - kFrameHeaderSize - 1);
    constexpr int32_t kIntruders = 32;
    const auto holdThenLeave = [&](size_t heapBefore) {
        std::vector<std::unique_ptr<RawPeer>> intruders;
        for (int32_t i = 0; i < kIntruders; ++i) {
            int32_t id = 0;
            intruders.push_back(Admit(id));
            WriteAll(*intruders.back(), longest);
        }
        StepFor(50);
        EXPECT_LT(HeapBytesInUse(), heapBefore + kIntruders * (kMaxFrameLength + 8 * 1024));
        for (std::unique_ptr<RawPeer>& intruder : intruders) {
            intruder->Reset();
        }
        ASSERT_TRUE(PollUntil([&] { return server.GetClientCount() == 1; }));
        StepFor(5);
    };
    holdThenLeave(HeapBytesInUse());   // the first sockets make the system's own bookkeeping
    const size_t heapBefore = HeapBytesInUse();
    holdThenLeave(heapBefore);
    EXPECT_LT(HeapBytesInUse(), heapBefore + 32 * 1024);
    EXPECT_TRUE(hostKeeper.numbers.empty());

    talking = true;
    StepFor(10);
    ExpectGoodTrafficIntact();
}

TEST_F(MisbehavingPeerTest, ClientDropsAHostThatSendsRandomBytes)
{
    StartHost(25156);
    OpenFakeHost(25157);
    std::mt19937 random(1127);
    for (int32_t round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        std::unique_ptr<RawPeer> host = JoinFakeHost();
        ScopedCapture log;
        victim.lobby.heard.clear();
        // What came before the nonsense arrives whole.
        std::vector<char> bytes;
        for (int32_t sequence = 0; sequence < 5; ++sequence) {
            const std::vector<char> frame = FrameOf(kClientTarget, SequenceMessage(sequence));
            bytes.insert(bytes.end(), frame.begin(), frame.end());
        }
        const std::vector<char> nonsense =
            Joined({RandomFrames(random, {kClientTarget, victim.keeper.GetId()}, round % 2 ? 12 : 0),
                    RandomBytes(random, 40000)});
        bytes.insert(bytes.end(), nonsense.begin(), nonsense.end());
        Feed(*host, bytes, random);
        host->CloseGracefully();
        ASSERT_TRUE(PollUntil([&] { return !victim.client.IsConnected(); }));

        const std::vector<dcNetTestSequence> arrived = SequencesFrom(victim.lobby, 0);
        ASSERT_GE(arrived.size(), 5u);
        for (int32_t sequence = 0; sequence < 5; ++sequence) {
            const dcNetTestSequence expected = SequenceMessage(sequence);
            EXPECT_EQ(memcmp(&arrived[sequence], &expected, sizeof expected), 0) << "message " << sequence;
        }
        EXPECT_TRUE(LoggedTogether(log->lines, {FakeHostName(), L"sent a frame of"}));
        EXPECT_LE(log->Count(FakeHostName()), 2) << Transcript(*log);
    }
    ExpectGoodTrafficIntact();
}

TEST_F(MisbehavingPeerTest, ClientCopesWithEachDamagedField)
{
    StartHost(25158);
    OpenFakeHost(25159);
    for (const DamagedFrame& damaged : DamagedFrames({kClientTarget, victim.keeper.GetId(), 999})) {
        SCOPED_TRACE(damaged.name);
        std::unique_ptr<RawPeer> host = JoinFakeHost();
        ScopedCapture log;
        victim.keeper.numbers.clear();
        const int32_t keeper = victim.keeper.GetId();
        WriteAll(*host, Joined({NumberFrame(keeper, 1), NumberFrame(keeper, 2), NumberFrame(keeper, 3), damaged.bytes}));
        std::vector<int32_t> expected = {1, 2, 3};
        expected.insert(expected.end(), damaged.keeperGets.begin(), damaged.keeperGets.end());

        if (damaged.fate == Fate::kDropped) {
            ASSERT_TRUE(PollUntil([&] { return !victim.client.IsConnected(); }));
        } else {
            ASSERT_TRUE(PollUntil([&] { return victim.keeper.numbers.size() >= 3; }));
            WriteAll(*host, NumberFrame(keeper, 77));
            if (damaged.fate == Fate::kKept) {
                expected.push_back(77);
                ASSERT_TRUE(PollUntil([&] { return victim.keeper.numbers.size() >= expected.size(); }));
            } else {
                StepFor(20);
            }
            EXPECT_TRUE(victim.client.IsConnected());
            host->CloseGracefully();
            ASSERT_TRUE(PollUntil([&] { return !victim.client.IsConnected(); }));
            EXPECT_TRUE(LoggedTogether(log->lines, {FakeHostName(), L"closed the connection"}));
        }
        EXPECT_EQ(victim.keeper.ValuesFrom(0), expected);
        if (!damaged.logged.empty()) {
            EXPECT_TRUE(LoggedTogether(log->lines, {FakeHostName(), Wide(damaged.logged)})) << Transcript(*log);
        }
        EXPECT_LE(log->Count(FakeHostName()), 3) << Transcript(*log);
    }
    ExpectGoodTrafficIntact();
}

TEST_F(MisbehavingPeerTest, ClientDropsAHostThatLeavesInTheMiddleOfAFrame)
{
    StartHost(25160);
    OpenFakeHost(25161);
    const std::vector<char> payload(kCutFramePayload, 'c');
    const std::vector<char> frame =
        BuildFrame(victim.keeper.GetId(), dcNetTestNumber::Identity().Id(), payload.data(), kCutFramePayload);
    for (const CutOff& cut : kCutOffs) {
        for (int32_t kept : kCutPoints) {
            SCOPED_TRACE(std::string(cut.how) + " after " + std::to_string(kept) + " bytes");
            std::unique_ptr<RawPeer> host = JoinFakeHost();
            ScopedCapture log;
            WriteAll(*host, frame, kept);
            StepFor(3);
            ((*host).*cut.leave)();
            ASSERT_TRUE(PollUntil([&] { return !victim.client.IsConnected(); }));
            EXPECT_TRUE(victim.keeper.numbers.empty());
            EXPECT_TRUE(LoggedTogether(log->lines, {L"Network: " + FakeHostName()})) << Transcript(*log);
            EXPECT_LE(log->Count(FakeHostName()), 2) << Transcript(*log);
        }
    }
    ExpectGoodTrafficIntact();
}

namespace {

// A damaged announcement, and what the client in discovery makes of it.
struct DamagedAnnouncement {
    const char* name;
    std::vector<char> bytes;
    const wchar_t* listedAs;   // the name it is listed under, or null when it is refused
    const wchar_t* logged;     // said in a line that names the sender, when refused
};

std::vector<char> AnnouncementBytes(int32_t gameId, const WideString& name, size_t size = kAnnouncementSize)
{
    dcServerMessage record;
    record.magic = kServerMagic;
    record.version = kServerVersion;
    record.name = name;
    const AnnouncementDatagram datagram = WriteAnnouncement(record, gameId, kGamePort);
    std::vector<char> bytes(size, 'x');
    memcpy(bytes.data(), datagram.data(), std::min<size_t>(size, kAnnouncementSize));
    return bytes;
}

std::vector<char> WithInt(std::vector<char> bytes, size_t offset, int32_t value)
{
    memcpy(bytes.data() + offset, &value, sizeof value);
    return bytes;
}

std::vector<DamagedAnnouncement> DamagedAnnouncements()
{
    const std::vector<char> sound = AnnouncementBytes(2000, L"Damaged");
    std::vector<char> unterminated = sound, highBytes = sound;
    std::fill(unterminated.begin() + 16, unterminated.begin() + 80, 'n');
    std::fill(highBytes.begin() + 16, highBytes.begin() + 79, '\xE9');
    return {
        {"empty", {}, nullptr, L"of 0 bytes from 127.0.0.1"},
        {"one byte short", AnnouncementBytes(2000, L"Short", kAnnouncementSize - 1), nullptr,
         L"of 143 bytes from 127.0.0.1"},
        {"another program's magic", WithInt(sound, 0, kServerMagic + 1), nullptr, L"from 127.0.0.1 (magic 764899"},
        {"another release", WithInt(sound, 4, kServerVersion + 1), nullptr, L"version 62)"},
        {"port zero", WithInt(sound, 12, 0), nullptr, L"from 127.0.0.1 (port 0)"},
        {"port below zero", WithInt(sound, 12, -24958), nullptr, L"from 127.0.0.1 (port -24958)"},
        {"port beyond the range", WithInt(sound, 12, 65536), nullptr, L"from 127.0.0.1 (port 65536)"},
        {"name without its terminator", unterminated, L"nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn",
         nullptr},
        {"name of high-bit bytes", highBytes, nullptr, nullptr},
        {"longer than an announcement", AnnouncementBytes(2000, L"Long", 600), L"Long", nullptr},
        {"longer than the client reads", AnnouncementBytes(2000, L"Huge", 1500), nullptr,
         L"of more than 1024 bytes from 127.0.0.1"},
    };
}

} // namespace

TEST(MisbehavingDiscovery, JunkDatagramsNeitherHideNorHoldUpAnnouncements)
{
    constexpr int32_t kPort = 25162;
    NetClient client;
    ClientScene scene;
    RecordingReceiver lobby;
    scene.SetClient(&client);
    scene.SetDefaultReceiver(&lobby);
    ASSERT_EQ(client.ListenForServers(kPort), 0);
    SOCKET sender = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    const sockaddr_in listener = LoopbackAddress(kPort);
    const auto post = [&](const std::vector<char>& bytes) {
        ASSERT_EQ(sendto(sender, bytes.data(), static_cast<int>(bytes.size()), 0,
                         reinterpret_cast<const sockaddr*>(&listener), sizeof listener),
                  static_cast<int>(bytes.size()));
    };
    std::mt19937 random(1128);
    std::uniform_int_distribution<size_t> junkSize(0, 1400);
    ScopedCapture log;

    // Each round, as in a second of a busy network: a damaged announcement,
    // a burst of junk, and one genuine announcement, which has to show up.
    // Junk is taken several datagrams a frame, so it cannot hold the genuine
    // one up behind it for a frame each.
    const std::vector<DamagedAnnouncement> damaged = DamagedAnnouncements();
    std::vector<int32_t> genuine;
    for (size_t round = 0; round < damaged.size(); ++round) {
        SCOPED_TRACE(damaged[round].name);
        const size_t listed = lobby.servers.size();
        post(damaged[round].bytes);
        for (int junk = 0; junk < 30; ++junk) {
            post(RandomBytes(random, junkSize(random)));
        }
        genuine.push_back(1000 + static_cast<int32_t>(round));
        post(AnnouncementBytes(genuine.back(), L"Genuine"));
        const auto genuineArrived = [&] {
            return std::any_of(lobby.servers.begin() + static_cast<std::ptrdiff_t>(listed), lobby.servers.end(),
                               [&](const dcServerMessage& server) { return server.gameId == genuine.back(); });
        };
        int32_t mostInOneFrame = 0;
        const auto frame = [&] {
            const int32_t before = log->Count(L"Receiving broadcast message");
            client.Update(0.016f, true);
            mostInOneFrame = std::max(mostInOneFrame, log->Count(L"Receiving broadcast message") - before);
        };
        ASSERT_TRUE(PollUntil(frame, genuineArrived));
        EXPECT_GT(mostInOneFrame, 1) << "one datagram a frame";

        std::vector<int32_t> genuineListed;
        std::vector<WideString> damagedListed;
        for (size_t i = listed; i < lobby.servers.size(); ++i) {
            if (lobby.servers[i].gameId == 2000) {
                damagedListed.push_back(lobby.servers[i].name);
            } else {
                genuineListed.push_back(lobby.servers[i].gameId);
            }
        }
        EXPECT_EQ(genuineListed, std::vector<int32_t>{genuine.back()});
        if (damaged[round].listedAs) {
            EXPECT_EQ(damagedListed, std::vector<WideString>{damaged[round].listedAs});
        } else if (damaged[round].logged) {
            EXPECT_TRUE(damagedListed.empty());
            EXPECT_TRUE(log->Contains(damaged[round].logged));
        }
    }
    closesocket(sender);
    for (const dcServerMessage& server : lobby.servers) {
        EXPECT_EQ(server.address, L"127.0.0.1");
        EXPECT_LE(server.name.size(), 64u);
    }
}
