// Two programs started at the same moment host different games: this process
// starts two copies of itself, each of which seeds its random sequence as the
// program does at start, hosts a game and reports its id as its exit code.

#include "engine/files/RandomRange.h"
#include "engine/net/NetServer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const wchar_t kHostSwitch[] = L"--host-a-game";

// Takes over a copy started as a host before any test runs.
class FreshHostEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        if (WideString(GetCommandLineW()).find(kHostSwitch) == WideString::npos) {
            return;
        }
        SeedRandomSequence();
        std::exit(HostedGameId());
    }

private:
    static int32_t HostedGameId()
    {
        NetServer server;
        server.Start(L"", 0, false);   // any free port: the id is all that is asked for
        return server.GetGameId();
    }
};

testing::Environment* const freshHost = testing::AddGlobalTestEnvironment(new FreshHostEnvironment);

PROCESS_INFORMATION StartHost()
{
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    WideString commandLine;
    FormatWideString(commandLine, "\"%s\" --gtest_filter=GameIdProcess.* %s", program, kHostSwitch);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    EXPECT_TRUE(CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    return process;
}

DWORD GameIdOf(PROCESS_INFORMATION& host)
{
    DWORD exitCode = 0;
    EXPECT_EQ(WaitForSingleObject(host.hProcess, 60000), WAIT_OBJECT_0);
    GetExitCodeProcess(host.hProcess, &exitCode);
    CloseHandle(host.hThread);
    CloseHandle(host.hProcess);
    return exitCode;
}

} // namespace

TEST(GameIdProcess, TwoHostsStartedTogetherAnnounceDifferentGames)
{
    PROCESS_INFORMATION first = StartHost();
    PROCESS_INFORMATION second = StartHost();
    ASSERT_NE(first.hProcess, nullptr);
    ASSERT_NE(second.hProcess, nullptr);
    const DWORD firstId = GameIdOf(first);
    const DWORD secondId = GameIdOf(second);
    EXPECT_NE(firstId, secondId);
    EXPECT_NE(firstId, static_cast<DWORD>(STILL_ACTIVE));
}
