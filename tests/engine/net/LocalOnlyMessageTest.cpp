// Which message types a network link refuses: the transport's own, the
// scene's and the physics world's, and any type declared local-only, even one
// the program has never used.

#include "engine/core/EngineMessages.h"
#include "engine/physics/PhysicsMessages.h"
#include "tests/engine/net/NetTestSupport.h"

namespace {

// Nothing makes this type's identity record or sends it.
struct dcNetTestNeverUsed {
    DC_LOCAL_MESSAGE(dcNetTestNeverUsed)
    int32_t value;
};

} // namespace

TEST(LocalOnlyMessage, EngineEventsAndPointerRecordsAreLocalOnly)
{
    for (const char* name : kLocalOnlyMessageNames) {
        EXPECT_TRUE(IsLocalOnlyMessage(HashClassName(name))) << name;
    }
    for (const char* name : {"dcNetTestNumber", "dcNetTestEmpty", "dcNetTestUnknown"}) {
        EXPECT_FALSE(IsLocalOnlyMessage(HashClassName(name))) << name;
    }
    static_assert(LocalOnlyMessage<dcContact> && LocalOnlyMessage<dcSceneAdd> && LocalOnlyMessage<dcServerMessage>);
    static_assert(!LocalOnlyMessage<dcNetTestNumber>);
}

TEST(LocalOnlyMessage, TypeIsKnownBeforeItsFirstUse)
{
    EXPECT_TRUE(IsLocalOnlyMessage(HashClassName("dcNetTestNeverUsed")));
}
