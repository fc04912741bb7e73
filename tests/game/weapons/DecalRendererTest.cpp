#include "game/weapons/DecalBatch.h"
#include "game/weapons/dcDecalRenderer.h"

#include <gtest/gtest.h>

namespace {

// A renderer without a device, over a ring of its own, with one batch.
class DecalRendering : public testing::Test {
protected:
    DecalRendering() { renderer.AddBatch(&holes); }

    int32_t Render(int32_t pass) { return renderer.Send(dcRender{nullptr, pass, 1 << pass, 0}); }

    DecalRing ring{Decal{}, 16};
    dcDecalRenderer renderer{nullptr, ring};
    DecalBatch holes;
};

} // namespace

TEST_F(DecalRendering, QuadsWaitForTheDecalPassWhichEmptiesTheFrame)
{
    const int32_t serial = ring.NextSerial();
    ring.Add(&holes);
    ring.Submit(serial);
    for (int32_t pass : {0, 2, 4, 31}) {
        EXPECT_EQ(Render(pass), 1);
        EXPECT_EQ(ring.GetFrameQuads().size(), 1u) << pass;
        EXPECT_EQ(holes.quads.size(), 1u) << pass;
    }
    Render(dcDecalRenderer::kDecalPass);
    EXPECT_TRUE(ring.GetFrameQuads().empty());
    EXPECT_TRUE(holes.quads.empty());
    // The ring decal itself stays, undrawn until submitted again.
    EXPECT_NE(ring.Find(serial), nullptr);
    Render(dcDecalRenderer::kDecalPass);
    EXPECT_TRUE(ring.GetFrameQuads().empty());
}

TEST_F(DecalRendering, AGameResetEndsEveryDecalOfTheRing)
{
    const int32_t serial = ring.NextSerial();
    ring.Add(&holes);
    EXPECT_EQ(renderer.Send(dcGameReset{dcGameReset::kEndOfGame}), 1);
    EXPECT_EQ(ring.Find(serial), nullptr);
    EXPECT_EQ(ring.NextSerial(), serial + 1 + 16);
}
