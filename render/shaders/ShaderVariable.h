#pragma once
// One named value a shader reads when drawing: a float held in place, or a
// pointer to data its owner keeps alive (a matrix, a colour, a texture). The
// change count grows with every set, so readers that saw it last time can
// skip the value without comparing bytes.

#include "engine/files/WideString.h"

#include <cstdint>

class ShaderVariableBlock;

struct ShaderVariable {
    WideString name;
    int32_t id = -1;
    int32_t kind = 0;   // 0: value.number holds the value; else value.pointer points at it
    int32_t changeCount = 0;
    union {
        float number;
        const void* pointer;
    } value{};
    uint32_t size = 0;   // bytes of valid data: 4 a float, 16 four floats, 64 a matrix; 0 until first set
    bool localOnly = false;
    ShaderVariableBlock* owner = nullptr;

    // Where the value's bytes are; null for a pointer never set.
    const void* Data() const { return kind == 0 ? static_cast<const void*>(&value.number) : value.pointer; }
};
