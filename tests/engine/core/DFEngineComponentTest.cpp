#include "engine/audio/AudioDevice.h"
#include "engine/core/DFEngineComponent.h"
#include "engine/core/LogHub.h"
#include "engine/core/dcEngine.h"
#include "engine/video/VideoDevice.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

namespace {

// The build puts our component beside the program, two folders above the
// test executable.
WideString BuildFolder()
{
    const WideString fixtures = FixturePath(L"");
    return fixtures.substr(0, fixtures.size() - wcslen(L"fixtures\\")) + L"..\\..";
}

} // namespace

// Every caller of an item lookup falls back on a negative answer: "DFS_" and
// "DFD_" textures to the missing texture, the coin to its own model. Our
// component holds no items, so it must answer every name so and hand out
// nothing through the caller's place.
TEST(DFEngineComponent, OurComponentFindsNoItemAndHandsOutNothing)
{
    ScopedWorkingFolder folder(BuildFolder());
    DFEngine* component = CreateDFEngineComponent();
    ASSERT_NE(component, nullptr);
    component->Init(kDFEngineVersion, "C:\\Varnholt\\Misc\\DF");   // the program does not use its answer
    DFEngineItem* const untouched = reinterpret_cast<DFEngineItem*>(uintptr_t{0x5EED});
    for (const char* name : {"DFM_Coin", "DFS_Billboard", "DFD_Billboard", "DFS_", ""}) {
        DFEngineItem* item = untouched;
        EXPECT_LT(component->GetItem(name, &item), 0) << name;
        EXPECT_EQ(item, untouched) << name;
    }
    component->PreShutdown(0);
    component->Shutdown();
}

// The engine finds our component beside the program (its data path is the
// working folder it is first reached from) and keeps it for the whole run:
// every frame tells it the frame time. It changes nothing the engine does.
TEST(DFEngineComponent, TheEngineRunsWithOurComponentAsItDoesAlone)
{
    ScopedWorkingFolder folder(BuildFolder());
    ScopedCapture log(kLogWarning);
    dcEngine& engine = dcEngine::Instance();
    engine.Init(kLogMessage);
    EXPECT_NE(engine.GetDFEngine(), nullptr);
    for (int32_t frame = 1; frame <= 3; ++frame) {
        engine.RunFrame();
        EXPECT_EQ(engine.GetFrameCounter(), frame);
    }
    engine.Shutdown();
    EXPECT_TRUE(log->lines.empty()) << WideStringToNarrow(log->lines.front());
}

TEST(DFEngineComponent, WithoutTheComponentTheEngineRunsAlone)
{
    ScratchFolder scratch;   // no component here nor beside the tests
    EXPECT_EQ(CreateDFEngineComponent(), nullptr);
    dcEngine& engine = dcEngine::Instance();
    engine.Init(kLogMessage);
    EXPECT_EQ(engine.GetDFEngine(), nullptr);
    engine.RunFrame();
    EXPECT_EQ(engine.GetFrameCounter(), 1);
    engine.Shutdown();
}
