#pragma once
// One element of a vertex layout as Direct3D 9 describes it
// (D3DVERTEXELEMENT9); lists of them carry no end marker.

#include <cstdint>

struct VertexElement {
    uint16_t stream;
    uint16_t offset;
    uint8_t type;     // D3DDECLTYPE
    uint8_t method;   // D3DDECLMETHOD
    uint8_t usage;    // D3DDECLUSAGE
    uint8_t usageIndex;

    bool operator==(const VertexElement&) const = default;
};
