#pragma once
// Argument texts a player might type or paste after any console command,
// each named for the case it stands for.

#include "engine/files/WideString.h"

#include <vector>

struct HostileArgument {
    const char* name;
    WideString text;
};

inline WideString Repeated(const WideString& piece, size_t length)
{
    WideString text;
    while (text.size() < length) {
        text += piece;
    }
    return text.substr(0, length);
}

inline const std::vector<HostileArgument>& HostileArguments()
{
    static const std::vector<HostileArgument> arguments{
        {"none", L""},
        {"blanks only", L"     "},
        {"5000 digits (SLEEPTIME hung the game)", Repeated(L"9", 5000)},
        {"5000 characters of words", Repeated(L"word 1 ", 5000)},
        {"huge number (SLEEPTIME hung the game)", L"99999999999"},
        {"below the 32-bit range", L"-2147483649"},
        {"minus one", L"-1"},
        {"zero", L"0"},
        {"beyond a float (T made the time scale infinite)", L"1e39"},
        {"nan", L"nan"},
        {"inf", L"inf"},
        {"minus inf", L"-inf"},
        {"letters", L"abc"},
        {"printf directives", L"%s%s%n"},
        {"colour codes", L"^1^9"},
        {"several words", L"1 0 three"},
        {"non-ASCII letters", L"\u00c4\u00df\u20ac\u6f22\u5b57"},
        {"a character beyond 16 bits", L"\U0001F600"},
        {"half a surrogate pair", WideString(1, static_cast<wchar_t>(0xD800))},
        {"control characters", WideString(L"\t1\r\n\x01\x1b\x7f", 7)},
        {"an embedded zero", WideString(L"1\0 2", 4)},
    };
    return arguments;
}
