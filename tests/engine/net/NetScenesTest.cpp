// A host and its clients, each with its scene: messages reach the object they
// are addressed to on either side, messages no peer may send reach nobody,
// and a client notices its host leaving.

#include "engine/core/ClassIdentity.h"
#include "engine/net/ClientScene.h"
#include "engine/net/HostScene.h"
#include "engine/net/NetClient.h"
#include "engine/net/NetMessages.h"
#include "engine/net/NetServer.h"
#include "tests/engine/net/NetTestSupport.h"
#include "tests/support/CapturingSink.h"

#include <algorithm>
#include <utility>

namespace {

struct Player {
    NetClient client;
    ClientScene scene;
    RecordingReceiver lobby;    // the default receiver
    RecordingReceiver entity;   // an object of the client's scene
};

class NetScenesTest : public testing::Test {
protected:
    void StartHost(int32_t port)
    {
        hostScene.SetServer(&server);
        hostScene.SetDefaultReceiver(&hostLobby);
        ASSERT_TRUE(server.Start(L"", port, false));
    }

    void Join(Player& player, const wchar_t* host, int32_t port)
    {
        player.scene.SetClient(&player.client);
        player.scene.SetDefaultReceiver(&player.lobby);
        ASSERT_TRUE(player.client.Connect(host, port));
        const size_t before = hostLobby.Payloads<dcConnectMessage>().size();
        ASSERT_TRUE(PollUntil([&] { return hostLobby.Payloads<dcConnectMessage>().size() > before; }));
    }

    void PollAll()
    {
        server.Update(0.0f);
        for (Player* player : players) {
            player->client.Update(0.0f, true);
        }
    }
    bool PollUntil(const std::function<bool()>& done) { return ::PollUntil([this] { PollAll(); }, done); }

    NetServer server;
    HostScene hostScene;
    RecordingReceiver hostLobby;
    std::vector<Player*> players;
};

std::vector<std::pair<int32_t, int32_t>> FromWhom(const RecordingReceiver& receiver)
{
    std::vector<std::pair<int32_t, int32_t>> pairs;
    const std::vector<int32_t> connections = receiver.Connections<dcNetTestNumber>();
    const std::vector<dcNetTestNumber> numbers = receiver.Payloads<dcNetTestNumber>();
    for (size_t i = 0; i < numbers.size(); ++i) {
        pairs.emplace_back(connections[i], numbers[i].value);
    }
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

} // namespace

TEST_F(NetScenesTest, HostAndThreeClientsReachTheAddressedObjects)
{
    constexpr int32_t kPort = 25111;
    RecordingReceiver hostEntity;
    hostScene.Add(&hostEntity);   // takes id 3, so the clients' ids follow it
    StartHost(kPort);
    Player trio[3];
    for (int i = 0; i < 3; ++i) {
        players.push_back(&trio[i]);
        Join(trio[i], i == 0 ? L"localhost" : L"127.0.0.1", kPort);
        trio[i].scene.Add(&trio[i].entity);
        trio[i].entity.heard.clear();
    }
    std::vector<int32_t> ids;
    for (const dcConnectMessage& m : hostLobby.Payloads<dcConnectMessage>()) {
        ids.push_back(m.clientId);
    }
    ASSERT_EQ(ids, (std::vector<int32_t>{4, 5, 6}));
    EXPECT_EQ(hostLobby.Connections<dcConnectMessage>(), ids);

    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(trio[i].scene.Send(hostEntity.GetId(), dcNetTestNumber{10 + i}), kFrameHeaderSize + 4);
        trio[i].scene.Send(kHostTarget, dcNetTestNumber{20 + i});
    }
    hostEntity.heard.clear();
    ASSERT_TRUE(PollUntil([&] {
        return hostEntity.Payloads<dcNetTestNumber>().size() == 3 && hostLobby.Payloads<dcNetTestNumber>().size() == 3;
    }));
    EXPECT_EQ(FromWhom(hostEntity), (std::vector<std::pair<int32_t, int32_t>>{{4, 10}, {5, 11}, {6, 12}}));
    EXPECT_EQ(FromWhom(hostLobby), (std::vector<std::pair<int32_t, int32_t>>{{4, 20}, {5, 21}, {6, 22}}));

