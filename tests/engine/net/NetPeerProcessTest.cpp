// Two copies of the test program find each other by broadcast and talk in
// frames: this process hosts and announces a game, and starts a second copy
// of itself as the client. The copy, started with "--net-peer=<game id>",
// runs the client's side in place of the tests and reports through its exit
// code.

#include "engine/net/ClientScene.h"
#include "engine/net/HostScene.h"
#include "engine/net/NetClient.h"
#include "engine/net/NetMessages.h"
#include "engine/net/NetServer.h"
#include "tests/engine/net/NetTestSupport.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int32_t kPeerPort = 25131;
constexpr double kPeerSeconds = 30.0;
const wchar_t kPeerSwitch[] = L"--net-peer=";

// The client's side of the exchange: hello 100, the host answers 101, done 102.
enum PeerResult : int {
    kPeerDone = 0,
    kPeerFoundNoHost = 2,
    kPeerCouldNotJoin = 3,
    kPeerGotNoAnswer = 4,
};

PeerResult RunClientPeer(int32_t gameId)
{
    NetClient client;
    ClientScene scene;
    RecordingReceiver lobby;
    scene.SetClient(&client);
    scene.SetDefaultReceiver(&lobby);
    if (client.ListenForServers(kPeerPort) != 0) {
        return kPeerFoundNoHost;
    }
    const auto poll = [&] { client.Update(0.01f, true); };
    const dcServerMessage* host = nullptr;
    const bool found = PollUntil(poll, [&] {
        for (const dcServerMessage& server : lobby.servers) {
            if (server.gameId == gameId) {
                host = &server;
            }
        }
        return host != nullptr;
    }, kPeerSeconds);
    if (!found) {
        return kPeerFoundNoHost;
    }
    std::printf("peer: found game %d at %ls:%d\n", host->gameId, host->address.c_str(), host->port);
    if (!client.Connect(host->address, host->port)) {
        return kPeerCouldNotJoin;
    }
    scene.Send(kHostTarget, dcNetTestNumber{100});
    if (!PollUntil(poll, [&] { return !lobby.Payloads<dcNetTestNumber>().empty(); }, kPeerSeconds) ||
        lobby.Payloads<dcNetTestNumber>().front().value != 101) {
        return kPeerGotNoAnswer;
    }
    scene.Send(kHostTarget, dcNetTestNumber{102});
    client.Disconnect();
    return kPeerDone;
}

// Takes over a copy started as the client peer before any test runs.
class ClientPeerEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        const WideString commandLine = GetCommandLineW();
        const size_t found = commandLine.find(kPeerSwitch);
        if (found == WideString::npos) {
            return;
        }
        const int32_t gameId = WideStringToInt(commandLine, static_cast<int32_t>(found + wcslen(kPeerSwitch)));
        const PeerResult result = RunClientPeer(gameId);
        std::printf("peer: finished with %d\n", result);
        std::fflush(stdout);
        std::exit(result);
    }
};

testing::Environment* const clientPeer = testing::AddGlobalTestEnvironment(new ClientPeerEnvironment);

// Starts this program again as the client peer.
PROCESS_INFORMATION StartClientPeer(int32_t gameId)
{
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    WideString commandLine;
    FormatWideString(commandLine, "\"%s\" --gtest_filter=NetPeerProcess.* %s%d", program, kPeerSwitch, gameId);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    EXPECT_TRUE(CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    return process;
}

} // namespace

TEST(NetPeerProcess, HostAndClientProcessesFindEachOtherAndExchangeFrames)
{
    NetServer server;
    HostScene scene;
    RecordingReceiver lobby;
    scene.SetServer(&server);
    scene.SetDefaultReceiver(&lobby);
    lobby.onMessage = [&](int32_t identity, void* payload, int32_t size, int32_t connection) {
        if (identity == dcServerMessage::Identity().Id()) {
            auto& record = *static_cast<dcServerMessage*>(payload);
            record.magic = kServerMagic;
            record.version = kServerVersion;
            record.name = L"Peer host";
        }
        if (identity == dcNetTestNumber::Identity().Id() && size >= 4 &&
            static_cast<const dcNetTestNumber*>(payload)->value == 100) {
            scene.Send(kClientTarget, dcNetTestNumber{101}, connection);
        }
    };
    ASSERT_TRUE(server.Start(L"", kPeerPort, true));

    PROCESS_INFORMATION peer = StartClientPeer(server.GetGameId());
    ASSERT_NE(peer.hProcess, nullptr);
    const bool finished = PollUntil([&] { server.Update(0.01f); },
                                    [&] { return WaitForSingleObject(peer.hProcess, 0) == WAIT_OBJECT_0; }, kPeerSeconds * 2);
    if (!finished) {
        TerminateProcess(peer.hProcess, 99);
    }
    DWORD exitCode = 99;
    GetExitCodeProcess(peer.hProcess, &exitCode);
    CloseHandle(peer.hThread);
    CloseHandle(peer.hProcess);
    ASSERT_TRUE(finished) << "the client process did not finish";
    EXPECT_EQ(exitCode, static_cast<DWORD>(kPeerDone));

    // Its last frame may still be on its way when the process ends.
    PollUntil([&] { server.Update(0.01f); }, [&] { return lobby.Payloads<dcNetTestNumber>().size() >= 2; });
    EXPECT_EQ(Values(lobby.Payloads<dcNetTestNumber>()), (std::vector<int32_t>{100, 102}));
    ASSERT_EQ(lobby.Payloads<dcConnectMessage>().size(), 1u);
    const int32_t clientId = lobby.Payloads<dcConnectMessage>().front().clientId;
    EXPECT_EQ(lobby.Connections<dcNetTestNumber>(), (std::vector<int32_t>{clientId, clientId}));
}
