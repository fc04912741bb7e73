#include "game/weapons/DecalBatch.h"
#include "game/weapons/DecalRing.h"
#include "game/world/dcWorldGeometry.h"
#include "render/models/Camera.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace {

// Decals laid on the city around a camera at the origin looking along -z,
// whose far plane puts its second detail distance at 1000.
class WorldDecals : public testing::Test {
protected:
    WorldDecals()
    {
        camera.SetFarPlane(3000.0f);
        camera.Update();
    }

    // A small decal centred on the point, its serial in the city's list.
    int32_t Lay(const Vec3& at)
    {
        const int32_t serial = ring.NextSerial();
        Decal& decal = ring.Add(&holes);
        for (Vec3& corner : decal.corners) {
            corner = at;
        }
        decal.corners[0].x -= 1.0f;
        decal.corners[2].x += 1.0f;
        geometry.Decals().push_back(serial);
        return serial;
    }

    DecalRing ring{Decal{}, 8};
    DecalBatch holes;
    dcWorldGeometry geometry;
    Camera camera;
};

} // namespace

TEST_F(WorldDecals, OnlyDecalsNearAndInViewAreQueued)
{
    struct Case {
        Vec3 at;
        bool queued;
    };
    const std::initializer_list<Case> cases = {
        {{0, 0, -100}, true},
        {{0, 0, -1009}, true},     // within the detail distance + 10
        {{0, 0, -1011}, false},
        {{0, 0, 100}, false},      // behind the camera
        {{0, 0, 5}, true},         // behind, but within 10 of the near plane
        {{900, 0, -100}, false},   // far off to the side
    };
    for (const Case& c : cases) {
        Lay(c.at);
    }
    geometry.CullDecals(camera, ring);
    std::vector<float> queued;
    for (const DecalQuad& quad : ring.GetFrameQuads()) {
        queued.push_back(quad.corners[1].z);
    }
    std::vector<float> expected;
    for (const Case& c : cases) {
        if (c.queued) {
            expected.push_back(c.at.z);
        }
    }
    EXPECT_EQ(queued, expected);
    EXPECT_EQ(geometry.Decals().size(), cases.size());   // out of view is not forgotten
}

TEST_F(WorldDecals, OverwrittenDecalsLeaveTheCitysListAtTheNextCull)
{
    const int32_t oldest = Lay({0, 0, -100});
    const int32_t older = Lay({0, 0, -200});
    const int32_t kept = Lay({0, 0, -300});
    for (int32_t i = 0; i < 7; ++i) {
        ring.Add(&holes);   // newer decals elsewhere push the first two out
    }
    geometry.CullDecals(camera, ring);
    EXPECT_EQ(geometry.Decals(), (std::vector<int32_t>{kept}));
    EXPECT_EQ(ring.GetFrameQuads().size(), 1u);
    EXPECT_EQ(ring.Find(oldest), nullptr);
    EXPECT_EQ(ring.Find(older), nullptr);
}
