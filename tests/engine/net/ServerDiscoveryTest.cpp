// A hosting server announcing its game by broadcast, and a client in
// discovery listing what it hears: the details arrive, the timing holds,
// datagrams that are not announcements of this game are left out, and a port
// it cannot listen on leaves it out of discovery.

#include "engine/net/ClientScene.h"
#include "engine/net/MisbehavingSenders.h"
#include "engine/net/HostScene.h"
#include "engine/net/NetClient.h"
#include "engine/net/NetMessages.h"
#include "engine/net/NetServer.h"
#include "engine/net/ServerAnnouncement.h"
#include "tests/engine/net/NetTestSupport.h"
#include "tests/support/CapturingSink.h"

#include <cstdio>
#include <string>

namespace {

const wchar_t kGameType[] = L"Deathmatch";

// What the lobby writes into the record the host hands it.
void FillAsLobby(dcServerMessage& record, const WideString& name)
{
    record.magic = kServerMagic;
    record.version = kServerVersion;
    record.name = name;
    memcpy(record.details, kGameType, sizeof kGameType);
    record.details[34] = 2;   // players
    record.details[35] = 8;   // at most
    record.details[36] = 1;   // game type
}

// A host scene whose default receiver answers like the lobby.
class AnnouncingHost {
public:
    AnnouncingHost(int32_t port, const WideString& name)
    {
        scene.SetServer(&server);
        scene.SetDefaultReceiver(&lobby);
        lobby.onMessage = [this, name](int32_t identity, void* payload, int32_t, int32_t) {
            if (identity == dcServerMessage::Identity().Id()) {
                FillAsLobby(*static_cast<dcServerMessage*>(payload), name);
                ++announcements;
            }
        };
        EXPECT_TRUE(server.Start(L"", port, true));
    }

    NetServer server;
    HostScene scene;
    RecordingReceiver lobby;
    int32_t announcements = 0;
};

class Browser {
public:
    explicit Browser(int32_t port)
    {
        scene.SetClient(&client);
        scene.SetDefaultReceiver(&lobby);
        EXPECT_EQ(client.ListenForServers(port), 0);
    }

    NetClient client;
    ClientScene scene;
    RecordingReceiver lobby;
};

bool IsDottedAddress(const WideString& text)
{
    int a, b, c, d;
    char rest;
    return std::sscanf(WideStringToNarrow(text).c_str(), "%d.%d.%d.%d%c", &a, &b, &c, &d, &rest) == 4;
}

} // namespace

TEST(ServerDiscovery, ClientListsTheHostWithItsDetailsAndJoinsIt)
{
    constexpr int32_t kPort = 25121;
    AnnouncingHost host(kPort, L"Kestrel's garage");
    Browser browser(kPort);
    ScopedCapture messages(kLogMessage);
    ScopedCapture verbose(kLogVerbose);

    ASSERT_TRUE(PollUntil(
        [&] {
            host.server.Update(0.05f);
            browser.client.Update(0.05f, true);
        },
        [&] { return !browser.lobby.servers.empty(); }));
    const dcServerMessage record = browser.lobby.servers.front();
    EXPECT_EQ(record.magic, kServerMagic);
    EXPECT_EQ(record.version, kServerVersion);
    EXPECT_EQ(record.gameId, host.server.GetGameId());
    EXPECT_EQ(record.port, kPort);
    EXPECT_EQ(record.name, L"Kestrel's garage");
    EXPECT_EQ(WideString(reinterpret_cast<const wchar_t*>(record.details)), kGameType);
    EXPECT_EQ(record.details[34], 2);
    EXPECT_EQ(record.details[35], 8);
    EXPECT_EQ(record.details[36], 1);
    EXPECT_TRUE(IsDottedAddress(record.address)) << WideStringToNarrow(record.address);
    // Every datagram would be a line: only a verbose log takes them.
    EXPECT_TRUE(verbose->Contains(L"Receiving broadcast message"));
    EXPECT_FALSE(messages->Contains(L"Receiving broadcast message"));

    // Joining at the announced address ends discovery.
    ASSERT_TRUE(browser.client.Connect(record.address, record.port));
    EXPECT_FALSE(browser.client.IsDiscovering());
    ASSERT_TRUE(PollUntil(
        [&] {
            host.server.Update(0.0f);
            browser.client.Update(0.0f, true);
        },
        [&] { return !host.lobby.Payloads<dcConnectMessage>().empty(); }));
    // The game port is free again, and announcements that reach it are no
    // longer listed.
    SOCKET witness = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in port = LoopbackAddress(kPort);
    port.sin_addr.s_addr = htonl(INADDR_ANY);
    ASSERT_EQ(bind(witness, reinterpret_cast<const sockaddr*>(&port), sizeof port), 0) << "discovery holds the port";
    MakeNonBlocking(witness);
    const size_t listed = browser.lobby.servers.size();
    const int32_t announced = host.announcements;
    for (int second = 0; second < 5; ++second) {
        host.server.Update(1.1f);
        char datagram[kAnnouncementSize];
        ASSERT_TRUE(PollUntil([] {}, [&] { return recv(witness, datagram, sizeof datagram, 0) == kAnnouncementSize; }));
        browser.client.Update(0.0f, true);
    }
    closesocket(witness);
    EXPECT_EQ(host.announcements, announced + 5);
    EXPECT_EQ(browser.lobby.servers.size(), listed);
}

