#include "engine/audio/Mixer.h"
#include "engine/audio/SoundData.h"
#include "tests/engine/audio/AudioTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

class MixerTest : public testing::Test {
protected:
    Channel& AddChannel(std::vector<int16_t> samples, int32_t rate, bool stereo, int32_t loops)
    {
        buffers.push_back(MakeBuffer(std::move(samples), rate, stereo));
        channels.push_back(std::make_unique<Channel>());
        Channel& channel = *channels.back();
        channel.Init(buffers.back().get());
        channel.SetLoopCount(loops);
        channel.SetInMixer(true);
        mixer.AddChannel(channel);
        return channel;
    }

    // One chunk, as the mixer thread writes it: interleaved left, right.
    std::vector<int16_t> MixFrames(int32_t frames)
    {
        EXPECT_EQ(mixer.Mix(frames * Mixer::kBytesPerFrame), frames);
        std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
        mixer.Output(out.data());
        return out;
    }

    static std::vector<int16_t> Left(const std::vector<int16_t>& out)
    {
        std::vector<int16_t> left;
        for (size_t i = 0; i < out.size(); i += 2) {
            left.push_back(out[i]);
        }
        return left;
    }

    Mixer mixer;
    std::vector<std::unique_ptr<SoundBuffer>> buffers;   // outlive the channels
    std::vector<std::unique_ptr<Channel>> channels;
};

std::vector<int16_t> Range(int16_t first, int16_t last)
{
    std::vector<int16_t> values;
    for (int16_t v = first; v <= last; ++v) {
        values.push_back(v);
    }
    return values;
}

std::vector<int16_t> Concat(std::initializer_list<std::vector<int16_t>> parts)
{
    std::vector<int16_t> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

} // namespace

TEST_F(MixerTest, SumsBeyondSixteenBitsClipInsteadOfWrapping)
{
    AddChannel({30000, -30000}, Mixer::kOutputRate, true, kEndlessLoops);
    AddChannel({30000, -30000}, Mixer::kOutputRate, true, kEndlessLoops);
    const std::vector<int16_t> out = MixFrames(3);
    EXPECT_EQ(mixer.Accumulator()[0], 60000);
    EXPECT_EQ(mixer.Accumulator()[1], -60000);
    EXPECT_EQ(out, (std::vector<int16_t>{32767, -32768, 32767, -32768, 32767, -32768}));
}

TEST_F(MixerTest, VolumeAndPanGiveIntegerGains)
{
    struct Case { float volume; float pan; int32_t left; int32_t right; MixRoutine routine; };
    Channel& stereo = AddChannel({0, 0}, Mixer::kOutputRate, true, 1);
    for (const Case& c : std::initializer_list<Case>{
             {1.0f, 0.0f, 65535, 65535, MixRoutine::kStereo},
             {1.0f, 0.5f, 32767, 65535, MixRoutine::kStereo},
             {1.0f, -0.5f, 65535, 32767, MixRoutine::kStereo},
             {0.5f, 0.0f, 32767, 32767, MixRoutine::kStereo},
             {1.0f, 1.0f, 0, 65535, MixRoutine::kStereo},
             {1.0f, -1.0f, 65535, 0, MixRoutine::kStereo}}) {
        stereo.SetVolumePan(c.volume, c.pan);
        EXPECT_EQ(stereo.GetLeftGain(), c.left) << c.volume << " " << c.pan;
        EXPECT_EQ(stereo.GetRightGain(), c.right) << c.volume << " " << c.pan;
        EXPECT_EQ(stereo.GetRoutine(), c.routine);
    }
    stereo.SetVolumePan(0.0f, 0.0f);
    EXPECT_EQ(stereo.GetRoutine(), MixRoutine::kAdvance);

    Channel& mono = AddChannel({20000}, Mixer::kOutputRate, false, kEndlessLoops);
    EXPECT_EQ(mono.GetRoutine(), MixRoutine::kMono);
    stereo.SetVolumePan(0.0f, 0.0f);
    mono.SetVolumePan(1.0f, 0.5f);
    // 20000 x 32767 / 65535, truncated.
    EXPECT_EQ(MixFrames(1), (std::vector<int16_t>{9999, 20000}));
}