    hostScene.Send(trio[1].entity.GetId(), dcNetTestNumber{30}, ids[1]);
    hostScene.Send(kHostTarget, dcNetTestNumber{50}, 0);   // the host's own target: clients ignore it
    hostScene.Send(99, dcNetTestNumber{60}, 0);            // no object has this id
    hostScene.Send(kClientTarget, dcNetTestNumber{40}, 0);
    ASSERT_TRUE(PollUntil([&] {
        return std::all_of(trio, trio + 3, [](const Player& p) { return !p.lobby.Payloads<dcNetTestNumber>().empty(); });
    }));
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(FromWhom(trio[i].lobby), (std::vector<std::pair<int32_t, int32_t>>{{0, 40}}));
        EXPECT_EQ(Values(trio[i].entity.Payloads<dcNetTestNumber>()), i == 1 ? std::vector<int32_t>{30} : std::vector<int32_t>{});
        trio[i].scene.Remove(&trio[i].entity);
    }
    hostScene.Remove(&hostEntity);
}

TEST_F(NetScenesTest, ClientNoticesItsHostLeaving)
{
    constexpr int32_t kPort = 25112;
    StartHost(kPort);
    Player player;
    players.push_back(&player);
    Join(player, L"127.0.0.1", kPort);
    ASSERT_TRUE(player.client.IsConnected());

    ScopedCapture log;
    ASSERT_TRUE(server.DropClient(hostLobby.Payloads<dcConnectMessage>().front().clientId));
    ASSERT_TRUE(PollUntil([&] { return !player.client.IsConnected(); }));
    EXPECT_TRUE(log->Contains(L"closed the connection"));
    EXPECT_TRUE(hostLobby.Payloads<dcDisconnectMessage>().empty());   // a drop by the host is not reported back to it
    EXPECT_EQ(player.scene.Send(kHostTarget, dcNetTestNumber{1}), -1);
}

TEST_F(NetScenesTest, LocalOnlyMessagesFromTheHostAreIgnored)
{
    constexpr int32_t kPort = 25116;
    StartHost(kPort);
    Player player;
    players.push_back(&player);
    Join(player, L"127.0.0.1", kPort);
    player.scene.Add(&player.entity);
    player.lobby.heard.clear();
    player.entity.heard.clear();
    ScopedCapture log;

    const std::vector<char> forged = ForgedPayload(hostLobby.Payloads<dcConnectMessage>().front().clientId);
    for (const char* name : kLocalOnlyMessageNames) {
        for (int32_t target : {kClientTarget, player.entity.GetId()}) {
            hostScene.Send(target, HashClassName(name), forged.data(), static_cast<int32_t>(forged.size()), 0);
        }
    }
    hostScene.Send(kClientTarget, dcNetTestNumber{9}, 0);
    ASSERT_TRUE(PollUntil([&] { return !player.lobby.heard.empty(); }));
    PollAll();

    ASSERT_EQ(player.lobby.heard.size(), 1u);
    EXPECT_EQ(Values(player.lobby.Payloads<dcNetTestNumber>()), std::vector<int32_t>{9});
    EXPECT_TRUE(player.lobby.servers.empty());
    EXPECT_TRUE(player.entity.heard.empty());
    EXPECT_TRUE(player.client.IsConnected());
    for (const char* name : kLocalOnlyMessageNames) {
        WideString line;
        EXPECT_TRUE(log->Contains(FormatWideString(line, "127.0.0.1:%d sent local-only message %d", kPort,
                                                   HashClassName(name))))
            << name;
    }
    player.scene.Remove(&player.entity);
}

TEST_F(NetScenesTest, ConnectingWhereNobodyListensFails)
{
    NetClient client;
    ScopedCapture log;
    EXPECT_FALSE(client.Connect(L"127.0.0.1", 25114));
    EXPECT_FALSE(client.IsConnected());
    EXPECT_TRUE(log->Contains(L"cannot connect to 127.0.0.1:25114"));
}
