#include "engine/core/dcWindow.h"
#include "engine/files/LanguageTable.h"
#include "engine/input/InputCodes.h"
#include "engine/input/InputSystem.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

namespace {

// The real devices under this machine's DirectInput: nobody touches them
// during the test, so they report nothing, but every call must go through.
TEST(DirectInput, OpensTheSystemDevicesOnTheEngineWindowAndUpdates)
{
    ScopedCapture log;
    LanguageTable language;
    dcWindow window(L"Varnholt input", {100, 100, 740, 580}, false);
    ASSERT_NE(window.GetHandle(), nullptr);
    window.Show();
    std::unique_ptr<InputSystem> input = CreateInputSystem(&language);
    input->Init(window, false);
    EXPECT_TRUE(log->Contains(L"ENGINE: Keyboard inited"));
    EXPECT_TRUE(log->Contains(L"ENGINE: Mouse inited"));

    for (int32_t frame = 0; frame < 10; ++frame) {
        window.PumpMessages();
        input->Update(0.02f);
    }
    EXPECT_FALSE(input->WasPressed(kKeyEscape));
    EXPECT_FALSE(input->IsDown(kFirstMouseButtonCode));
    EXPECT_FALSE(input->GetCodeName(kKeyEnter).empty());

    input->Init(window, false);   // again, as after a change of video mode
    input->Update(0.02f);
    input->Shutdown();
    input->Update(0.02f);
}

} // namespace
