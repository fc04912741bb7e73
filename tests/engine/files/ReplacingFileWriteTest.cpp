#include "engine/files/ReplacingFileWrite.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/DamagedCopies.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

const WideString kName = L"Misc\\Config.VKS";

class ReplacingFileWrite : public testing::Test {
protected:
    ReplacingFileWrite()
    {
        std::filesystem::create_directory("Misc");
        std::ofstream("Misc/Config.VKS", std::ios::binary) << "old";
    }

    static bool WriteText(const std::string& text)
    {
        return WriteFileReplacing(kName, [&text](WriteStream& out) {
            out.Write(text.data(), static_cast<int32_t>(text.size()));
        });
    }

    static std::string Content()
    {
        const FileBytes bytes = ReadWholeFile(kName);
        return std::string(bytes.begin(), bytes.end());
    }

    ScratchFolder scratch;
};

TEST_F(ReplacingFileWrite, TheNewContentTakesTheOldFilesPlaceAndNothingIsLeftBeside)
{
    ScopedCapture log(kLogError);
    EXPECT_TRUE(WriteText("new content"));
    EXPECT_EQ(Content(), "new content");
    EXPECT_FALSE(std::filesystem::exists("Misc/Config.VKS.new"));
    EXPECT_TRUE(log->lines.empty());
}

TEST_F(ReplacingFileWrite, ANewFileThatCannotBeMadeLeavesTheOldOneWithOneLogLine)
{
    std::filesystem::create_directory("Misc/Config.VKS.new");
    ScopedCapture log(kLogError);
    EXPECT_FALSE(WriteText("new content"));
    EXPECT_EQ(log->lines, std::vector<WideString>{L"Misc\\Config.VKS.new could not be written"});
    EXPECT_EQ(Content(), "old");
}

TEST_F(ReplacingFileWrite, AnOldFileThatCannotBeReplacedStaysAndTheNewOneGoes)
{
    // Held open without sharing, as another program might hold it.
    HANDLE held = CreateFileW(kName.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ScopedCapture log(kLogError);
    EXPECT_FALSE(WriteText("new content"));
    CloseHandle(held);
    EXPECT_EQ(log->lines, std::vector<WideString>{L"Misc\\Config.VKS could not be written"});
    EXPECT_EQ(Content(), "old");
    EXPECT_FALSE(std::filesystem::exists("Misc/Config.VKS.new"));
}

} // namespace
