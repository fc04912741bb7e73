#include "engine/files/WideString.h"

#include <gtest/gtest.h>

namespace {

WideString Formatted(const char* format, ...)
{
    WideString result;
    va_list args;
    va_start(args, format);
    FormatWideStringNarrowV(result, format, args);
    va_end(args);
    return result;
}

} // namespace

TEST(WideStringFormat, UsesThePlatformsWideDirectives)
{
    EXPECT_EQ(Formatted("%s: %d", L"abc", 5), L"abc: 5");
    EXPECT_EQ(Formatted("%d%%", 40), L"40%");
    EXPECT_EQ(Formatted("Timer = %.2f", 1.5), L"Timer = 1.50");
    EXPECT_EQ(Formatted("%.1f/%.1f", 2.24, 10.0), L"2.2/10.0");
    EXPECT_EQ(Formatted("Scripts\\%s.dcScript", L"ABC"), L"Scripts\\ABC.dcScript");
    WideString wide;
    EXPECT_EQ(FormatWideStringW(wide, L"%c-%s", L'x', L"y"), L"x-y");
}

TEST(WideStringFormat, CutsLongResultsToTheBuffer)
{
    const WideString fits(1023, L'a');
    EXPECT_EQ(Formatted("%s", fits.c_str()), fits);

    const WideString tooLong(1024, L'b');
    EXPECT_EQ(Formatted("%s", tooLong.c_str()), WideString(1023, L'b'));
    EXPECT_EQ(Formatted("^1%s", WideString(5000, L'c').c_str()), L"^1" + WideString(1021, L'c'));
}

TEST(WideStringConvert, RoundTripsAnsiText)
{
    EXPECT_EQ(WideStringFromChars("Maps\\Test.DCW", -1), L"Maps\\Test.DCW");
    EXPECT_EQ(WideStringFromChars("abcdef", 3), L"abc");
    EXPECT_EQ(WideStringFromChars("", -1), L"");
    EXPECT_EQ(WideStringToNarrow(L"Misc\\Config.VKS"), "Misc\\Config.VKS");
    EXPECT_EQ(WideRangeToNarrow(L"abcdef" + 2, 3), "cde");
    WideString assigned = L"old";
    WideStringFromText(assigned, "new");
    EXPECT_EQ(assigned, L"new");
}

TEST(WideStringConvert, ReadsNumbersFromAnOffset)
{
    struct Case {
        const wchar_t* text;
        int32_t offset;
        int32_t integer;
        float real;
    };
    for (const Case& c : std::initializer_list<Case>{
             {L"T 2.5", 1, 2, 2.5f},
             {L"  -12x", 0, -12, -12.0f},
             {L"abc", 0, 0, 0.0f},
             {L"", 0, 0, 0.0f},
             {L"12", 7, 0, 0.0f}}) {
        EXPECT_EQ(WideStringToInt(c.text, c.offset), c.integer) << c.text;
        EXPECT_FLOAT_EQ(WideStringToFloat(c.text, c.offset), c.real) << c.text;
    }
}

TEST(WideStringCompare, OrdersByCodeUnits)
{
    EXPECT_TRUE(WideStringLess(L"AB", L"ABC"));
    EXPECT_FALSE(WideStringLess(L"B", L"AB"));
    EXPECT_TRUE(WideStringEquals(L"a", L"a"));
    EXPECT_TRUE(WideStringDiffers(L"a", L"A"));
    EXPECT_TRUE(WideStringEndsWith(L"abc", L""));
    EXPECT_TRUE(WideStringEndsWith(L"File.DCL", L".DCL"));
    EXPECT_FALSE(WideStringStartsWith(L"ab", L"abc"));
    EXPECT_TRUE(WideStringStartsWith(L"ab", L""));
}

TEST(WideStringSearch, CountsOccurrencesFromEitherEnd)
{
    const WideString path = L"Misc\\Sub\\File.DCL";
    struct Case {
        int32_t n;
        int32_t last;
        int32_t first;
    };
    for (const Case& c : std::initializer_list<Case>{{1, 8, 4}, {2, 4, 8}, {3, -1, 17}, {0, -1, 17}}) {
        EXPECT_EQ(WideStringFindLastChar(path, L'\\', c.n), c.last) << c.n;
        EXPECT_EQ(WideStringFindChar(path, L'\\', c.n), c.first) << c.n;
    }
    EXPECT_EQ(WideStringFindChar(L"abcde", L'z', 1), 5);

    EXPECT_EQ(WideStringFind(L"abab", L"ab", 2), 2);
    EXPECT_EQ(WideStringFind(L"abab", L"ab", 3), 4);
    EXPECT_EQ(WideStringFind(L"", L"ab", 1), 0);
    EXPECT_EQ(WideStringFind(L"abc", L"", 2), 1);
    EXPECT_EQ(WideStringFindLast(L"abab", L"ab", 1), 2);
    EXPECT_EQ(WideStringFindLast(L"abab", L"ab", 2), 0);
    EXPECT_EQ(WideStringFindLast(L"abab", L"abc", 1), -1);
    EXPECT_EQ(WideStringFindLast(L"", L"a", 1), -1);
}

TEST(WideStringCut, ClipsToTheSource)
{
    EXPECT_EQ(WideStringSubstr(L"abcdef", 4, 10), L"ef");
    EXPECT_EQ(WideStringSubstr(L"abc", 5, 1), L"");
    EXPECT_EQ(WideStringSubstr(L"abc", 1, 1), L"b");
    EXPECT_EQ(WideStringTail(L"abc", 1), L"bc");
    EXPECT_EQ(WideStringTail(L"abc", 3), L"");

    const WideString padded(L"  a b \0\0", 8);
    EXPECT_EQ(WideStringTrim(padded), L"a b");
    EXPECT_EQ(WideStringTrimLeft(padded), WideString(L"a b \0\0", 6));
    EXPECT_EQ(WideStringTrimRight(padded), L"  a b");
    EXPECT_EQ(WideStringTrim(L"\ta\t"), L"\ta\t");

    WideString text(L"a\u00e9z");
    WideStringToUpper(text);
    EXPECT_EQ(text, L"A\u00e9Z");

    WideString sized(8, L'\0');
    sized[0] = L'h';
    sized[1] = L'i';
    EXPECT_EQ(WideStringTextLength(sized), 2);
}
