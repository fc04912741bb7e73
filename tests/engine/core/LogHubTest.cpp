#include "engine/core/LogHub.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(LogHub, SinksWriteMessagesUpToTheirLevel)
{
    LogHub hub;
    auto quiet = std::make_unique<CapturingSink>();
    auto chatty = std::make_unique<CapturingSink>();
    CapturingSink* quietSink = quiet.get();
    CapturingSink* chattySink = chatty.get();
    hub.AddSink(std::move(quiet));
    hub.AddSink(std::move(chatty));
    chattySink->SetLevel(kLogVerbose);
    EXPECT_EQ(hub.GetLevel(), kLogVerbose);

    for (int32_t level : {kLogMessage, kLogError, kLogWarning, kLogVerbose}) {
        hub.Write(level, L"level " + std::to_wstring(level));
    }
    EXPECT_EQ(quietSink->lines, std::vector<WideString>{L"level 0"});
    EXPECT_EQ(chattySink->lines.size(), 4u);
}

TEST(LogHub, SetLevelReachesEverySinkAndNewSinksTakeIt)
{
    LogHub hub;
    auto first = std::make_unique<CapturingSink>();
    CapturingSink* firstSink = first.get();
    hub.AddSink(std::move(first));
    hub.SetLevel(kLogWarning);
    EXPECT_EQ(firstSink->GetLevel(), kLogWarning);

    auto later = std::make_unique<CapturingSink>();
    CapturingSink* laterSink = later.get();
    hub.AddSink(std::move(later));
    EXPECT_EQ(laterSink->GetLevel(), kLogWarning);
    EXPECT_EQ(laterSink->GetHub(), &hub);
}

TEST(LogHub, RemovedSinksHearNothingAndGoBackToTheirOwner)
{
    LogHub hub;
    auto sink = std::make_unique<CapturingSink>();
    CapturingSink* attached = sink.get();
    hub.AddSink(std::move(sink));
    std::unique_ptr<LogSink> removed = hub.RemoveSink(attached);
    ASSERT_EQ(removed.get(), attached);
    EXPECT_EQ(attached->GetHub(), nullptr);
    hub.Write(kLogMessage, L"after");
    EXPECT_TRUE(attached->lines.empty());

    CapturingSink stranger;
    EXPECT_EQ(hub.RemoveSink(&stranger), nullptr);
}

TEST(LogHub, EntryPointsFormatWithTheirLevel)
{
    ScopedCapture log(kLogWarning);
    LogHub::Printf("%s: %d", L"abc", 5);
    LogHub::PrintError("%s is missing!", L"Intro.OGG");
    LogHub::PrintWarning("dcEngine: Requested key %d is not in language", 7);
    LogHub::PrintVerbose("verbose %d", 1);
    EXPECT_EQ(log->lines, (std::vector<WideString>{L"abc: 5", L"Intro.OGG is missing!",
                                                   L"dcEngine: Requested key 7 is not in language"}));
}

namespace {

constexpr int kPrintedLines = 200;

DWORD WINAPI PrintLines(void*)
{
    for (int i = 0; i < kPrintedLines; ++i) {
        LogHub::Printf("line %d", i);
    }
    return 0;
}

} // namespace

TEST(LogHub, ManyThreadsMayPrintAtOnce)
{
    ScopedCapture log(kLogMessage);
    constexpr int kThreads = 4;
    HANDLE threads[kThreads];
    for (HANDLE& thread : threads) {
        thread = CreateThread(nullptr, 0, PrintLines, nullptr, 0, nullptr);
        ASSERT_NE(thread, nullptr);
    }
    WaitForMultipleObjects(kThreads, threads, TRUE, INFINITE);
    for (HANDLE thread : threads) {
        CloseHandle(thread);
    }
    EXPECT_EQ(log->lines.size(), static_cast<size_t>(kThreads * kPrintedLines));
}
