// Messages per second from a host to 8 clients over loopback TCP, every
// message framed, sent to all clients and delivered to a handler on each; and
// the bytes each message costs on top of its payload. It hosts a game, so run
// it only inside the test runner's private network, from the build folder:
//     VARNHOLT_BUILD=<build> tools/isolate tools/wine-run <build>/bench/net/net_bench.exe

// First, so that the Win32 macros rename the receiver's operations alike
// everywhere.
#include <windows.h>

#include "bench/support/BenchArguments.h"
#include "bench/support/RunReporter.h"
#include "engine/core/MessageReceiver.h"
#include "engine/net/ClientScene.h"
#include "engine/net/HostScene.h"
#include "engine/net/NetClient.h"
#include "engine/net/NetFrame.h"
#include "engine/net/NetServer.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t kClients = 8;
constexpr int32_t kBatch = 256;   // messages sent to all clients per iteration
constexpr int32_t kPort = 25190;

struct dcBenchTick {
    DC_MESSAGE(dcBenchTick)
    int32_t sequence;
};

class TickCounter : public MessageReceiver {
    DC_RECEIVER(TickCounter, MessageReceiver)
public:
    TickCounter() { Handles<dcBenchTick, &TickCounter::OnTick>(); }
    int64_t count = 0;

private:
    void OnTick(const dcBenchTick&) { ++count; }
};
// handlers: dcBenchTick -> OnTick

struct Player {
    NetClient client;
    ClientScene scene;
    TickCounter counter;
};

// One host with its clients connected, made on first use and kept.
class Rig {
public:
    Rig()
    {
        hostScene.SetServer(&server);
        ready = server.Start(L"127.0.0.1", kPort, false);
        for (int32_t i = 0; i < kClients && ready; ++i) {
            players.push_back(std::make_unique<Player>());
            Player& player = *players.back();
            player.scene.SetClient(&player.client);
            player.scene.SetDefaultReceiver(&player.counter);
            ready = player.client.Connect(L"127.0.0.1", kPort);
        }
        for (int poll = 0; poll < 1000 && ready && server.GetClientCount() < kClients; ++poll) {
            server.Update(0.0f);
            Sleep(1);
        }
        ready = ready && server.GetClientCount() == kClients;
    }

    // Polls everyone until each client has heard the expected count.
    void WaitForAll(int64_t expected)
    {
        for (;;) {
            server.Update(0.0f);
            bool all = true;
            for (const std::unique_ptr<Player>& player : players) {
                player->client.Update(0.0f, true);
                all = all && player->counter.count >= expected;
            }
            if (all) {
                return;
            }
        }
    }

    NetServer server;
    HostScene hostScene;
    std::vector<std::unique_ptr<Player>> players;
    bool ready = false;
    int64_t sent = 0;
};

Rig& TheRig()
{
    static Rig rig;
    return rig;
}

void HostToEightClients(benchmark::State& state)
{
    Rig& rig = TheRig();
    if (!rig.ready) {
        state.SkipWithError("could not host and connect 8 clients on loopback");
        return;
    }
    const int32_t payloadSize = static_cast<int32_t>(state.range(0));
    std::vector<char> payload(payloadSize, 'p');
    for (auto _ : state) {
        for (int32_t i = 0; i < kBatch; ++i) {
            rig.hostScene.Send(kClientTarget, dcBenchTick::Identity().Id(), payload.data(), payloadSize, 0);
        }
        rig.sent += kBatch;
        rig.WaitForAll(rig.sent);
    }
    state.SetItemsProcessed(state.iterations() * kBatch * kClients);
    const int32_t frameSize = static_cast<int32_t>(BuildFrame(kClientTarget, 1, payload.data(), payloadSize).size());
    state.counters["overhead_bytes"] = frameSize - payloadSize;
}

BENCHMARK(HostToEightClients)->Arg(4)->Arg(64)->Arg(1024)->UseRealTime()->Unit(benchmark::kMillisecond);

// One run's rate and overhead, for the closing summary.
struct SummaryLine {
    std::string name;
    double messagesPerSecond;
    double overheadBytes;
};

} // namespace

int wmain(int argc, wchar_t** argv)
{
    InitializeBenchmarks(argc, argv);
    std::vector<SummaryLine> lines;
    RunReporter reporter([&lines](const BenchRun& run) {
        if (!run.error_occurred) {
            lines.push_back({run.benchmark_name(), run.counters.at("items_per_second").value,
                             run.counters.at("overhead_bytes").value});
        }
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const SummaryLine& line : lines) {
        std::printf("%s: %.0f messages per second delivered (host to %d clients), %.0f bytes of overhead per message\n",
                    line.name.c_str(), line.messagesPerSecond, kClients, line.overheadBytes);
    }
    benchmark::Shutdown();
    return 0;
}
