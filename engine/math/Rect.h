#pragma once
// An axis-aligned rectangle: min inclusive, max exclusive, so rectangles that
// share an edge never both contain a point on it.

#include "engine/math/Vec2.h"

struct Rect {
    Vec2 min;
    Vec2 max;

    Rect() = default;
    Rect(const Vec2& min, const Vec2& max) : min(min), max(max) {}

    bool Contains(const Vec2& p) const { return min.x <= p.x && p.x < max.x && min.y <= p.y && p.y < max.y; }
};
