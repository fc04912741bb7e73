#include "engine/core/Screenshot.h"
#include "engine/files/FileStream.h"
#include "engine/files/FileWriteStream.h"
#include "tests/engine/core/ListedFilesArchive.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

namespace {

class ScreenshotTest : public testing::Test {
protected:
    ScreenshotTest() { ArchiveList::Instance().Mount(std::make_unique<FolderArchive>()); }
    ~ScreenshotTest() override { ArchiveList::Instance().UnmountAll(); }

    static void Touch(const WideString& name) { FileWriteStream out(name); }

    ScratchFolder scratch;
};

} // namespace

TEST_F(ScreenshotTest, NamesSkipTakenNumbers)
{
    EXPECT_EQ(NextScreenshotName(), L"Shot0001.TGA");
    for (int n = 1; n <= 9; ++n) {
        WideString name;
        Touch(FormatWideString(name, "Shot000%d.TGA", n));
    }
    EXPECT_EQ(NextScreenshotName(), L"Shot0010.TGA");
}

TEST_F(ScreenshotTest, NumbersInThePackAreTakenToo)
{
    std::vector<WideString> packed;
    WideString name;
    for (int n = 1; n <= 999; ++n) {
        packed.push_back(FormatWideString(name, "Shot%04d.TGA", n));
    }
    packed.erase(packed.begin() + 2);   // Shot0003.TGA
    ArchiveList::Instance().Mount(std::make_unique<ListedFilesArchive>(packed));
    EXPECT_EQ(NextScreenshotName(), L"Shot0003.TGA");
    Touch(L"Shot0003.TGA");
    EXPECT_EQ(NextScreenshotName(), L"Shot1000.TGA");   // from 1000 on, no leading zero
}

TEST_F(ScreenshotTest, WritesBottomRowFirstWithTheGrabbedSize)
{
    // 3 x 2 pixels, top row first as grabbed.
    const std::vector<uint32_t> pixels = {0x01, 0x02, 0x03, 0x11, 0x12, 0x13};
    WriteScreenshot(L"Shot0001.TGA", pixels, 3, 2);

    FileStream in(L"Shot0001.TGA");
    ASSERT_EQ(in.GetSize(), 18 + 6 * 4);
    uint8_t header[18];
    in.Read(header, sizeof header);
    const uint8_t expected[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 2, 0, 32, 0};
    EXPECT_TRUE(std::equal(std::begin(header), std::end(header), std::begin(expected)));
    std::vector<int32_t> stored;
    for (int i = 0; i < 6; ++i) {
        stored.push_back(in.ReadInt32());
    }
    EXPECT_EQ(stored, (std::vector<int32_t>{0x11, 0x12, 0x13, 0x01, 0x02, 0x03}));
}

TEST_F(ScreenshotTest, AnIncompleteGrabWritesNothing)
{
    ScopedCapture log(kLogError);
    WriteScreenshot(L"Shot0001.TGA", std::vector<uint32_t>(5), 3, 2);
    EXPECT_FALSE(FolderArchive().CanRead(L"Shot0001.TGA"));
    EXPECT_EQ(log->lines.size(), 1u);
}