TEST_F(MixerTest, PitchChoosesTheNearestSampleForEachOutputFrame)
{
    struct Case {
        int32_t rate;
        float pitch;
        float globalPitch;
        bool ignoresGlobal;
        std::vector<int16_t> heard;
        int32_t position;
    };
    for (const Case& c : std::initializer_list<Case>{
             {44100, 1.0f, 1.0f, false, {1, 2, 3, 4, 5, 6}, 6},
             {22050, 1.0f, 1.0f, false, {1, 1, 2, 2, 3, 3}, 3},
             {44100, 2.0f, 1.0f, false, {1, 3, 5, 7, 9, 11}, 12},
             {22050, 2.0f, 1.0f, false, {1, 2, 3, 4, 5, 6}, 6},
             {44100, 1.0f, 0.5f, false, {1, 1, 2, 2, 3, 3}, 3},
             {44100, 1.0f, 0.5f, true, {1, 2, 3, 4, 5, 6}, 6}}) {
        Channel& channel = AddChannel(CountingSamples(100), c.rate, false, kEndlessLoops);
        channel.SetPitch(c.pitch);
        channel.SetIgnoreGlobalPitch(c.ignoresGlobal);
        mixer.SetGlobalPitch(c.globalPitch);
        EXPECT_EQ(Left(MixFrames(6)), c.heard) << c.rate << " Hz, pitch " << c.pitch << ", global " << c.globalPitch;
        EXPECT_EQ(channel.GetPosition(), c.position);
        mixer.RemoveChannel(channel);
    }
}

TEST_F(MixerTest, ChunksAtOtherRatesLeaveThePositionInsideTheBuffer)
{
    struct Case { int32_t loops; bool playing; int32_t position; std::vector<int16_t> next; };
    for (const Case& c : std::initializer_list<Case>{
             {kEndlessLoops, true, 1, {2, 3}},
             {2, true, 1, {2, 3}},
             {1, false, 0, {0, 0}}}) {
        Channel& channel = AddChannel(CountingSamples(100), Mixer::kOutputRate, false, c.loops);
        channel.SetPitch(1.5f);
        // Ten frames at pitch 1.5 end on the buffer's last frame and move on
        // fifteen, one past the end: the next chunk goes on from frame 1.
        channel.SetPosition(86);
        EXPECT_EQ(Left(MixFrames(10)), (std::vector<int16_t>{87, 88, 90, 91, 93, 94, 96, 97, 99, 100}));
        EXPECT_EQ(channel.GetPosition(), c.position) << c.loops << " loops";
        EXPECT_EQ(channel.IsInMixer(), c.playing);
        EXPECT_EQ(Left(MixFrames(2)), c.next);
        mixer.RemoveChannel(channel);
    }
}

// A pitch of zero or below would read before the buffer; one that is not a
// number plays at the normal rate.
TEST_F(MixerTest, PitchesOutsideTheEngineRangeAreBroughtIntoIt)
{
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    struct Case { float asked; float kept; std::vector<int16_t> heard; };
    for (const Case& c : std::initializer_list<Case>{
             {-1.0f, 0.1f, {11, 11, 11}},
             {0.0f, 0.1f, {11, 11, 11}},
             {-kInfinity, 0.1f, {11, 11, 11}},
             {std::nanf(""), 1.0f, {11, 12, 13}},
             {1e9f, 10.0f, {11, 21, 31}},
             {kInfinity, 10.0f, {11, 21, 31}},
             {2.0f, 2.0f, {11, 13, 15}}}) {
        mixer.SetGlobalPitch(c.asked);
        EXPECT_FLOAT_EQ(mixer.GetGlobalPitch(), c.kept) << c.asked;
        Channel& channel = AddChannel(CountingSamples(100), Mixer::kOutputRate, false, kEndlessLoops);
        channel.SetPitch(c.asked);
        EXPECT_FLOAT_EQ(channel.GetPitch(), c.kept) << c.asked;
        mixer.RemoveChannel(channel);

        // A chunk handed the pitch unchecked plays at the nearest one in range.
        channel.SetPitch(1.0f);
        channel.SetPosition(10);
        std::vector<int32_t> sums(6, 0);
        ASSERT_TRUE(channel.Mix({sums.data(), 3, Mixer::kOutputRate, c.asked}));
        EXPECT_EQ((std::vector<int16_t>{static_cast<int16_t>(sums[0]), static_cast<int16_t>(sums[2]),
                                        static_cast<int16_t>(sums[4])}),
                  c.heard)
            << c.asked;
        EXPECT_GE(channel.GetPosition(), 0);
    }
}

TEST_F(MixerTest, OnceOnlySoundEndsAfterExactlyItsFrames)
{
    Channel& channel = AddChannel(CountingSamples(100), Mixer::kOutputRate, false, 1);
    EXPECT_EQ(Left(MixFrames(100)), Range(1, 100));
    EXPECT_TRUE(channel.IsInMixer());   // the end shows when the next frame is due

    EXPECT_EQ(Left(MixFrames(30)), std::vector<int16_t>(30, 0));
    EXPECT_FALSE(channel.IsInMixer());
    EXPECT_EQ(channel.GetPosition(), 0);
    EXPECT_TRUE(mixer.ActiveChannels().empty());
}

