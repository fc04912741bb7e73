#include "engine/files/ArchiveList.h"
#include "engine/files/FileStream.h"
#include "engine/files/FileWriteStream.h"
#include "engine/files/FolderArchive.h"
#include "engine/files/LanguageTable.h"
#include "engine/files/PackArchive.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

std::string ReadAll(Stream& in)
{
    std::string bytes(std::max(in.GetSize(), 0), '\0');
    bytes.resize(in.Read(bytes.data(), static_cast<int32_t>(bytes.size())));
    return bytes;
}

std::vector<WideString> PackMatches(PackArchive& pack, const wchar_t* pattern, bool withFolder)
{
    std::vector<WideString> names;
    pack.FindFiles(names, pattern, withFolder, false);
    return names;
}

void WriteLooseFile(const wchar_t* name, const std::string& bytes)
{
    FileWriteStream out(name);
    out.Write(bytes.data(), static_cast<int32_t>(bytes.size()));
}

// The fixture's big member: byte i is (7i + i/256) mod 256.
char BigByte(int32_t i)
{
    return static_cast<char>((i * 7 + (i >> 8)) & 0xFF);
}

} // namespace

TEST(ArchiveList, LooseFilesOverridePackedOnes)
{
    MountedFixture fixture(L"sources");
    struct Case {
        const wchar_t* name;
        bool exists;
    };
    for (const Case& c : std::initializer_list<Case>{
             {L"Misc\\English.DCL", true}, {L"misc\\other.dcl", true}, {L"Loose\\Only.txt", true},
             {L"Loose/Only.txt", true}, {L"Misc/Other.DCL", false}, {L"Misc\\Missing.DCL", false}}) {
        EXPECT_EQ(FileExists(c.name), c.exists) << WideStringToNarrow(c.name);
        EXPECT_EQ(CanReadFile(c.name), c.exists) << WideStringToNarrow(c.name);
    }
    TextMap texts;
    ASSERT_TRUE(LoadLanguageFile(L"Misc\\English.DCL", texts));
    EXPECT_EQ(texts.at(1), L"Loose");
    ASSERT_TRUE(LoadLanguageFile(L"misc\\other.dcl", texts));
    EXPECT_EQ(texts.at(1), L"Other");
}

TEST(ArchiveList, TheFirstSourceWithMatchesListsThemAll)
{
    MountedFixture fixture(L"sources");
    EXPECT_EQ(ListFiles(L"Misc\\*.DCL"), std::vector<WideString>{L"English.DCL"});
    EXPECT_EQ(ListFiles(L"Menu\\Loading?.DCT"), (std::vector<WideString>{L"LOADING1.DCT", L"LOADINGX.DCT"}));
    EXPECT_TRUE(ListFiles(L"Nowhere\\*.*").empty());

    std::vector<WideString> withFolder;
    EXPECT_TRUE(FindFiles(withFolder, L"Misc\\*.DCL", true, true));
    EXPECT_EQ(withFolder, std::vector<WideString>{L"Misc\\English.DCL"});
}

TEST(PackArchive, PatternsMatchFolderExactlyAndPartsAsPrefixes)
{
    ScopedWorkingFolder folder(FixturePath(L"sources"));
    PackArchive pack(L"Data.DCP");
    struct Case {
        const wchar_t* pattern;
        std::vector<WideString> names;
    };
    for (const Case& c : std::initializer_list<Case>{
             {L"Menu\\Loading?.DCT", {L"LOADING1.DCT", L"LOADINGX.DCT"}},
             {L"Misc\\*.DC", {L"ENGLISH.DCL", L"OTHER.DCL"}},
             {L"misc\\e*", {L"ENGLISH.DCL"}},
             {L"Pedestrians\\*.", {L"LIST.TXT", L"WALKER"}},
             {L"Pedestrians\\Walker\\*.DCT", {L"SKIN.DCT"}},
             {L"*.*", {L"DATA", L"MENU", L"MISC", L"PEDESTRIANS", L"TEXTURES"}},   // folder members at the top
             {L"Menu\\*.XYZ", {}}}) {
        EXPECT_EQ(PackMatches(pack, c.pattern, false), c.names) << WideStringToNarrow(c.pattern);
    }
    EXPECT_EQ(PackMatches(pack, L"Menu\\B*", true), std::vector<WideString>{L"MENU\\BOTH.DCT"});
}

TEST(PackArchive, KeysAreUpperCaseWithBackslashesAndTheFirstMemberWins)
{
    EXPECT_EQ(PackArchive::MemberKey(L"Misc/English.DCL"), L"MISC\\ENGLISH.DCL");
    EXPECT_EQ(PackArchive::MemberKey(L"Pedestrians/"), L"PEDESTRIANS");

    ScopedWorkingFolder folder(FixturePath(L"sources"));
    PackArchive pack(L"Data.DCP");
    EXPECT_TRUE(pack.CanRead(L"misc\\english.dcl"));
    EXPECT_FALSE(pack.CanRead(L"Misc/English.DCL"));
    EXPECT_FALSE(pack.CanWrite(L"Misc\\English.DCL"));
    std::unique_ptr<Stream> twice = pack.OpenRead(L"data\\twice.bin");
    ASSERT_NE(twice, nullptr);
    EXPECT_EQ(ReadAll(*twice), "first");
    EXPECT_EQ(twice->GetName(), L"data\\twice.bin");
}

