#include "engine/core/ClassIdentity.h"
#include "engine/core/EngineMessages.h"

#include <gtest/gtest.h>

TEST(HashClassName, MatchesKnownIdentities)
{
    struct Case {
        const char* name;
        int32_t identity;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"abc", 739719567},          // seed 0
             {"dcSceneAdd", 145215967},   // seeds 0 and 1 are not positive
             {"", 1}}) {                  // seed 0 gives 0
        EXPECT_EQ(HashClassName(c.name), c.identity) << c.name;
    }
}

TEST(HashClassName, RetriesSeedsUntilPositive)
{
    // Seed 8388608 is the first that makes a single "a" positive.
    EXPECT_EQ(HashClassName("a"), static_cast<int32_t>(Crc32XorLength(8388608u, "a", 1)));
    EXPECT_LT(static_cast<int32_t>(Crc32XorLength(8388607u, "a", 1)), 1);
}

TEST(Crc32XorLength, IsTheUnreflectedCrcWithTheLengthMixedIn)
{
    // CRC-32/MPEG-2 without its initial inversion: "123456789" from 0.
    EXPECT_EQ(Crc32XorLength(0, "123456789", 9), 0x89A1897Fu ^ 9u);
    EXPECT_EQ(Crc32XorLength(7, "", 0), 7u);
    EXPECT_EQ(Crc32XorLength(7, "x", -2), 7u ^ static_cast<uint32_t>(-2));
}

TEST(ClassIdentity, KeepsTheNameAndItsHash)
{
    // Records are made by the compiler, so they exist before any start-up code.
    static_assert(ClassIdentity(L"dcSceneAdd", "dcSceneAdd").Id() == 145215967);
    const ClassIdentity& add = dcSceneAdd::Identity();
    EXPECT_EQ(add.Name(), L"dcSceneAdd");
    EXPECT_EQ(add.Id(), 145215967);
    EXPECT_EQ(&add, &dcSceneAdd::Identity());
    EXPECT_NE(dcSceneDel::Identity().Id(), add.Id());
}
