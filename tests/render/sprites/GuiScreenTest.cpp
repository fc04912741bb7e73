// The console, the menus and the statistics drawn by the engine on a real
// device, through the sample data's sprite effects, and read back from the
// screen: the tests look for text where it belongs, not for exact pixels.

#include "engine/audio/AudioDevice.h"
#include "engine/core/dcEngine.h"
#include "engine/files/LanguageTable.h"
#include "engine/gui/ChoiceWidget.h"
#include "engine/gui/GdiFont.h"
#include "engine/gui/LabelWidget.h"
#include "engine/gui/MenuScreen.h"
#include "engine/gui/dcGUIConsole.h"
#include "engine/input/InputSystem.h"
#include "engine/video/SpriteDrawer.h"
#include "render/device/TextureLookup.h"
#include "render/device/TextureLoader.h"
#include "render/sprites/RendererGuiResources.h"
#include "tests/engine/input/ScriptedInputDevices.h"
#include "tests/render/shaders/ShaderTestSupport.h"
#include "tests/render/sprites/EngineOnScreen.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace {

const Color kBlack{0.0f, 0.0f, 0.0f, 1.0f};

struct Area {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

class EngineScreenTest : public EngineOnScreen {
protected:
    VideoDevice& Video() { return *engine.GetVideoDevice(); }
    // A module that outlives the test's screens, to leave current.
    void LeaveScreen()
    {
        static MLP idle;
        engine.SetMLP(&idle, false);
    }

    // One frame cleared to the colour, drawn by the function and shown; then read back.
    template <typename Drawing>
    Screenshot ShowFrame(const Color& clear, Drawing draw)
    {
        Video().BeginFrame();
        Video().Clear(kClearTarget | kClearDepth | kClearStencil, clear, 1.0f, 0);
        draw();
        Video().EndFrame();
        Video().Present();
        return Screenshot(Video());
    }

    static std::set<uint32_t> Colours(const Screenshot& shot, const Area& area)
    {
        std::set<uint32_t> colours;
        for (int32_t y = area.top; y < area.bottom; ++y) {
            for (int32_t x = area.left; x < area.right; ++x) {
                colours.insert(shot.pixels[static_cast<size_t>(y) * shot.width + x] | 0xFF000000u);
            }
        }
        return colours;
    }

};

} // namespace

TEST_F(EngineScreenTest, AMenuScreenShowsItsTextOverItsBackground)
{
    MenuScreen screen(L"Test", L"MainMenu.DCT");
    auto title = std::make_unique<LabelWidget>(L"VARNHOLT", false, nullptr);
    title->SetPosition({400, 100}, true);
    screen.AddWidget(std::move(title));
    ChoiceOption option(1);
    auto choice = std::make_unique<ChoiceWidget>(L"Frame rate", std::vector<WideString>{L"Hidden", L"Shown"}, &option,
                                                 nullptr);
    choice->SetPosition({150, 250}, false);
    screen.AddWidget(std::move(choice));
    screen.SetDefaultWidget(1);
    engine.SetMLP(&screen, true);
    screen.SetFade(1.0f);
    screen.Update();   // draws into the screen's own image

    const Screenshot shot = ShowFrame(kBlack, [&] { screen.Render(); });
    ASSERT_TRUE(shot.taken);
    EXPECT_GT(Colours(shot, {340, 95, 460, 120}).size(), 2u) << "the title";
    EXPECT_GT(Colours(shot, {140, 245, 250, 270}).size(), 2u) << "the choice's caption";
    EXPECT_GT(Colours(shot, {395, 245, 470, 270}).size(), 2u) << "the choice's value";
    EXPECT_EQ(Colours(shot, {600, 400, 700, 410}).count(0xFF000000u), 0u) << "the background covers the screen";
    LeaveScreen();
}