TEST(PackArchive, MembersSeekByDecompressing)
{
    ScopedWorkingFolder folder(FixturePath(L"sources"));
    PackArchive pack(L"Data.DCP");
    std::unique_ptr<Stream> big = pack.OpenRead(L"Data\\Big.bin");
    ASSERT_NE(big, nullptr);
    ASSERT_EQ(big->GetSize(), 100 * 1024);

    struct Case {
        int32_t offset;
        int32_t origin;
        int32_t position;
    };
    char byte = 0;
    for (const Case& c : std::initializer_list<Case>{
             {70000, kSeekStart, 70000},     // forwards, far beyond one scratch buffer
             {-69000, kSeekCurrent, 1001},   // backwards: from the member's start again
             {0, kSeekStart, 0},
             {-1, kSeekEnd, 100 * 1024 - 1}}) {
        big->Seek(c.offset, c.origin);
        EXPECT_EQ(big->Tell(), c.position);
        EXPECT_EQ(big->Read(&byte, 1), 1);
        EXPECT_EQ(byte, BigByte(c.position)) << c.position;
    }
    EXPECT_EQ(big->Read(&byte, 1), 0);   // at the end
    big->Seek(0, kSeekEnd);
    EXPECT_EQ(big->Tell(), big->GetSize());
}

// The editor's file dialogs, for one, move the working folder.
TEST(PackArchive, MembersStillOpenAfterTheWorkingFolderMoved)
{
    MountedFixture fixture(L"sources");
    ScratchFolder elsewhere;
    ScopedCapture log(kLogError);
    ASSERT_TRUE(CanReadFile(L"Data\\Big.bin"));
    std::unique_ptr<Stream> big = OpenFile(L"Data\\Big.bin");
    ASSERT_EQ(big->GetSize(), 100 * 1024);
    char first[2] = {};
    EXPECT_EQ(big->Read(first, 2), 2);
    EXPECT_EQ(first[1], BigByte(1));
    EXPECT_TRUE(log->lines.empty());
}

TEST(PackArchive, DamagedPacksAreReportedOnceAndLooseFilesCarryOn)
{
    for (const wchar_t* name : {L"truncated", L"garbage"}) {
        ScopedCapture log(kLogError);
        MountedFixture fixture(name);
        EXPECT_EQ(log->lines, std::vector<WideString>{L"Data.DCP contains errors"}) << WideStringToNarrow(name);
        EXPECT_FALSE(FileExists(L"Misc\\Other.DCL"));
        EXPECT_TRUE(FileExists(L"Data.DCP"));
    }
}

TEST(PackArchive, AnAbsentPackIsSilent)
{
    ScopedCapture log(kLogVerbose);
    MountedFixture fixture(L"languages");
    EXPECT_TRUE(log->lines.empty());
    EXPECT_TRUE(FileExists(L"Misc\\English.DCL"));
}

TEST(FolderArchive, ListsFilesAndFoldersByThePlatformsWildcards)
{
    ScratchFolder scratch;
    std::filesystem::create_directories("Misc/Sub");
    for (const wchar_t* name : {L"Misc\\alpha.DCL", L"Misc\\Zulu.DCL", L"Misc\\Mid.DCL", L"Misc\\Notes.txt"}) {
        WriteLooseFile(name, "x");
    }
    FolderArchive folder;
    struct Case {
        const wchar_t* pattern;
        bool withFolder;
        std::vector<WideString> names;
    };
    for (const Case& c : std::initializer_list<Case>{
             // Sorted by code units: upper case before lower case.
             {L"Misc\\*.DCL", false, {L"Mid.DCL", L"Zulu.DCL", L"alpha.DCL"}},
             {L"misc\\*.dcl", true, {L"misc\\Mid.DCL", L"misc\\Zulu.DCL", L"misc\\alpha.DCL"}},
             {L"Misc/?ulu.DCL", false, {L"Zulu.DCL"}},
             // Folders are found as well as files.
             {L"Misc\\S*", true, {L"Misc\\Sub"}},
             // "." and ".." are never listed.
             {L"Misc\\*", false, {L"Mid.DCL", L"Notes.txt", L"Sub", L"Zulu.DCL", L"alpha.DCL"}}}) {
        std::vector<WideString> names;
        EXPECT_TRUE(folder.FindFiles(names, c.pattern, c.withFolder, true)) << WideStringToNarrow(c.pattern);
        EXPECT_EQ(names, c.names) << WideStringToNarrow(c.pattern);
    }

    // Nothing found leaves the list as it was.
    std::vector<WideString> names{L"kept"};
    EXPECT_FALSE(folder.FindFiles(names, L"Misc\\*.XYZ", false, true));
    EXPECT_FALSE(folder.FindFiles(names, L"Nowhere\\*.*", false, true));
    EXPECT_EQ(names, std::vector<WideString>{L"kept"});
}

TEST(FolderArchive, AskingWhetherAFileCanBeWrittenChangesNothing)
{
    ScratchFolder scratch;
    WriteLooseFile(L"Settings.cfg", "keep me");
    FolderArchive folder;
    struct Case {
        const wchar_t* name;
        bool writable;
    };
    for (const Case& c : std::initializer_list<Case>{
             {L"Settings.cfg", true}, {L"Fresh.cfg", true}, {L"", false}, {L"NoSuchFolder\\Fresh.cfg", false}}) {
        EXPECT_EQ(folder.CanWrite(c.name), c.writable) << WideStringToNarrow(c.name);
    }
    FileStream kept(L"Settings.cfg");
    EXPECT_EQ(ReadAll(kept), "keep me");
    EXPECT_FALSE(folder.CanRead(L"Fresh.cfg"));   // the probe left no file behind
    EXPECT_FALSE(folder.CanRead(L""));
}
