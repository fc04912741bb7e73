#include "game/weapons/LensFlareLayout.h"

#include <cmath>

std::array<Vec2, kLensFlareElements> LensFlarePositions(Vec2 sun, int32_t width, int32_t height)
{
    const Vec2 centre{static_cast<float>(width / 2), static_cast<float>(height / 2)};
    const float halfX = std::trunc((centre.x - sun.x) / 2.0f);
    const float halfY = std::trunc((centre.y - sun.y) / 2.0f);
    return {{
        sun,
        {sun.x + halfX, sun.y + halfY},
        centre,
        {centre.x + halfX, centre.y + halfY},
        {static_cast<float>(width) - std::trunc(sun.x), static_cast<float>(height) - std::trunc(sun.y)},
    }};
}
