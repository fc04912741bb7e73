#pragma once
// Records that files hold or peers exchange byte for byte. A 32-bit and a
// 64-bit copy of the game read the same files and play together, so such a
// record has the same size on every build (no pointers, no size_t or long,
// no padding that differs between builds) and is whole as a copy of its
// bytes. Declared beside the record's definition:
//
//     struct dcCarInput {
//         DC_MESSAGE(dcCarInput)
//         float steering;
//         int32_t buttons;
//     };
//     DC_FIXED_LAYOUT(dcCarInput, 8);
//
// The typed network sends refuse a message type without this declaration.

#include <cstdint>
#include <type_traits>

#define DC_FIXED_LAYOUT(Record, bytes)                                                               \
    [[maybe_unused]] constexpr int32_t FixedLayoutBytes(const Record*)                               \
    {                                                                                                \
        return bytes;                                                                                \
    }                                                                                                \
    static_assert(std::is_trivially_copyable_v<Record>, #Record " must be whole as its bytes");      \
    static_assert(sizeof(Record) == (bytes), #Record " must keep its layout of " #bytes " bytes")

// Whether the record was declared with DC_FIXED_LAYOUT, in its own namespace.
template <class Record>
concept FixedLayoutRecord = requires(const Record* record) { FixedLayoutBytes(record); };