TEST_F(MixerTest, HalfRateSoundEndsAfterTwiceItsFrames)
{
    Channel& channel = AddChannel(CountingSamples(50), 22050, false, 1);
    const std::vector<int16_t> left = Left(MixFrames(130));
    EXPECT_EQ(left[99], 50);
    EXPECT_EQ(left[100], 0);
    EXPECT_FALSE(channel.IsInMixer());
    EXPECT_EQ(channel.GetPosition(), 0);
}

TEST_F(MixerTest, LoopingSoundsRestartAndCountTheirPasses)
{
    Channel& twice = AddChannel(CountingSamples(50), Mixer::kOutputRate, false, 2);
    EXPECT_EQ(Left(MixFrames(120)), Concat({Range(1, 50), Range(1, 50), std::vector<int16_t>(20, 0)}));
    EXPECT_FALSE(twice.IsInMixer());

    Channel& endless = AddChannel(CountingSamples(50), Mixer::kOutputRate, false, kEndlessLoops);
    EXPECT_EQ(Left(MixFrames(120)), Concat({Range(1, 50), Range(1, 50), Range(1, 20)}));
    EXPECT_TRUE(endless.IsInMixer());
    EXPECT_EQ(endless.GetPosition(), 20);
}

TEST_F(MixerTest, OnlyTheMostImportantChannelsAreHeardAndTheRestKeepTime)
{
    constexpr int32_t kChannels = 70;
    for (int32_t i = 0; i < kChannels; ++i) {
        Channel& channel = AddChannel(std::vector<int16_t>(1000, 1), Mixer::kOutputRate, false, 1);
        channel.SetPriority(static_cast<float>(i));
    }
    const std::vector<int16_t> out = MixFrames(100);
    EXPECT_EQ(out[0], Mixer::kDefaultAudibleChannels);
    for (int32_t i = 0; i < Mixer::kDefaultAudibleChannels; ++i) {
        EXPECT_GE(mixer.ActiveChannels()[i]->GetPriority(), kChannels - Mixer::kDefaultAudibleChannels);
    }
    for (const auto& channel : channels) {
        EXPECT_EQ(channel->GetPosition(), 100);
    }
    MixFrames(899);
    EXPECT_EQ(mixer.ActiveChannels().size(), static_cast<size_t>(kChannels));
    MixFrames(2);
    EXPECT_TRUE(mixer.ActiveChannels().empty()) << "the unheard ones end with the others";
}

TEST_F(MixerTest, EqualPrioritiesLetTheLouderChannelBeHeard)
{
    Channel& quiet = AddChannel({10000}, Mixer::kOutputRate, false, kEndlessLoops);
    Channel& loud = AddChannel({20000}, Mixer::kOutputRate, false, kEndlessLoops);
    quiet.SetVolumePan(0.5f, 0.0f);
    mixer.SetAudibleChannels(1);
    EXPECT_EQ(MixFrames(1)[0], 20000);
    EXPECT_EQ(mixer.ActiveChannels().front(), &loud);
}

TEST_F(MixerTest, UnheardChannelsAtOtherRatesStillEndOnTime)
{
    Channel& channel = AddChannel(CountingSamples(100), 22050, false, 1);
    channel.SetVolumePan(0.0f, 0.0f);
    EXPECT_EQ(MixFrames(150), std::vector<int16_t>(300, 0));
    EXPECT_EQ(channel.GetPosition(), 75);
    MixFrames(48);
    EXPECT_TRUE(channel.IsInMixer());
    MixFrames(2);
    EXPECT_FALSE(channel.IsInMixer());
}

TEST_F(MixerTest, MutedMixerIsSilentWhilePositionsAdvance)
{
    Channel& channel = AddChannel(CountingSamples(100), Mixer::kOutputRate, false, kEndlessLoops);
    mixer.SetMuted(true);
    EXPECT_EQ(MixFrames(10), std::vector<int16_t>(20, 0));
    EXPECT_EQ(channel.GetPosition(), 10);
    mixer.SetMuted(false);
    EXPECT_EQ(Left(MixFrames(3)), (std::vector<int16_t>{11, 12, 13}));
}

TEST_F(MixerTest, SoundsWithoutFramesAddNothing)
{
    Channel& once = AddChannel({}, Mixer::kOutputRate, true, 1);
    Channel& endless = AddChannel({}, Mixer::kOutputRate, true, kEndlessLoops);
    EXPECT_EQ(MixFrames(4), std::vector<int16_t>(8, 0));
    EXPECT_FALSE(once.IsInMixer());
    EXPECT_TRUE(endless.IsInMixer());
}
