#include "engine/audio/DS8Audio.h"
#include "engine/core/dcWindow.h"
#include "tests/engine/audio/AudioTestSupport.h"
#include "tests/support/CapturingSink.h"

#include <windows.h>

#include <mmsystem.h>

#include <dsound.h>

#include <gtest/gtest.h>

namespace {

// The frames of the output buffer that hold exactly the given left and right values.
int32_t FramesHolding(IDirectSoundBuffer& buffer, int16_t left, int16_t right)
{
    void* bytes = nullptr;
    DWORD size = 0;
    if (FAILED(buffer.Lock(0, 0, &bytes, &size, nullptr, nullptr, DSBLOCK_ENTIREBUFFER))) {
        return -1;
    }
    const int16_t* samples = static_cast<const int16_t*>(bytes);
    int32_t count = 0;
    for (DWORD i = 0; i + 1 < size / 2; i += 2) {
        count += samples[i] == left && samples[i + 1] == right;
    }
    buffer.Unlock(bytes, size, nullptr, 0);
    return count;
}

DWORD WriteCursor(IDirectSoundBuffer& buffer)
{
    DWORD write = 0;
    buffer.GetCurrentPosition(nullptr, &write);
    return write;
}

} // namespace

TEST(WriteCursor, CountsAsPassedOnceItWrapsBehindTheMixer)
{
    struct Case { uint32_t write; uint32_t mixed; bool passed; };
    for (const Case& c : std::initializer_list<Case>{
             {100, 20000, true},      // wrapped: counts as 32868
             {100, 16000, false},
             {5000, 4000, true},
             {4000, 4000, false},
             {20000, 100, true},
             {30000, 31000, false}}) {
        EXPECT_EQ(WriteCursorPassed(c.write, c.mixed, DS8Audio::kBufferSize), c.passed) << c.write << " " << c.mixed;
    }
}

// The real DirectSound device under the test runner's silent sound card.
TEST(DirectSoundOutput, MixesPlayingVoicesIntoTheLoopingBuffer)
{
    MountedSounds sounds(L"audio");
    dcWindow window(L"Sound", EngineWindowRect(1024, 768, false), false);
    window.Show();
    {
        DS8Audio device;
        ScopedCapture log;
        ASSERT_TRUE(device.Init(0, &window));
        for (const wchar_t* line : {L"DS8Audio: DirectSound inited", L"DS8Audio: Primary buffer created",
                                    L"DS8Audio: Primary buffer configured", L"DS8Audio: BufferSize = "}) {
            EXPECT_TRUE(log->Contains(line)) << line;
        }
        EXPECT_FALSE(log->Contains(L"Failed creating primary buffer"));
        EXPECT_FALSE(log->Contains(L"Failed configuring primary buffer"));
        IDirectSoundBuffer* output = device.GetOutputBuffer();
        ASSERT_NE(output, nullptr);
        DSBCAPS caps{};
        caps.dwSize = sizeof caps;
        output->GetCaps(&caps);
        EXPECT_EQ(caps.dwBufferBytes, static_cast<DWORD>(DS8Audio::kBufferSize));

        // A steady 12000 from the pack: every mixed frame holds it on both sides.
        Voice* voice = device.Play(L"Click.WAV", false, false, false);
        voice->Play(true);
        const DWORD before = WriteCursor(*output);
        EXPECT_TRUE(WaitUntil([&] { return WriteCursor(*output) != before; })) << "the buffer plays";
        EXPECT_TRUE(WaitUntil([&] { return FramesHolding(*output, 12000, 12000) > 4000; }));

        voice->SetPan(1.0f);
        EXPECT_TRUE(WaitUntil([&] { return FramesHolding(*output, 0, 12000) > 4000; }));
        voice->Stop();
        EXPECT_TRUE(WaitUntil([&] { return FramesHolding(*output, 0, 0) == DS8Audio::kBufferSize / 4; }))
            << "a stopped voice leaves silence behind";
        device.DestroyVoice(voice);
    }
    DestroyWindow(window.GetHandle());
}
