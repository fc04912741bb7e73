#include "game/weapons/SkidTrail.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

// Keeps the storage a trail writes into, and fails on any write outside it.
class StorageWriter : public SkidWriter {
public:
    void WriteVertices(int32_t first, const TexturedVertex (&written)[2]) override
    {
        ASSERT_GE(first, 0);
        ASSERT_LE(first + 2, SkidTrail::kVertexCapacity);
        vertices[first] = written[0];
        vertices[first + 1] = written[1];
    }
    void WriteIndices(int32_t first, const uint32_t (&written)[6]) override
    {
        ASSERT_GE(first, 0);
        ASSERT_LE(first + 6, SkidTrail::kIndexCapacity);
        for (int32_t i = 0; i < 6; ++i) {
            indices[first + i] = written[i];
        }
        ++quadWrites;
    }

    std::array<TexturedVertex, SkidTrail::kVertexCapacity> vertices{};
    std::array<uint32_t, SkidTrail::kIndexCapacity> indices{};
    int32_t quadWrites = 0;
};

constexpr Vec3 kAcross{0.0f, 0.0f, 1.0f};

// A trail and its storage, with points laid along +x, one unit apart.
class SkidTrailTest : public testing::Test {
protected:
    void Point() { trail.AddPoint({static_cast<float>(x++), 0.0f, 0.0f}, kAcross, storage); }
    void Points(int32_t count)
    {
        for (int32_t i = 0; i < count; ++i) {
            Point();
        }
    }
    void Strip(int32_t points)
    {
        trail.Break();
        Points(points);
    }

    SkidTrail trail;
    StorageWriter storage;
    int32_t x = 0;
};

void ExpectSegment(const SkidSegment& segment, std::array<int32_t, 4> ranges, float life)
{
    EXPECT_EQ(segment.firstVertex, ranges[0]);
    EXPECT_EQ(segment.vertexCount, ranges[1]);
    EXPECT_EQ(segment.firstIndex, ranges[2]);
    EXPECT_EQ(segment.indexCount, ranges[3]);
    EXPECT_FLOAT_EQ(segment.life, life);
}

} // namespace

TEST_F(SkidTrailTest, TheFirstPointWritesTheBandEdgesAndTheSecondAQuad)
{
    trail.AddPoint({10.0f, 1.0f, 0.0f}, kAcross, storage);
    ASSERT_EQ(trail.GetSegments().size(), 1u);
    ExpectSegment(trail.GetSegments()[0], {0, 0, 0, 0}, SkidTrail::kLife);
    EXPECT_EQ(storage.quadWrites, 0);
    const TexturedVertex& a = storage.vertices[0];
    const TexturedVertex& b = storage.vertices[1];
    EXPECT_EQ((std::array<float, 5>{a.x, a.y, a.z, a.u, a.v}), (std::array<float, 5>{10.0f, 1.0f, -2.75f, 0.0f, 0.0f}));
    EXPECT_EQ((std::array<float, 5>{b.x, b.y, b.z, b.u, b.v}), (std::array<float, 5>{10.0f, 1.0f, 2.75f, 1.0f, 0.0f}));

    trail.AddPoint({30.0f, 1.0f, 0.0f}, kAcross, storage);
    ExpectSegment(trail.GetSegments()[0], {0, 4, 0, 6}, SkidTrail::kLife);
    EXPECT_EQ((std::vector<uint32_t>(storage.indices.begin(), storage.indices.begin() + 6)),
              (std::vector<uint32_t>{0, 2, 1, 1, 2, 3}));
    // v grows by 0.1 per unit along the strip.
    EXPECT_FLOAT_EQ(storage.vertices[2].v, 2.0f);
    EXPECT_FLOAT_EQ(storage.vertices[3].v, 2.0f);
    EXPECT_EQ(trail.GetVertexPosition(), 4);
    EXPECT_EQ(trail.GetIndexPosition(), 6);
}

TEST_F(SkidTrailTest, ABrokenStripStartsANewSegmentAndTextureAgain)
{
    Points(3);
    trail.Break();
    Points(2);
    ASSERT_EQ(trail.GetSegments().size(), 2u);
    ExpectSegment(trail.GetSegments()[0], {0, 6, 0, 12}, SkidTrail::kLife);
    ExpectSegment(trail.GetSegments()[1], {6, 4, 12, 6}, SkidTrail::kLife);
    EXPECT_FLOAT_EQ(storage.vertices[6].v, 0.0f);
    EXPECT_FLOAT_EQ(storage.vertices[8].v, 0.1f);
}

