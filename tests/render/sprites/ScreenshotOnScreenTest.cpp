// Print Screen on a real device: the file, read as any TGA viewer reads it,
// shows the screen the right way up.

#include "engine/audio/AudioDevice.h"
#include "engine/core/dcEngine.h"
#include "engine/files/FileStream.h"
#include "engine/input/InputCodes.h"
#include "tests/render/sprites/EngineOnScreen.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kBlue = 0xFF0000FF;

// A red top half over a blue bottom half, each cleared through its own viewport.
class HalvesModule : public MLP {
public:
    explicit HalvesModule(VideoDevice& video) : video_(video) {}

    void Render() override
    {
        const float width = static_cast<float>(video_.GetBackBufferWidth());
        const float height = static_cast<float>(video_.GetBackBufferHeight());
        video_.SetViewport({0.0f, 0.0f, width, height / 2.0f}, 0.0f, 1.0f);
        video_.Clear(kClearTarget, {1.0f, 0.0f, 0.0f, 1.0f}, 1.0f, 0);
        video_.SetViewport({0.0f, height / 2.0f, width, height}, 0.0f, 1.0f);
        video_.Clear(kClearTarget, {0.0f, 0.0f, 1.0f, 1.0f}, 1.0f, 0);
        video_.SetViewport({0.0f, 0.0f, width, height}, 0.0f, 1.0f);
    }

private:
    VideoDevice& video_;
};

// An uncompressed 32-bit TGA as viewers read it: bit 5 of the descriptor
// says whether the rows run from the top; without it they run from the bottom.
struct TgaPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> rowsFromTop;

    explicit TgaPicture(const WideString& name)
    {
        FileStream in(name);
        uint8_t header[18] = {};
        if (in.Read(header, sizeof header) != sizeof header || header[2] != 2 || header[16] != 32) {
            return;
        }
        width = header[12] | header[13] << 8;
        height = header[14] | header[15] << 8;
        const bool topFirst = (header[17] & 0x20) != 0;
        rowsFromTop.resize(static_cast<size_t>(width) * height);
        for (int32_t stored = 0; stored < height; ++stored) {
            const int32_t y = topFirst ? stored : height - 1 - stored;
            in.Read(&rowsFromTop[static_cast<size_t>(y) * width], width * 4);
        }
    }

    uint32_t At(int32_t x, int32_t y) const { return rowsFromTop[static_cast<size_t>(y) * width + x] | 0xFF000000; }
};

} // namespace

TEST_F(EngineOnScreen, PrintScreenWritesTheScreenTheRightWayUp)
{
    HalvesModule halves(*engine.GetVideoDevice());
    engine.SetMLP(&halves, true);
    engine.RunFrame();
    ScratchFolder shots;
    scripted->keyEvents = {{kKeyPrintScreen, true}};
    engine.PollInput(1.0f / 60.0f);
    scripted->keyEvents = {{kKeyPrintScreen, false}};
    engine.PollInput(1.0f / 60.0f);
    static MLP nothing;   // the engine is the program's one and outlives the halves
    engine.SetMLP(&nothing, false);

    const TgaPicture shot(L"Shot0001.TGA");
    ASSERT_EQ(shot.width, 800);
    ASSERT_EQ(shot.height, 600);
    for (int32_t x : {0, 400, 799}) {
        EXPECT_EQ(shot.At(x, 0), kRed) << x;
        EXPECT_EQ(shot.At(x, 299), kRed) << x;
        EXPECT_EQ(shot.At(x, 300), kBlue) << x;
        EXPECT_EQ(shot.At(x, 599), kBlue) << x;
    }
}
