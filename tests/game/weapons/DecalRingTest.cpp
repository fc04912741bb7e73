#include "game/weapons/DecalRing.h"

#include "game/weapons/DecalBatch.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

DecalBatch* const kHoles = reinterpret_cast<DecalBatch*>(0x1000);
DecalBatch* const kBlood = reinterpret_cast<DecalBatch*>(0x2000);

} // namespace

TEST(DecalRing, EverySlotStartsAsACopyOfTheDefault)
{
    Decal tinted;
    tinted.colour = {0.5f, 0.25f, 0.0f, 1.0f};
    DecalRing ring(tinted, 3);
    for (int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(ring.Add(kHoles).colour.g, 0.25f);
    }
}

TEST(DecalRing, ASerialLivesUntilCapacityNewerDecalsTakeItsSlot)
{
    DecalRing ring(Decal{}, 4096);
    const int32_t first = ring.NextSerial();
    ring.Add(kHoles).colour.r = 0.5f;
    const int32_t second = ring.NextSerial();
    ring.Add(kBlood);
    ASSERT_NE(ring.Find(first), nullptr);
    EXPECT_EQ(ring.Find(first)->batch, kHoles);

    for (int32_t i = 0; i < 4095; ++i) {
        ring.Add(kBlood);
    }
    EXPECT_EQ(ring.Find(first), nullptr);
    EXPECT_NE(ring.Find(second), nullptr);   // exactly capacity below the counter
    EXPECT_EQ(ring.NextSerial() - second, 4096);
    // The decal that took the first one's slot keeps its fields until written.
    const Decal* reused = ring.Find(first + 4096);
    ASSERT_NE(reused, nullptr);
    EXPECT_EQ(reused->batch, kBlood);
    EXPECT_EQ(reused->colour.r, 0.5f);
}

TEST(DecalRing, SerialsNeverHandedOutAreNotLive)
{
    DecalRing ring(Decal{}, 8);
    ring.Add(kHoles);
    for (int32_t serial : {-1, 1, 8, 1 << 30}) {
        EXPECT_EQ(ring.Find(serial), nullptr) << serial;
    }
}

TEST(DecalRing, ClearingEndsEverySerialAndSkipsAWholeRing)
{
    DecalRing ring(Decal{}, 4096);
    ring.Add(kHoles);
    ring.Add(kBlood);
    const int32_t before = ring.NextSerial();
    ring.Clear();
    EXPECT_EQ(ring.Find(0), nullptr);
    EXPECT_EQ(ring.Find(1), nullptr);
    EXPECT_EQ(ring.NextSerial(), before + 4096);
}

TEST(DecalRing, ALiveSerialIsQueuedForTheFrameEachTimeItIsSubmitted)
{
    DecalRing ring(Decal{}, 4);
    DecalBatch holes;
    const int32_t serial = ring.NextSerial();
    Decal& hole = ring.Add(&holes);
    hole.corners[2] = {1.0f, 2.0f, 3.0f};
    hole.texCoords[3] = {0.5f, 0.25f};
    hole.colour.a = 0.5f;
    EXPECT_TRUE(ring.Submit(serial));
    EXPECT_TRUE(ring.Submit(serial));   // drawn twice
    ASSERT_EQ(ring.GetFrameQuads().size(), 2u);
    EXPECT_EQ(holes.quads, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(ring.GetFrameQuads()[1].corners[2].z, 3.0f);
    EXPECT_EQ(ring.GetFrameQuads()[1].texCoords[3].v, 0.25f);
    EXPECT_EQ(ring.GetFrameQuads()[1].colour.a, 0.5f);

    for (int32_t i = 0; i < 4; ++i) {
        ring.Add(&holes);
    }
    EXPECT_FALSE(ring.Submit(serial));   // overwritten: its holder forgets it
    EXPECT_EQ(ring.GetFrameQuads().size(), 2u);
}

// A frame holds as many quads as the decal renderer can draw; the rest of
// the frame's submissions are dropped, and so is a decal of no kind.
TEST(DecalRing, SubmissionsPastTheFramesCapacityAreDropped)
{
    DecalRing ring(Decal{}, 4);
    DecalBatch glows;
    Decal glow;
    glow.batch = &glows;
    for (int32_t i = 0; i < DecalRing::kFrameQuadCapacity; ++i) {
        ASSERT_TRUE(ring.SubmitQuad(glow)) << i;
    }
    EXPECT_FALSE(ring.SubmitQuad(glow));
    EXPECT_EQ(static_cast<int32_t>(ring.GetFrameQuads().size()), DecalRing::kFrameQuadCapacity);
    EXPECT_EQ(static_cast<int32_t>(glows.quads.size()), DecalRing::kFrameQuadCapacity);

    ring.ClearFrame();
    EXPECT_FALSE(ring.SubmitQuad(Decal{}));
    const int32_t kindless = ring.NextSerial();
    ring.Add(nullptr);
    EXPECT_TRUE(ring.Submit(kindless));   // live, though nothing can draw it
    EXPECT_TRUE(ring.GetFrameQuads().empty());
}
