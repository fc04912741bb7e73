#pragma once
// A point on the screen or in a texture.

struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;
};
