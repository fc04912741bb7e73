#include "engine/files/ArchiveList.h"
#include "engine/files/FolderArchive.h"
#include "game/world/ShadowMap.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

// A cache of the given size: a camera whose values count up from 1, then
// texels that tell their place (y x 2048 + x) as long as the size allows.
void WriteCache(int32_t size)
{
    std::string bytes(static_cast<size_t>(size), '\0');
    for (int32_t i = 0; i < 33 && (i + 1) * 4 <= size; ++i) {
        const float value = static_cast<float>(i + 1);
        std::memcpy(&bytes[static_cast<size_t>(i) * 4], &value, 4);
    }
    for (int32_t texel = 0; kShadowCacheHeaderBytes + (texel + 1) * 4 <= size; ++texel) {
        const float value = static_cast<float>(texel);
        std::memcpy(&bytes[static_cast<size_t>(kShadowCacheHeaderBytes + texel * 4)], &value, 4);
    }
    std::filesystem::create_directories("Misc");
    std::ofstream("Misc\\Shadow.dcShadow", std::ios::binary) << bytes;
}

class ShadowCacheTest : public testing::Test {
protected:
    ShadowCacheTest()
    {
        ArchiveList::Instance().UnmountAll();
        ArchiveList::Instance().Mount(std::make_unique<FolderArchive>());
    }
    ~ShadowCacheTest() override { ArchiveList::Instance().UnmountAll(); }

    ScratchFolder scratch;
};

} // namespace

TEST_F(ShadowCacheTest, AWholeCacheGivesItsCameraAndTexelsRowByRow)
{
    WriteCache(kShadowCacheBytes);
    const std::unique_ptr<Stream> file = OpenFile(kShadowCacheFile);
    ShadowCamera camera;
    ASSERT_TRUE(ReadShadowCacheHeader(*file, camera));
    EXPECT_EQ(camera.view.m[0][0], 1.0f);
    EXPECT_EQ(camera.view.m[3][3], 16.0f);
    EXPECT_EQ(camera.projection.m[0][0], 17.0f);
    EXPECT_EQ(camera.farDistance, 33.0f);

    // Rows land pitch bytes apart, as in a locked texture wider than the map.
    constexpr int32_t kPitch = kShadowRowBytes + 64;
    std::vector<float> texels(static_cast<size_t>(kPitch / 4) * kShadowMapEdge, -1.0f);
    ReadShadowCacheTexels(*file, texels.data(), kPitch);
    for (int32_t y : {0, 1, 1000, kShadowMapEdge - 1}) {
        for (int32_t x : {0, 7, kShadowMapEdge - 1}) {
            EXPECT_EQ(texels[static_cast<size_t>(y) * (kPitch / 4) + x], static_cast<float>(y * kShadowMapEdge + x))
                << x << ", " << y;
        }
        EXPECT_EQ(texels[static_cast<size_t>(y) * (kPitch / 4) + kShadowMapEdge], -1.0f) << "padding of row " << y;
    }
}

TEST_F(ShadowCacheTest, ACacheOfAnotherSizeCountsAsAbsent)
{
    for (int32_t size : {0, kShadowCacheHeaderBytes, kShadowCacheBytes - 1, kShadowCacheBytes + 1}) {
        WriteCache(size);
        const std::unique_ptr<Stream> file = OpenFile(kShadowCacheFile);
        ScopedCapture log(kLogError);
        ShadowCamera camera;
        EXPECT_FALSE(ReadShadowCacheHeader(*file, camera)) << size;
        EXPECT_EQ(camera.farDistance, 1000.0f) << size;
        EXPECT_EQ(file->Tell(), 0) << "nothing read of " << size;
        ASSERT_EQ(log->lines.size(), 1u) << size;
        EXPECT_TRUE(log->Contains(L"Misc\\Shadow.dcShadow")) << size;
    }
}

TEST_F(ShadowCacheTest, WithoutADeviceTheMapWaitsToBeGenerated)
{
    WriteCache(kShadowCacheBytes);
    ShadowMap map;
    map.Create(nullptr);
    EXPECT_TRUE(map.NeedsGeneration());
    EXPECT_EQ(map.GetTexture(), nullptr);
}
