#include "game/weapons/DecalRing.h"

#include <gtest/gtest.h>

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