TEST(ServerDiscovery, FirstAnnouncementLeavesAtOnceThenOneEverySecond)
{
    AnnouncingHost host(25122, L"Timer");
    struct Step {
        float dt;
        int32_t announcements;
    };
    for (const Step& step : {Step{0.016f, 1}, Step{0.5f, 1}, Step{0.6f, 2}, Step{0.99f, 2}, Step{0.02f, 3}}) {
        host.server.Update(step.dt);
        EXPECT_EQ(host.announcements, step.announcements) << "after " << step.dt;
    }
}

// Each damaged datagram comes before a genuine announcement of the same
// sender, so each is warned about.
TEST(ServerDiscovery, DatagramsThatAreNotAnnouncementsAreLeftOut)
{
    constexpr int32_t kPort = 25123;
    Browser browser(kPort);
    ScopedCapture log;

    dcServerMessage record;
    FillAsLobby(record, L"Genuine");
    const AnnouncementDatagram genuine = WriteAnnouncement(record, 4242, 25000);
    AnnouncementDatagram otherMagic = genuine, otherVersion = genuine;
    otherMagic[0] ^= 1;
    otherVersion[4] ^= 1;
    struct Case {
        const char* bytes;
        int size;
        const wchar_t* warning;
    };
    DatagramSender sender(kPort);
    for (const Case& c : {Case{genuine.data(), 0, L"ignoring a server announcement of 0 bytes from 127.0.0.1"},
                          Case{genuine.data(), kAnnouncementSize - 1,
                               L"ignoring a server announcement of 143 bytes from 127.0.0.1"},
                          Case{otherMagic.data(), kAnnouncementSize,
                               L"ignoring a server announcement from 127.0.0.1 (magic 764899, version 61)"},
                          Case{otherVersion.data(), kAnnouncementSize,
                               L"ignoring a server announcement from 127.0.0.1 (magic 764898, version 60)"}}) {
        SCOPED_TRACE(WideStringToNarrow(c.warning));
        const size_t listed = browser.lobby.servers.size();
        sender.Send(c.bytes, c.size);
        sender.Send(genuine.data(), kAnnouncementSize);
        ASSERT_TRUE(PollUntil([&] { browser.client.Update(0.0f, true); },
                              [&] { return browser.lobby.servers.size() > listed; }));
        EXPECT_EQ(browser.lobby.servers.size(), listed + 1);
        EXPECT_EQ(browser.lobby.servers.back().gameId, 4242);
        EXPECT_EQ(browser.lobby.servers.back().address, L"127.0.0.1");
        EXPECT_EQ(log->Count(c.warning), 1);
    }
}

