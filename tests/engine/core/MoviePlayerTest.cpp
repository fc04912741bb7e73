#include "engine/core/MoviePlayer.h"
#include "engine/core/dcWindow.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/FileWriteStream.h"
#include "tests/engine/core/ListedFilesArchive.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

// Little-endian bytes of an AVI file under construction.
class RiffBytes {
public:
    RiffBytes& U32(uint32_t value) { return Raw(&value, 4); }
    RiffBytes& U16(uint16_t value) { return Raw(&value, 2); }
    RiffBytes& Tag(const char* fourcc) { return Raw(fourcc, 4); }
    RiffBytes& Add(const RiffBytes& other) { return Raw(other.bytes.data(), other.bytes.size()); }
    RiffBytes& Raw(const void* data, size_t size)
    {
        bytes.append(static_cast<const char*>(data), size);
        return *this;
    }

    static RiffBytes Chunk(const char* fourcc, const RiffBytes& payload)
    {
        RiffBytes chunk;
        chunk.Tag(fourcc).U32(static_cast<uint32_t>(payload.bytes.size())).Add(payload);
        if (payload.bytes.size() % 2 != 0) {
            chunk.bytes.push_back('\0');
        }
        return chunk;
    }
    static RiffBytes List(const char* kind, const char* fourcc, const RiffBytes& payload)
    {
        RiffBytes list;
        list.Tag(kind).U32(static_cast<uint32_t>(payload.bytes.size() + 4)).Tag(fourcc).Add(payload);
        return list;
    }

    std::string bytes;
};

// An uncompressed 8 x 8 movie at one frame a second, which the system's own
// filters play without a codec.
void WriteMovie(const WideString& name, uint32_t seconds)
{
    constexpr uint32_t kSide = 8;
    constexpr uint32_t kFrameSize = kSide * kSide * 3;
    constexpr uint32_t kHasIndex = 0x10;
    constexpr uint32_t kKeyFrame = 0x10;

    RiffBytes mainHeader;
    mainHeader.U32(1000000).U32(kFrameSize).U32(0).U32(kHasIndex).U32(seconds).U32(0).U32(1).U32(kFrameSize);
    mainHeader.U32(kSide).U32(kSide).U32(0).U32(0).U32(0).U32(0);
    RiffBytes streamHeader;
    streamHeader.Tag("vids").Tag("DIB ").U32(0).U16(0).U16(0).U32(0).U32(1).U32(1).U32(0).U32(seconds);
    streamHeader.U32(kFrameSize).U32(0xFFFFFFFF).U32(0).U16(0).U16(0).U16(kSide).U16(kSide);
    RiffBytes bitmapInfo;
    bitmapInfo.U32(40).U32(kSide).U32(kSide).U16(1).U16(24).U32(0).U32(kFrameSize).U32(0).U32(0).U32(0).U32(0);
    const RiffBytes streamList = RiffBytes::List(
        "LIST", "strl", RiffBytes(RiffBytes::Chunk("strh", streamHeader)).Add(RiffBytes::Chunk("strf", bitmapInfo)));
    const RiffBytes headerList =
        RiffBytes::List("LIST", "hdrl", RiffBytes(RiffBytes::Chunk("avih", mainHeader)).Add(streamList));

    RiffBytes frames;
    RiffBytes index;
    RiffBytes picture;
    picture.bytes.assign(kFrameSize, '\x60');
    for (uint32_t n = 0; n < seconds; ++n) {
        index.Tag("00db").U32(kKeyFrame).U32(static_cast<uint32_t>(4 + frames.bytes.size())).U32(kFrameSize);
        frames.Add(RiffBytes::Chunk("00db", picture));
    }
    RiffBytes body(headerList);
    body.Add(RiffBytes::List("LIST", "movi", frames)).Add(RiffBytes::Chunk("idx1", index));
    const RiffBytes file = RiffBytes::List("RIFF", "AVI ", body);

    FileWriteStream out(name);
    out.Write(file.bytes.data(), static_cast<int32_t>(file.bytes.size()));
}

} // namespace

TEST(IntroMovies, AGapInTheNumbersEndsTheList)
{
    struct Case {
        std::vector<WideString> files;
        std::vector<WideString> movies;
    };
    for (const Case& c : std::initializer_list<Case>{
             {{}, {}},
             {{L"Intro2.AVI"}, {}},
             {{L"Intro1.AVI", L"Intro3.AVI"}, {L"Intro1.AVI"}},
             {{L"Intro1.AVI", L"Intro2.AVI"}, {L"Intro1.AVI", L"Intro2.AVI"}}}) {
        ArchiveList::Instance().Mount(std::make_unique<ListedFilesArchive>(c.files));
        EXPECT_EQ(FindIntroMovies(), c.movies) << c.files.size();
        ArchiveList::Instance().UnmountAll();
    }
}

TEST(MoviePlayer, EscapeOrEnterEndsTheMovieOtherKeysDoNot)
{
    ScratchFolder scratch;
    WriteMovie(L"Long.AVI", 30);
    WriteMovie(L"Short.AVI", 2);
    dcWindow window(L"Movie test", {0, 0, 160, 120}, false);
    struct Case {
        const wchar_t* movie;
        WPARAM key;
        DWORD atLeastMs;
        DWORD belowMs;
    };
    for (const Case& c : std::initializer_list<Case>{
             {L"Long.AVI", VK_ESCAPE, 0, 15000},
             {L"Long.AVI", VK_RETURN, 0, 15000},
             {L"Short.AVI", 'A', 1000, 15000}}) {   // plays to its end
        MoviePlayer player;
        ASSERT_TRUE(player.Open(c.movie)) << WideStringToNarrow(c.movie);
        PostMessageW(window.GetHandle(), WM_KEYDOWN, c.key, 0);
        const DWORD start = GetTickCount();
        player.Play(window);
        const DWORD played = GetTickCount() - start;
        EXPECT_GE(played, c.atLeastMs) << c.key;
        EXPECT_LT(played, c.belowMs) << c.key;
        EXPECT_FALSE(player.IsPlaying());
        player.Close();
    }
}

TEST(MoviePlayer, AFileThatIsNoMovieIsRefused)
{
    ScratchFolder scratch;
    {
        FileWriteStream out(L"Intro1.AVI");
        out.Write("not a movie", 11);
    }
    for (const wchar_t* name : {L"Intro1.AVI", L"Missing.AVI"}) {
        MoviePlayer player;
        EXPECT_FALSE(player.Open(name)) << WideStringToNarrow(name);
        EXPECT_FALSE(player.IsPlaying());
        player.Close();
    }
}
