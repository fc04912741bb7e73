#pragma once
// A colour as the game passes it around: four floats, nominally 0 to 1.

struct Color {
    float r;
    float g;
    float b;
    float a;
};
