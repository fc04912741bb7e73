#include "engine/files/ArchiveList.h"
#include "engine/files/FileWriteStream.h"
#include "engine/files/NullStream.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// Writes raw bytes as a loose file of the working folder.
void WriteFile(const wchar_t* name, const std::string& bytes)
{
    FileWriteStream out(name);
    out.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
}

std::string Int32Bytes(int32_t value)
{
    return std::string(reinterpret_cast<const char*>(&value), 4);
}

class StreamTest : public testing::Test {
protected:
    StreamTest() { ArchiveList::Instance().Mount(std::make_unique<FolderArchive>()); }
    ~StreamTest() override { ArchiveList::Instance().UnmountAll(); }

    ScratchFolder scratch;
};

} // namespace

TEST_F(StreamTest, MissingFilesReadAsZerosAndEmptyTexts)
{
    std::unique_ptr<Stream> in = OpenFile(L"Nowhere\\Missing.DCT");
    EXPECT_EQ(in->GetSize(), -1);
    EXPECT_EQ(in->GetName(), L"Nowhere\\Missing.DCT");
    EXPECT_EQ(in->ReadInt32(), 0);
    EXPECT_EQ(in->ReadFloat(), 0.0f);
    EXPECT_EQ(in->ReadText(), L"");
    EXPECT_EQ(in->ReadWideText(), L"");
    EXPECT_EQ(in->Tell(), 0);
    char buffer[4] = {1, 2, 3, 4};
    EXPECT_EQ(in->Read(buffer, 4), 0);
    EXPECT_EQ(buffer[3], 0);
}

TEST_F(StreamTest, TextBytesWidenWithSignExtension)
{
    WriteFile(L"Text.bin", std::string("\x03\x00\x00\x00" "a\xE9" "b", 7));
    std::unique_ptr<Stream> in = OpenFile(L"Text.bin");
    EXPECT_EQ(in->ReadText(), (WideString{L'a', static_cast<wchar_t>(0xFFE9), L'b'}));
}

TEST_F(StreamTest, WrittenValuesReadBack)
{
    {
        FileWriteStream out(L"Values.bin");
        out.WriteByte(0xAB);
        out.WriteInt16(-2);
        out.WriteInt32(123456789);
        out.WriteFloat(2.5f);
        out.WriteText(L"Maps\\Test.DCW");
        out.WriteText(L"cut here", 3);
        out.WriteWideText(L"Gr\u00f6\u00dfe");
        out.WriteWideText(L"");
        out.Move(-4);
        out.WriteInt32(0);   // rewrites the empty text's count in place
    }
    std::unique_ptr<Stream> in = OpenFile(L"Values.bin");
    EXPECT_EQ(in->ReadByte(), 0xAB);
    EXPECT_EQ(in->ReadInt16(), -2);
    EXPECT_EQ(in->ReadInt32(), 123456789);
    EXPECT_EQ(in->ReadFloat(), 2.5f);
    EXPECT_EQ(in->ReadText(), L"Maps\\Test.DCW");
    EXPECT_EQ(in->ReadText(), L"cut");
    EXPECT_EQ(in->ReadWideText(), L"Gr\u00f6\u00dfe");
    EXPECT_EQ(in->ReadWideText(), L"");
    EXPECT_EQ(in->Remaining(), 0);
    EXPECT_EQ(in->ReadInt32(), 0);   // past the end
    EXPECT_FALSE(in->HasErrors());
}

TEST_F(StreamTest, DamagedLengthsAreCutToTheBytesLeftAndReported)
{
    struct Case {
        const char* what;
        std::string bytes;
        WideString narrow;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"negative", Int32Bytes(-5) + "abc", L""},
             {"too long", Int32Bytes(0x7FFFFFFF) + "abc", L"abc"},
             {"just past", Int32Bytes(4) + "abc", L"abc"}}) {
        ScopedCapture log(kLogError);
        WriteFile(L"Damaged.bin", c.bytes);
        std::unique_ptr<Stream> in = OpenFile(L"Damaged.bin");
        EXPECT_EQ(in->ReadText(), c.narrow) << c.what;
        EXPECT_TRUE(in->HasErrors()) << c.what;
        EXPECT_EQ(log->lines, std::vector<WideString>{L"Damaged.bin contains errors"}) << c.what;
    }

    WriteFile(L"Counts.bin", Int32Bytes(1000) + std::string(20, '\0'));
    EXPECT_EQ(OpenFile(L"Counts.bin")->ReadCount(8), 2);   // 20 bytes left after the count

    WriteFile(L"Wide.bin", Int32Bytes(100000) + std::string("a\0b", 3));
    EXPECT_EQ(OpenFile(L"Wide.bin")->ReadWideText(), L"a");
}

TEST_F(StreamTest, UnwritableFilesAreReported)
{
    ScopedCapture log(kLogError);
    FileWriteStream out(L"NoSuchFolder\\Config.VKS");
    EXPECT_FALSE(out.IsOpen());
    EXPECT_EQ(out.WriteInt32(5), 0);
    out.Flush();
    EXPECT_EQ(log->lines, std::vector<WideString>{L"NoSuchFolder\\Config.VKS could not be written"});
}
