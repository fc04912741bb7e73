#include "game/weapons/dcCarShadow.h"

#include <gtest/gtest.h>

namespace {

const std::array<Vec3, 4> kQuad{Vec3{0.0f, 1.0f, 0.0f}, Vec3{0.0f, 1.0f, 10.0f}, Vec3{10.0f, 1.0f, 0.0f},
                                Vec3{10.0f, 1.0f, 10.0f}};

void AddQuads(dcCarShadow& shadow, int32_t count)
{
    for (int32_t i = 0; i < count; ++i) {
        shadow.AddQuad(kQuad);
    }
}

} // namespace

// Without a device the shadow keeps its count as it would with one.
TEST(CarShadow, AFrameCountsItsQuadsUntilTheNextFixedStep)
{
    dcCarShadow shadow(nullptr, nullptr);
    AddQuads(shadow, 3);
    EXPECT_EQ(shadow.GetQuadCount(), 3);
    for (int32_t pass : {1, 3, 4, 31}) {
        EXPECT_EQ(shadow.Send(dcRender{nullptr, pass, 1 << pass, 0}), 1);
        EXPECT_EQ(shadow.GetQuadCount(), 3) << pass;
    }
    EXPECT_EQ(shadow.Send(dcUpdate{1.0f / 75.0f}), 1);
    EXPECT_EQ(shadow.GetQuadCount(), 0);
    // The next frame's first quad opens a new window.
    AddQuads(shadow, 2);
    EXPECT_EQ(shadow.GetQuadCount(), 2);
    shadow.Send(dcRender{nullptr, 3, 1 << 3, 0});
    AddQuads(shadow, 1);
    EXPECT_EQ(shadow.GetQuadCount(), 1);
}

TEST(CarShadow, QuadsBeyondTheWindowAreDroppedForThatFrame)
{
    dcCarShadow shadow(nullptr, nullptr);
    AddQuads(shadow, dcCarShadow::kWindowQuads + 10);
    EXPECT_EQ(shadow.GetQuadCount(), dcCarShadow::kWindowQuads);
    shadow.Send(dcRender{nullptr, 3, 1 << 3, 0});
    AddQuads(shadow, 1);
    EXPECT_EQ(shadow.GetQuadCount(), 1);
}
