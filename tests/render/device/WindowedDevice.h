#pragma once
// A shown test window in the middle of the 1024 x 768 test display, and a
// D3D9Video made on it at the menu size.

#include "engine/core/dcWindow.h"
#include "render/device/D3D9Video.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

class TestWindow : public testing::Test {
protected:
    TestWindow() { window.Show(); }
    // The engine keeps its window for the whole run; a test's goes with it.
    ~TestWindow() override { DestroyWindow(window.GetHandle()); }

    dcWindow window{L"Test", EngineWindowRect(1024, 768, false), false};
};

class WindowedDevice : public TestWindow {
protected:
    static constexpr VideoSize kMenuSize{800, 600};

    void SetUp() override { ASSERT_TRUE(video.Create(&window, kMenuSize, {})); }

    // One whole frame cleared to the colour, then shown.
    void ShowClearedFrame(const Color& color)
    {
        video.BeginFrame();
        video.Clear(kClearTarget | kClearDepth | kClearStencil, color, 1.0f, 0);
        video.EndFrame();
        video.Present();
    }

    D3D9Video video;
};

// A screenshot as GrabScreen hands it out.
struct Screenshot {
    std::vector<uint32_t> pixels;
    int32_t width = -1;
    int32_t height = -1;
    bool taken = false;

    explicit Screenshot(VideoDevice& video) { taken = video.GrabScreen(pixels, width, height); }

    bool AllPixelsAre(uint32_t pixel) const
    {
        return std::all_of(pixels.begin(), pixels.end(), [pixel](uint32_t p) { return p == pixel; });
    }
};
