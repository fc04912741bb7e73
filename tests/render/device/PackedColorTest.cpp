#include "render/device/PackedColor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

TEST(PackedColor, ComponentsAreScaledAndTruncatedIntoAlphaRedGreenBlue)
{
    struct Case {
        Color color;
        uint32_t packed;
    };
    for (const Case& c : std::initializer_list<Case>{
             {{1.0f, 0.5f, 0.0f, 1.0f}, 0xFFFF7F00},
             {{0.0f, 0.0f, 0.0f, 0.0f}, 0x00000000},
             {{0.2f, 0.4f, 0.6f, 0.8f}, 0xCC336699},
             // Out of range: held at the ends instead of wrapping round.
             {{1.5f, -0.5f, 0.5f, 1.01f}, 0xFFFF007F},
             {{NAN, 1.0f, 1.0f, 1.0f}, 0xFF00FFFF}}) {
        EXPECT_EQ(PackColor(c.color), c.packed) << std::hex << c.packed;
    }
}
