#include "engine/files/WideString.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>

WideString WideStringFromChars(const char* text, int32_t length)
{
    if (length < 0) {
        length = static_cast<int32_t>(std::strlen(text));
    }
    if (length == 0) {
        return WideString();
    }
    // The ANSI code page is single-byte: one code unit per byte.
    WideString result(length, L'\0');
    int32_t written = MultiByteToWideChar(CP_ACP, 0, text, length, result.data(), length);
    result.resize(std::max(written, 0));
    return result;
}

void WideStringFromText(WideString& result, const char* text)
{
    result = WideStringFromChars(text, -1);
}

std::string WideRangeToNarrow(const wchar_t* begin, int32_t count)
{
    if (count <= 0) {
        return std::string();
    }
    int32_t size = WideCharToMultiByte(CP_ACP, 0, begin, count, nullptr, 0, nullptr, nullptr);
    std::string result(std::max(size, 0), '\0');
    WideCharToMultiByte(CP_ACP, 0, begin, count, result.data(), size, nullptr, nullptr);
    return result;
}

std::string WideStringToNarrow(const WideString& text)
{
    return WideRangeToNarrow(text.data(), static_cast<int32_t>(text.size()));
}

int32_t WideStringToInt(const WideString& text, int32_t offset)
{
    if (offset < 0 || offset >= static_cast<int32_t>(text.size())) {
        return 0;
    }
    return _wtoi(text.c_str() + offset);
}

float WideStringToFloat(const WideString& text, int32_t offset)
{
    if (offset < 0 || offset >= static_cast<int32_t>(text.size())) {
        return 0.0f;
    }
    const wchar_t* start = text.c_str() + offset;
    while (iswspace(*start)) {
        ++start;
    }
    return static_cast<float>(std::atof(WideRangeToNarrow(start, static_cast<int32_t>(std::wcslen(start))).c_str()));
}

bool WideStringEquals(const WideString& a, const WideString& b)
{
    return a == b;
}

bool WideStringDiffers(const WideString& a, const WideString& b)
{
    return a != b;
}

bool WideStringLess(const WideString& a, const WideString& b)
{
    return a < b;
}

bool WideStringStartsWith(const WideString& text, const WideString& prefix)
{
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

bool WideStringEndsWith(const WideString& text, const WideString& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

int32_t WideStringFindChar(const WideString& text, wchar_t c, int32_t n)
{
    const int32_t length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; n > 0 && i < length; ++i) {
        if (text[i] == c && --n == 0) {
            return i;
        }
    }
    return length;
}

int32_t WideStringFindLastChar(const WideString& text, wchar_t c, int32_t n)
{
    for (int32_t i = static_cast<int32_t>(text.size()) - 1; n > 0 && i >= 0; --i) {
        if (text[i] == c && --n == 0) {
            return i;
        }
    }
    return -1;
}

int32_t WideStringFind(const WideString& text, const WideString& sub, int32_t n)
{
    const int32_t length = static_cast<int32_t>(text.size());
    const int32_t last = length - static_cast<int32_t>(sub.size());
    for (int32_t i = 0; n > 0 && i <= last && length > 0; ++i) {
        if (text.compare(i, sub.size(), sub) == 0 && --n == 0) {
            return i;
        }
    }
    return length;
}

int32_t WideStringFindLast(const WideString& text, const WideString& sub, int32_t n)
{
    if (text.empty()) {
        return -1;
    }
    for (int32_t i = static_cast<int32_t>(text.size()) - static_cast<int32_t>(sub.size()); n > 0 && i >= 0; --i) {
        if (text.compare(i, sub.size(), sub) == 0 && --n == 0) {
            return i;
        }
    }
    return -1;
}

int32_t WideStringTextLength(const WideString& text)
{
    return static_cast<int32_t>(std::wcslen(text.c_str()));
}

WideString WideStringSubstr(const WideString& text, int32_t position, int32_t count)
{
    if (position < 0 || count <= 0 || position >= static_cast<int32_t>(text.size())) {
        return WideString();
    }
    return text.substr(position, count);
}

WideString WideStringTail(const WideString& text, int32_t position)
{
    if (position < 0 || position >= static_cast<int32_t>(text.size())) {
        return WideString();
    }
    return text.substr(position);
}

namespace {

bool IsTrimmed(wchar_t c)
{
    return c == L' ' || c == L'\0';
}

} // namespace

WideString WideStringTrimLeft(const WideString& text)
{
    auto first = std::find_if_not(text.begin(), text.end(), IsTrimmed);
    return WideString(first, text.end());
}

WideString WideStringTrimRight(const WideString& text)
{
    auto last = std::find_if_not(text.rbegin(), text.rend(), IsTrimmed).base();
    return WideString(text.begin(), last);
}

WideString WideStringTrim(const WideString& text)
{
    return WideStringTrimRight(WideStringTrimLeft(text));
}

void WideStringToUpper(WideString& text)
{
    for (wchar_t& c : text) {
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
    }
}

const WideString& FormatWideStringV(WideString& result, const wchar_t* format, va_list args)
{
    wchar_t buffer[kFormatBufferLength];
    // msvcrt's _vsnwprintf: "%s" is a wide string here. On overflow it answers
    // -1 without a terminator; the text that fitted is kept, cut to 1023.
    int written = _vsnwprintf(buffer, kFormatBufferLength - 1, format, args);
    buffer[kFormatBufferLength - 1] = L'\0';
    if (written < 0 || written >= kFormatBufferLength - 1) {
        result.assign(buffer, std::wcslen(buffer));
    } else {
        result.assign(buffer, written);
    }
    return result;
}

const WideString& FormatWideStringW(WideString& result, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatWideStringV(result, format, args);
    va_end(args);
    return result;
}

const WideString& FormatWideStringNarrowV(WideString& result, const char* format, va_list args)
{
    WideString wideFormat;
    WideStringFromText(wideFormat, format);
    return FormatWideStringV(result, wideFormat.c_str(), args);
}

const WideString& FormatWideString(WideString& result, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatWideStringNarrowV(result, format, args);
    va_end(args);
    return result;
}
