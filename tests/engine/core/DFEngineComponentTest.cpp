#include "engine/audio/AudioDevice.h"
#include "engine/core/DFEngineComponent.h"
#include "engine/core/LogHub.h"
#include "engine/core/dcEngine.h"
#include "render/device/VideoDevice.h"
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

TEST(DFEngineComponent, OurComponentFindsNoItemsAndTakesEveryCall)
{
    ScopedWorkingFolder folder(BuildFolder());
    DFEngine* component = CreateDFEngineComponent();
    ASSERT_NE(component, nullptr);
    EXPECT_EQ(component->Init(kDFEngineVersion, "C:\\Varnholt\\Misc\\DF"), 0);
    DFEngineItem* item = nullptr;
    EXPECT_LT(component->GetItem("DFM_Coin", &item), 0);
    EXPECT_LT(component->GetItem("DFS_Billboard", &item), 0);
    component->Update(0.02f);
    component->PreEnterZone(0, 10.0f);
    component->EnterZone("MainZone");
    component->PreShutdown(0);
    component->Shutdown();
}

TEST(DFEngineComponent, WithoutTheComponentTheEngineRunsAlone)
{
    ScratchFolder scratch;   // no component here nor beside the tests
    EXPECT_EQ(CreateDFEngineComponent(), nullptr);
    {
        dcEngine engine;
        engine.Init(kLogMessage);
        EXPECT_EQ(engine.GetDFEngine(), nullptr);
        engine.RunFrame();
        EXPECT_EQ(engine.GetFrameCounter(), 1);
        engine.Shutdown();
    }   // and destruction skips the component's shutdown
}
