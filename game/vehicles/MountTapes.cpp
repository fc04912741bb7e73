#include "game/vehicles/MountTapes.h"

#include <cwctype>

Vec3 TapeDirection(const Vec3& from, const Vec3& to)
{
    Vec3 direction = to - from;
    direction.Normalize();
    return direction;
}

int32_t LeadingNumber(const WideString& text, size_t offset, int32_t limit)
{
    int32_t number = 0;
    for (size_t i = offset; i < text.size() && std::iswdigit(text[i]) && number <= limit; ++i) {
        number = number * 10 + (text[i] - L'0');
    }
    return number;
}