// Any machine on the network may send to the game port, as fast as it likes.
TEST(ServerDiscovery, AMisbehavingSenderIsWarnedAboutOnceUntilItAnnouncesAGame)
{
    constexpr int32_t kPort = 25125;
    Browser browser(kPort);
    ScopedCapture log;
    dcServerMessage record;
    FillAsLobby(record, L"Genuine");
    const AnnouncementDatagram genuine = WriteAnnouncement(record, 4242, 25000);
    AnnouncementDatagram otherMagic = genuine;
    otherMagic[0] ^= 1;
    DatagramSender sender(kPort);
    const auto received = [&] { return log->Count(L"Receiving broadcast message"); };
    const auto send = [&](const AnnouncementDatagram& datagram, int32_t count) {
        const int32_t before = received();
        for (int32_t sent = 0; sent < count; ++sent) {
            sender.Send(datagram.data(), kAnnouncementSize);
        }
        return PollUntil([&] { browser.client.Update(0.0f, true); }, [&] { return received() == before + count; });
    };
    const auto warnings = [&] { return log->Count(L"ignoring a server announcement from 127.0.0.1"); };

    // In bursts the socket's buffer holds whole.
    for (int burst = 0; burst < 10; ++burst) {
        ASSERT_TRUE(send(otherMagic, 20));
    }
    EXPECT_EQ(warnings(), 1);
    ASSERT_TRUE(send(genuine, 1));
    EXPECT_EQ(browser.lobby.servers.size(), 1u);
    EXPECT_TRUE(log->Contains(L"Network: 127.0.0.1 announces a game after 200 ignored datagrams"));

    // Having behaved, it is warned about again.
    ASSERT_TRUE(send(otherMagic, 1));
    EXPECT_EQ(warnings(), 2);

    // Only a verbose log lists what arrives.
    ScopedCapture messages(kLogWarning);
    ASSERT_TRUE(send(genuine, 1));
    EXPECT_TRUE(messages->lines.empty());
}

// Each sender is warned about for itself; the senders listed are bounded too,
// since a sender's address is whatever its datagrams claim.
TEST(MisbehavingSenders, EachIsWarnedAboutForItselfUpToABoundedNumber)
{
    ScopedCapture log;
    MisbehavingSenders senders;
    const auto warnings = [&] { return log->Count(L"ignoring a server announcement"); };
    for (uint32_t sender = 1; sender <= 64; ++sender) {
        senders.Refused(sender, L"from somewhere");
        senders.Refused(sender, L"from somewhere");
    }
    EXPECT_EQ(warnings(), 64);
    senders.Refused(65, L"from beyond the table");
    EXPECT_EQ(warnings(), 64);
    senders.Behaved(7);
    senders.Refused(65, L"from the freed place");
    senders.Refused(7, L"from seven again");
    EXPECT_EQ(warnings(), 65);
    EXPECT_TRUE(log->Contains(L"from the freed place"));
    EXPECT_FALSE(log->Contains(L"from seven again"));   // the freed place went to another
}

TEST(ServerDiscovery, ListeningOnATakenPortLeavesDiscoveryOff)
{
    constexpr int32_t kPort = 25124;
    NetClient client;
    SOCKET holder = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in taken = LoopbackAddress(kPort);
    taken.sin_addr.s_addr = htonl(INADDR_ANY);
    ASSERT_EQ(bind(holder, reinterpret_cast<const sockaddr*>(&taken), sizeof taken), 0);
    ScopedCapture log;

    EXPECT_NE(client.ListenForServers(kPort), 0);
    EXPECT_FALSE(client.IsDiscovering());
    EXPECT_TRUE(log->Contains(L"cannot listen for games on port 25124"));

    closesocket(holder);
    EXPECT_EQ(client.ListenForServers(kPort), 0);
    EXPECT_TRUE(client.IsDiscovering());
}

TEST(ServerAnnouncement, HostNameIsCutTo63CharactersAndDetailsStay)
{
    struct Case {
        std::wstring name;
        std::wstring arrives;
    };
    const std::wstring longest(63, L'n');
    for (const Case& c : {Case{L"", L""}, Case{longest, longest}, Case{longest + L"overflow", longest}}) {
        SCOPED_TRACE(c.name.size());
        dcServerMessage sent;
        FillAsLobby(sent, c.name);
        const AnnouncementDatagram datagram = WriteAnnouncement(sent, -7, kGamePort);
        EXPECT_EQ(datagram[16 + 63], 0);
        for (int unused = 118; unused < kAnnouncementSize; ++unused) {
            EXPECT_EQ(datagram[unused], 0);
        }

        dcServerMessage received;
        WideString fault;
        ASSERT_TRUE(ReadAnnouncement(datagram.data(), kAnnouncementSize, 0x0100007F, received, fault));
        EXPECT_EQ(received.name, c.arrives);
        EXPECT_EQ(received.gameId, -7);
        EXPECT_EQ(received.port, kGamePort);
        EXPECT_EQ(received.address, L"127.0.0.1");
        EXPECT_EQ(memcmp(received.details, sent.details, kServerDetailBytes), 0);
    }
}
