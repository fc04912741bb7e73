#pragma once
// One named value a shader reads when drawing: a float held in place, or a
// pointer to data its owner keeps alive (a matrix, a colour, a texture). The
// change count grows with every set, so readers that saw it last time can
// skip the value without comparing bytes.

#include "engine/files/WideString.h"

#include <cstdint>

class ShaderVariableBlock;

// What a variable's value word holds; readers only tell kValue from the rest.
enum ShaderVariableKind : int32_t {
    kShaderValue = 0,      // the float itself
    kShaderMatrix = 3,     // 16 floats, laid out as shader constants take them
    kShaderTexture = 4,    // a TextureResource
    kShaderData = 5,       // any other bytes (mesh material parameters)
};

struct ShaderVariable {
    static constexpr uint32_t kSizeMask = 0x3FFFFFFF;   // sizes are kept in 30 bits

    WideString name;
    int32_t id = -1;
    int32_t kind = 0;   // 0: value.number holds the value; else value.pointer points at it
    int32_t changeCount = 0;
    union {
        float number;
        const void* pointer;
    } value{};
    uint32_t size = 0;   // bytes of valid data: 4 a float, 16 four floats, 64 a matrix; 0 until first set
    bool localOnly = false;   // setters called on a child block never reach it
    // Set by SetTexture alone: a name a texture stage samples may hold plain
    // bytes (a mesh file can give any parameter any kind), and those must
    // never be taken for a texture object.
    bool holdsTexture = false;
    ShaderVariableBlock* owner = nullptr;

    // Where the value's bytes are; null for a pointer never set.
    const void* Data() const { return kind == 0 ? static_cast<const void*>(&value.number) : value.pointer; }
};