TEST_F(EngineScreenTest, ScreensShareTheirImagesThroughThePool)
{
    MenuScreen first(L"First", L"MainMenu.DCT");
    MenuScreen second(L"Second", L"MainMenu.DCT");
    first.Enter();
    TextureResource* image = first.GetRenderTarget();
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetImageWidth(), 800.0f);
    first.Enter();
    EXPECT_EQ(first.GetRenderTarget(), image);
    first.Popped();
    EXPECT_EQ(first.GetRenderTarget(), image);
    first.Popped();
    first.Popped();
    EXPECT_EQ(first.GetRenderTarget(), nullptr);
    second.Enter();
    EXPECT_EQ(second.GetRenderTarget(), image);
    first.Enter();
    EXPECT_NE(first.GetRenderTarget(), nullptr);
    EXPECT_NE(first.GetRenderTarget(), image);
}

TEST_F(EngineScreenTest, TheOpenConsoleShowsTheLogAndThePrompt)
{
    dcGUIConsole& console = *engine.GetConsole();
    console.Write(L"^2A line of the log");
    console.Enter();
    console.Tick(1.0f);
    const Screenshot shot = ShowFrame(kBlack, [&] { console.Render(); });
    ASSERT_TRUE(shot.taken);
    const int32_t step = engine.GetDefaultFont()->GetSize() + 2;
    const int32_t prompt = 600 - 2 * step;
    EXPECT_GT(Colours(shot, {5, prompt, 60, prompt + step}).size(), 2u) << "the prompt";
    EXPECT_GT(Colours(shot, {5, prompt - step, 200, prompt}).size(), 2u) << "the newest log line";
    EXPECT_EQ(Colours(shot, {400, 100, 500, 110}).count(0xFF000000u), 0u) << "the console's background";
}

TEST_F(EngineScreenTest, TheInputLineStopsShortOfTheScreensEdge)
{
    dcGUIConsole& console = *engine.GetConsole();
    console.Enter();
    for (int i = 0; i < 200; ++i) {
        engine.GetInputSystem()->OnChar(L'W');
    }
    console.HandleKeys();
    const WideString& line = console.GetInputLine().text;
    EXPECT_LT(line.size(), 200u);
    EXPECT_LE(engine.GetDefaultFont()->MeasureText(line), 770.0f);
    EXPECT_GT(engine.GetDefaultFont()->MeasureText(line + L"W"), 770.0f);
}

TEST_F(EngineScreenTest, StatisticsLinesStandAtTheTopRight)
{
    engine.SetEngineFlag(dcEngine::kShowFrameRate | dcEngine::kShowPrimitives, true);
    engine.RunFrame();   // no module: the frame is cleared white
    const Screenshot shot(Video());
    ASSERT_TRUE(shot.taken);
    EXPECT_GT(Colours(shot, {620, 20, 700, 36}).size(), 1u) << "the frame rate";
    EXPECT_GT(Colours(shot, {620, 40, 700, 56}).size(), 1u) << "the primitives";
    EXPECT_EQ(Colours(shot, {620, 60, 700, 76}).size(), 1u) << "no vertex count";
    EXPECT_EQ(Colours(shot, {0, 20, 600, 60}).size(), 1u) << "nothing on the left";
}

// The sprite effects' programs hold the Direct3D device: a device that
// outlived the engine would still be running its threads when the program
// exits.
TEST_F(EngineScreenTest, ShuttingDownDestroysTheDeviceTheSpritesDrewOn)
{
    ASSERT_NE(AlphaSpriteShader, nullptr);
    const Screenshot shot = ShowFrame(kBlack, [&] {
        engine.GetSpriteBatch()->DrawFilledRect({10, 10, 100, 100}, {1.0f, 1.0f, 1.0f, 1.0f}, AlphaSpriteShader);
    });
    ASSERT_TRUE(shot.taken);
    IDirect3DDevice9* device = static_cast<D3D9Video&>(Video()).GetDirect3DDevice();
    device->AddRef();
    engine.Shutdown();
    EXPECT_EQ(device->Release(), 0u) << "something still holds the device";
    EXPECT_EQ(AlphaSpriteShader, nullptr);
}