TEST_F(SkidTrailTest, AfterTheLastQuadTheStripGoesOnAtTheStartAndOlderSegmentsGoWhenReached)
{
    Strip(11);    // 10 quads: vertices 0 to 21, indices 0 to 59
    Strip(247);   // 246 quads fill the index storage
    // The last point was written again at the start, carrying the texture on.
    EXPECT_EQ(trail.GetVertexPosition(), 2);
    EXPECT_EQ(trail.GetIndexPosition(), 0);
    EXPECT_TRUE(trail.HasPreviousPoint());
    EXPECT_FLOAT_EQ(storage.vertices[0].v, storage.vertices[515].v);
    // Its two vertices landed in the first strip's storage, which went.
    ASSERT_EQ(trail.GetSegments().size(), 2u);
    ExpectSegment(trail.GetSegments()[0], {22, 494, 60, 1476}, SkidTrail::kLife);
    ExpectSegment(trail.GetSegments()[1], {0, 0, 0, 0}, SkidTrail::kLife);

    // The second strip stays until the writing reaches its storage.
    Points(9);   // vertices up to 19, indices up to 53
    EXPECT_EQ(trail.GetSegments().size(), 2u);
    Point();     // indices 54 to 59, vertices 20 and 21
    EXPECT_EQ(trail.GetSegments().size(), 2u);
    Point();     // indices 60 to 65: the second strip's first quad
    ASSERT_EQ(trail.GetSegments().size(), 1u);
    ExpectSegment(trail.GetSegments()[0], {0, 24, 0, 66}, SkidTrail::kLife);
}

TEST_F(SkidTrailTest, PointsWithoutQuadsWrapAtTheEndOfTheVertexStorage)
{
    // Each single point takes two vertices and no index.
    for (int32_t strip = 0; strip < SkidTrail::kVertexCapacity / 2; ++strip) {
        Strip(1);
    }
    EXPECT_EQ(trail.GetVertexPosition(), 2);
    EXPECT_EQ(trail.GetIndexPosition(), 0);
    EXPECT_EQ(storage.quadWrites, 0);
    Point();
    EXPECT_EQ(trail.GetVertexPosition(), 4);
    EXPECT_EQ(trail.GetIndexPosition(), 6);
}

TEST_F(SkidTrailTest, SegmentsAgeEveryStepAndGoWhenTheirLifeIsOver)
{
    Strip(2);
    trail.Age(10.0f);
    Strip(2);
    trail.Age(10.0f);
    Strip(2);
    ASSERT_EQ(trail.GetSegments().size(), 3u);
    EXPECT_FLOAT_EQ(trail.GetSegments()[0].life, 20.0f);
    EXPECT_FLOAT_EQ(trail.GetSegments()[1].life, 30.0f);
    trail.Age(5.0f);
    // A new point refreshes only its own strip.
    Point();
    EXPECT_FLOAT_EQ(trail.GetSegments()[0].life, 15.0f);
    EXPECT_FLOAT_EQ(trail.GetSegments()[2].life, SkidTrail::kLife);

    // The two older ones end in the same step, and only they.
    trail.Age(25.0f);
    ASSERT_EQ(trail.GetSegments().size(), 1u);
    EXPECT_FLOAT_EQ(trail.GetSegments()[0].life, 15.0f);
}

TEST_F(SkidTrailTest, AStripWhoseSegmentEndedWhileHeldStartsAgain)
{
    Strip(2);
    trail.Age(SkidTrail::kLife);
    EXPECT_TRUE(trail.GetSegments().empty());
    EXPECT_FALSE(trail.HasPreviousPoint());
    Point();
    ASSERT_EQ(trail.GetSegments().size(), 1u);
    ExpectSegment(trail.GetSegments()[0], {4, 0, 6, 0}, SkidTrail::kLife);
    Point();
    ExpectSegment(trail.GetSegments()[0], {4, 4, 6, 6}, SkidTrail::kLife);
}
