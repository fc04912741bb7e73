#include "engine/files/LanguageTable.h"
#include "engine/files/RandomRange.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>

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

TEST(RandomRange, StaysWithinItsBounds)
{
    EXPECT_EQ(RandomRange(2.0f, 2.0f), 2.0f);
    for (int i = 0; i < 1000; ++i) {
        const float value = RandomRange(-1.0f, 3.0f);
        EXPECT_GE(value, -1.0f);
        EXPECT_LE(value, 3.0f);
    }
}
