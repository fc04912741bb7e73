#pragma once
// A run of vertices, indices or primitives: the first and how many.

#include <cstdint>

struct ElementRange {
    int32_t start;
    int32_t count;
};
