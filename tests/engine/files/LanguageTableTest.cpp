#include "engine/files/FileWriteStream.h"
#include "engine/files/LanguageTable.h"
#include "engine/files/RandomRange.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The head of a .DCL file: magic, the two unused fields, string type and count.
void WriteDcl(const wchar_t* name, int32_t stringType, int32_t count, const std::string& entries)
{
    FileWriteStream out(name);
    out.Write("DC2", 3);
    out.WriteInt32(0);
    out.WriteInt32(0);
    out.WriteInt32(stringType);
    out.WriteInt32(count);
    out.Write(entries.data(), static_cast<int32_t>(entries.size()));
}

std::string NarrowEntry(int32_t key, const std::string& stored)
{
    const int32_t length = static_cast<int32_t>(stored.size());
    return std::string(reinterpret_cast<const char*>(&key), 4) + std::string(reinterpret_cast<const char*>(&length), 4) +
           stored;
}

// The first seed after which rand() gives the value wanted.
unsigned SeedGiving(int wanted)
{
    for (unsigned seed = 0;; ++seed) {
        std::srand(seed);
        if (std::rand() == wanted) {
            return seed;
        }
    }
}

} // namespace

TEST(LanguageTable, BuiltFilesLoadBackThroughTheGamesReader)
{
    MountedFixture fixture(L"languages");
    LanguageTable language;
    language.FindLanguageFiles();
    EXPECT_EQ(language.GetFiles(), (std::vector<WideString>{L"Misc\\Deutsch.DCL", L"Misc\\English.DCL"}));

    ASSERT_TRUE(language.SelectLanguageByName(L"english"));
    struct Case {
        int32_t key;
        const wchar_t* text;
    };
    for (const Case& c : std::initializer_list<Case>{
             {10, L"Ten"}, {20, L"  lead"}, {30, L"trail"}, {40, L"x"}}) {
        EXPECT_EQ(language.GetText(c.key), c.text) << c.key;
    }

    // Switching replaces the texts; a text handed out before stays valid.
    const WideString& ten = language.GetText(10);
    ASSERT_TRUE(language.SelectLanguageByName(L"Misc\\Deutsch.DCL"));
    EXPECT_EQ(ten, L"Zehn");
    EXPECT_EQ(language.GetText(50), L"Gr\u00f6\u00dfe");
    EXPECT_EQ(language.GetText(20), L"  lead");   // the second language lacks it

    EXPECT_FALSE(language.SelectLanguageByName(L"Klingon"));
    EXPECT_EQ(language.GetText(10), L"Zehn");
}

TEST(LanguageTable, MissingKeysShowAPlaceholderAndAreReportedOnce)
{
    ScopedCapture log(kLogWarning);
    LanguageTable language;
    EXPECT_EQ(language.GetText(555660), L"Undefined key ^1555660^7");
    EXPECT_EQ(language.GetText(555660), L"Undefined key ^1555660^7");
    EXPECT_EQ(log->lines, std::vector<WideString>{L"dcEngine: Requested key 555660 is not in language"});
}

TEST(LanguageTable, DamagedFilesLoadWhatTheyHold)
{
    MountedFixture fixture(L"badlanguages");
    struct Case {
        const wchar_t* file;
        bool loads;
        std::vector<WideString> log;
    };
    for (const Case& c : std::initializer_list<Case>{
             {L"Misc\\Huge.DCL", true, {L"Misc\\Huge.DCL contains errors"}},
             {L"Misc\\Negative.DCL", true, {L"Misc\\Negative.DCL contains errors"}},
             {L"Misc\\NotDcl.DCL", false, {L"Misc\\NotDcl.DCL is NOT a DCL File"}},
             {L"Misc\\Absent.DCL", false, {L"Misc\\Absent.DCL is NOT a DCL File"}}}) {
        ScopedCapture log(kLogError);
        TextMap texts;
        EXPECT_EQ(LoadLanguageFile(c.file, texts), c.loads) << WideStringToNarrow(c.file);
        EXPECT_EQ(log->lines, c.log) << WideStringToNarrow(c.file);
    }
    TextMap texts;
    LoadLanguageFile(L"Misc\\Huge.DCL", texts);
    EXPECT_EQ(texts.at(7), L"Seven");
}

TEST(DclText, DecodesTheStoredForms)
{
    // One stored unit always decodes to zero, which the loader trims away.
    EXPECT_EQ(DecodeDclText(WideString(1, L'x')), WideString(1, L'\0'));
    EXPECT_EQ(DecodeDclText(L""), L"");
    // Bytes from 0x80 decode sign-extended; wide texts keep all 16 bits.
    EXPECT_EQ(DecodeDclText(WideString{static_cast<wchar_t>(0xFF - 0x90), 0}), (WideString{static_cast<wchar_t>(0xFF90), static_cast<wchar_t>(0x0070)}));
    EXPECT_EQ(DecodeDclWideText(WideString{static_cast<wchar_t>(0xFFFF - 0x1234), 0}), (WideString{static_cast<wchar_t>(0x1234), static_cast<wchar_t>(0xEDCC)}));
}

TEST(LanguageTable, FilesWithoutUsableEntriesLoadNothingQuietly)
{
    ScratchFolder scratch;
    ArchiveList::Instance().Mount(std::make_unique<FolderArchive>());
    const std::string entry = NarrowEntry(10, "ab");
    WriteDcl(L"Empty.DCL", 0, 0, "");
    WriteDcl(L"NoCount.DCL", 0, -3, entry);
    WriteDcl(L"OtherType.DCL", 7, 1, entry);
    for (const wchar_t* name : {L"Empty.DCL", L"NoCount.DCL", L"OtherType.DCL"}) {
        ScopedCapture log(kLogVerbose);
        TextMap texts;
        EXPECT_TRUE(LoadLanguageFile(name, texts)) << WideStringToNarrow(name);
        EXPECT_TRUE(texts.empty()) << WideStringToNarrow(name);
        EXPECT_TRUE(log->lines.empty()) << WideStringToNarrow(name);
    }

    // A text of one stored byte decodes to a zero, which the loader trims.
    WriteDcl(L"OneByte.DCL", 0, 1, NarrowEntry(10, "q"));
    TextMap texts;
    ASSERT_TRUE(LoadLanguageFile(L"OneByte.DCL", texts));
    EXPECT_EQ(texts, (TextMap{{10, L""}}));
    ArchiveList::Instance().UnmountAll();
}

TEST(RandomRange, ReachesBothEnds)
{
    struct Case {
        int rand;
        float lo;
        float hi;
        float expected;
    };
    for (const Case& c : std::initializer_list<Case>{
             {0, 0.0f, 1.0f, 0.0f}, {32767, 0.0f, 1.0f, 1.0f}, {0, -3.0f, 5.0f, -3.0f}, {32767, -3.0f, 5.0f, 5.0f}}) {
        std::srand(SeedGiving(c.rand));
        EXPECT_EQ(RandomRange(c.lo, c.hi), c.expected) << c.rand << " in " << c.lo << ".." << c.hi;
    }
}

TEST(RandomRange, StaysWithinItsBounds)
{
    EXPECT_EQ(RandomRange(2.0f, 2.0f), 2.0f);
    for (int i = 0; i < 1000; ++i) {
        const float value = RandomRange(-1.0f, 3.0f);
        EXPECT_GE(value, -1.0f);
        EXPECT_LE(value, 3.0f);
    }
}
