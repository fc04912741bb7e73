#pragma once
// The engine's text: 16-bit wide strings, converted to and from the ANSI code
// page only at the platform's file and socket boundary. Positions and lengths
// are counted in code units.

#include <cstdarg>
#include <cstdint>
#include <string>

using WideString = std::wstring;

// Conversions between 8-bit ANSI text and wide strings.
WideString WideStringFromChars(const char* text, int32_t length);   // length -1: up to the terminator
void WideStringFromText(WideString& result, const char* text);
std::string WideStringToNarrow(const WideString& text);
std::string WideRangeToNarrow(const wchar_t* begin, int32_t count);
int32_t WideStringToInt(const WideString& text, int32_t offset);
float WideStringToFloat(const WideString& text, int32_t offset);

// Comparisons on code units, no case folding.
bool WideStringEquals(const WideString& a, const WideString& b);
bool WideStringDiffers(const WideString& a, const WideString& b);
bool WideStringLess(const WideString& a, const WideString& b);
bool WideStringStartsWith(const WideString& text, const WideString& prefix);
bool WideStringEndsWith(const WideString& text, const WideString& suffix);

// Searches; n counts occurrences from 1. The forward searches answer the
// string's length and the backward ones -1 when there is no such occurrence.
int32_t WideStringFindChar(const WideString& text, wchar_t c, int32_t n);
int32_t WideStringFindLastChar(const WideString& text, wchar_t c, int32_t n);
int32_t WideStringFind(const WideString& text, const WideString& sub, int32_t n);
int32_t WideStringFindLast(const WideString& text, const WideString& sub, int32_t n);
int32_t WideStringTextLength(const WideString& text);

// Cuts: new strings, clipped to what the source holds.
WideString WideStringSubstr(const WideString& text, int32_t position, int32_t count);
WideString WideStringTail(const WideString& text, int32_t position);
WideString WideStringTrimLeft(const WideString& text);
WideString WideStringTrimRight(const WideString& text);
WideString WideStringTrim(const WideString& text);
void WideStringToUpper(WideString& text);

// printf-style formatting with the platform's wide directives: in the format,
// narrow or wide, "%s" takes a wide string. A result longer than the
// formatter's 1023 characters is cut to 1023.
constexpr int32_t kFormatBufferLength = 1024;
const WideString& FormatWideString(WideString& result, const char* format, ...);
const WideString& FormatWideStringNarrowV(WideString& result, const char* format, va_list args);
const WideString& FormatWideStringW(WideString& result, const wchar_t* format, ...);
const WideString& FormatWideStringV(WideString& result, const wchar_t* format, va_list args);
