#include "render/shaders/DclsNames.h"

#include <cctype>
#include <cstring>
#include <string.h>

namespace {

bool BeginsWithIgnoringCase(const char* text, const char* prefix)
{
    return _strnicmp(text, prefix, std::strlen(prefix)) == 0;
}

} // namespace

bool DclsElementIs(const char* element, const char* keyword)
{
    return BeginsWithIgnoringCase(element, keyword);
}

bool DclsAttributeIs(const char* attribute, const char* keyword)
{
    return BeginsWithIgnoringCase(keyword, attribute);
}

bool ContainsIgnoringCase(const char* text, const char* part)
{
    for (const char* start = text; *start; ++start) {
        if (BeginsWithIgnoringCase(start, part)) {
            return true;
        }
    }
    return false;
}

int32_t LongestLeadingName(const char* text, std::initializer_list<DclsValueName> names)
{
    int32_t value = kUnknownDclsValue;
    size_t longest = 0;
    for (const DclsValueName& candidate : names) {
        const size_t length = std::strlen(candidate.name);
        if (length > longest && BeginsWithIgnoringCase(text, candidate.name)) {
            value = candidate.value;
            longest = length;
        }
    }
    return value;
}

int32_t FirstLeadingName(const char* text, std::initializer_list<DclsValueName> names)
{
    for (const DclsValueName& candidate : names) {
        if (BeginsWithIgnoringCase(text, candidate.name)) {
            return candidate.value;
        }
    }
    return kUnknownDclsValue;
}
