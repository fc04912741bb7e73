#include "engine/core/CommandLineSplit.h"

#include <cmath>
#include <cwchar>

CommandLineParts SplitCommandLine(const WideString& line)
{
    const size_t blank = line.find(L' ');
    if (blank == WideString::npos) {
        return {line, WideString()};
    }
    return {line.substr(0, blank), line.substr(blank + 1)};
}

bool ApplyFlagArgument(const WideString& arguments, bool current)
{
    const WideString trimmed = WideStringTrimLeft(arguments);
    if (!trimmed.empty() && trimmed[0] == L'0') {
        return false;
    }
    if (!trimmed.empty() && trimmed[0] == L'1') {
        return true;
    }
    return !current;
}

std::optional<double> NumberArgument(const WideString& arguments)
{
    const WideString trimmed = WideStringTrimLeft(arguments);
    wchar_t* end = nullptr;
    const double number = std::wcstod(trimmed.c_str(), &end);
    if (end == trimmed.c_str() || std::isnan(number)) {
        return std::nullopt;
    }
    return number;
}
