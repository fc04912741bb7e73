#include "game/world/VisibilityCompile.h"
#include "game/world/VisibilityManager.h"
#include "tests/render/device/WindowedDevice.h"

#include <cstring>
#include <new>

namespace {

class VisibilityQueryDevice : public WindowedDevice {
protected:
    // A query of the compile around an empty drawing, left pending.
    void Issue(VisibilityQuery& query)
    {
        video.BeginFrame();
        video.AcquireQuery(query);
        query.Begin();
        query.End();
        video.EndFrame();
    }

    VisibilityManager manager;
};

} // namespace

TEST_F(VisibilityQueryDevice, AnAnsweredQueryIsDoneAndGivesItsHardwareQueryBack)
{
    VisibilityQuery query(manager, 0, nullptr);
    Issue(query);
    ASSERT_TRUE(query.IsPending());
    for (int32_t poll = 0; poll < 10000 && !query.done; ++poll) {
        video.UpdateQueries(true);
        Sleep(1);
    }
    EXPECT_TRUE(query.done);
    EXPECT_EQ(query.GetDevice(), nullptr);
}

// A block that gives up on its queries drops them while the device may still
// be waiting for their answers: the device must never reach them afterwards.
TEST_F(VisibilityQueryDevice, AQueryDroppedWhilePendingIsNeverReachedAgain)
{
    alignas(VisibilityQuery) unsigned char storage[sizeof(VisibilityQuery)];
    auto* query = new (storage) VisibilityQuery(manager, 0, nullptr);
    Issue(*query);
    ASSERT_TRUE(query->IsPending());
    query->~VisibilityQuery();
    std::memset(storage, 0xFF, sizeof storage);
    for (int32_t poll = 0; poll < 20; ++poll) {
        video.UpdateQueries(true);
    }
    // Whatever the device holds now is its own.
    VisibilityQuery next(manager, 0, nullptr);
    Issue(next);
    EXPECT_TRUE(next.IsPending());
}
