#include "engine/audio/DS8Audio.h"
#include "engine/audio/VoiceStream.h"
#include "tests/engine/audio/AudioTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A device that was never opened: voices work, nothing is heard, and the
// test mixes by hand what the mixer thread would.
class VoiceTest : public testing::Test {
protected:
    void MixFrames(int32_t frames) { device.GetMixer().Mix(frames * Mixer::kBytesPerFrame); }

    MountedSounds sounds{L"audio"};
    DS8Audio device;
};

// Writes nothing and notes where in its ring each refill was asked to go.
class RingWatcher : public SoundData {
public:
    struct Requests {
        std::atomic<int32_t> bytes{0};     // asked for in all
        std::atomic<int32_t> furthest{0};  // the furthest end, in bytes from the ring's start
    };

    RingWatcher(const SoundBuffer& ring, std::shared_ptr<Requests> requests)
        : SoundData(L"Watched"), start_(reinterpret_cast<const uint8_t*>(ring.Samples())), requests_(std::move(requests))
    {
    }

    int32_t Read(void* destination, int32_t count) override
    {
        const int32_t end = static_cast<int32_t>(static_cast<const uint8_t*>(destination) - start_) + count;
        requests_->bytes += count;
        requests_->furthest = std::max(requests_->furthest.load(), end);
        return count;
    }
    void Seek(float) override {}
    float Tell() override { return 0.0f; }

private:
    const uint8_t* start_;
    std::shared_ptr<Requests> requests_;
};

} // namespace

TEST_F(VoiceTest, VolumeIsClampedAndScaledByItsGroups)
{
    Voice* voice = device.Play(L"Short16.WAV", false, false, false);
    voice->SetVolume(1.5f);
    EXPECT_EQ(voice->GetVolume(), 1.0f);
    voice->SetVolume(-0.5f);
    EXPECT_EQ(voice->GetVolume(), 0.0f);
    voice->SetVolume(1.0f);

    SoundGroup music;
    SoundGroup all;
    all.Add(music);
    music.SetVolume(0.5f);
    music.Add(*voice);
    EXPECT_FLOAT_EQ(voice->GetEffectiveVolume(), 0.5f);
    EXPECT_EQ(voice->GetChannel().GetLeftGain(), 32767);
    all.SetVolume(0.5f);
    EXPECT_FLOAT_EQ(voice->GetEffectiveVolume(), 0.25f);

    all.SetVolume(0.0f);
    EXPECT_EQ(voice->GetChannel().GetRoutine(), MixRoutine::kAdvance) << "a silenced group only moves its voices on";
    all.SetVolume(1.0f);
    EXPECT_EQ(voice->GetChannel().GetRoutine(), MixRoutine::kStereo);
    music.SetVolume(3.0f);
    EXPECT_EQ(voice->GetChannel().GetLeftGain(), kFullGain) << "no gain beyond full, or the mix overflows";

    // Leaving the group drops its factor at once.
    music.Remove(*voice);
    EXPECT_EQ(voice->GetGroup(), nullptr);
    EXPECT_FLOAT_EQ(voice->GetEffectiveVolume(), 1.0f);
    EXPECT_TRUE(music.Members().empty());
    device.DestroyVoice(voice);
}

TEST_F(VoiceTest, MembersOutlivingTheirGroupLeaveItCleanly)
{
    Voice* voice = device.Play(L"Short16.WAV", false, false, false);
    {
        SoundGroup group;
        group.Add(*voice);
        group.SetVolume(0.5f);
    }
    EXPECT_EQ(voice->GetGroup(), nullptr);
    voice->SetVolume(1.0f);
    EXPECT_FLOAT_EQ(voice->GetEffectiveVolume(), 1.0f);
    device.DestroyVoice(voice);

    SoundGroup group;
    group.Add(*device.Play(L"Short16.WAV", false, false, false));
    device.DestroyVoice(static_cast<Voice*>(group.Members().front()));
    EXPECT_TRUE(group.Members().empty()) << "a destroyed voice leaves its group";
}

TEST_F(VoiceTest, PitchAndPanAreClampedToTheirRanges)
{
    Voice* voice = device.Play(L"Short16.WAV", false, false, false);
    struct PitchCase { float asked; float kept; };
    for (const PitchCase& c : std::initializer_list<PitchCase>{{20.0f, 10.0f}, {0.0f, 0.1f}, {1.5f, 1.5f}}) {
        voice->SetPitch(c.asked);
        EXPECT_FLOAT_EQ(voice->GetPitch(), c.kept);
        EXPECT_FLOAT_EQ(voice->GetChannel().GetPitch(), c.kept);
    }
    struct PanCase { float pan; int32_t left; int32_t right; };
    for (const PanCase& c : std::initializer_list<PanCase>{{0.5f, 32767, 65535}, {-3.0f, 65535, 0}, {3.0f, 0, 65535}}) {
        voice->SetPan(c.pan);
        EXPECT_EQ(voice->GetChannel().GetLeftGain(), c.left) << c.pan;
        EXPECT_EQ(voice->GetChannel().GetRightGain(), c.right) << c.pan;
    }
    device.DestroyVoice(voice);
}

TEST_F(VoiceTest, StopKeepsThePlaceAndStopAndRewindStartsOver)
{
    Voice* voice = device.Play(L"Ramp.WAV", false, false, false);
    EXPECT_FALSE(voice->IsPlaying()) << "voices are made stopped";
    voice->Play(false);
    MixFrames(100);
    voice->Stop();
    EXPECT_FALSE(voice->IsPlaying());
    MixFrames(100);
    EXPECT_EQ(voice->GetChannel().GetPosition(), 100);
    voice->Play(false);
    MixFrames(50);
    EXPECT_EQ(voice->GetChannel().GetPosition(), 150);

    voice->StopAndRewind();
    EXPECT_EQ(voice->GetChannel().GetPosition(), 0);
    voice->Play(false);
    voice->Play(true);   // on a playing voice only the looping changes
    EXPECT_EQ(voice->GetChannel().GetLoopCount(), kEndlessLoops);
    EXPECT_EQ(device.GetMixer().ActiveChannels().size(), 1u);
    device.DestroyVoice(voice);
    EXPECT_TRUE(device.GetMixer().ActiveChannels().empty());
}

TEST_F(VoiceTest, SeekAndLengthCountInSeconds)
{
    Voice* voice = device.Play(L"Ramp.WAV", false, false, false);
    EXPECT_FLOAT_EQ(voice->GetLength(), 1.5f);
    voice->Seek(0.5f);
    EXPECT_EQ(voice->GetChannel().GetPosition(), 22050);
    EXPECT_FLOAT_EQ(voice->GetPosition(), 0.5f);
    voice->Seek(-1.0f);
    EXPECT_EQ(voice->GetChannel().GetPosition(), 0);
    device.DestroyVoice(voice);
}

TEST_F(VoiceTest, ClonesShareTheBufferAndNothingElse)
{
    Voice* voice = device.Play(L"Short16.WAV", true, false, false);
    voice->SetVolume(0.3f);
    Voice* clone = voice->Clone();
    EXPECT_EQ(clone->GetChannel().GetBuffer(), voice->GetChannel().GetBuffer());
    EXPECT_EQ(voice->GetChannel().GetBuffer()->Users(), 2);
    EXPECT_NE(clone->Get3D(), nullptr);
    EXPECT_EQ(clone->GetVolume(), 1.0f);
    device.DestroyVoice(clone);
    EXPECT_EQ(voice->GetChannel().GetBuffer()->Users(), 1);
    device.DestroyVoice(voice);
}

TEST_F(VoiceTest, StreamedVoicesStartWithAQuarterSecondOfSilence)
{
    Voice* voice = device.Play(L"Ramp.WAV", false, true, false);
    ASSERT_TRUE(voice->IsStreamed());
    const SoundBuffer& ring = *voice->GetChannel().GetBuffer();
    ASSERT_EQ(ring.Frames(), 44100);
    const int32_t quarter = ring.Frames() / 4;
    // The file's frame k holds k mod 30000; the ring fills up to its end at once.
    auto left = [&](int32_t frame) { return ring.Samples()[2 * frame]; };
    ASSERT_TRUE(WaitUntil([&] { return left(ring.Frames() - 1) == (ring.Frames() - 1 - quarter) % 30000; }));
    EXPECT_TRUE(std::all_of(ring.Samples(), ring.Samples() + 2 * quarter, [](int16_t s) { return s == 0; }));
    EXPECT_EQ(left(quarter + 5), 5);

    voice->Play(true);
    EXPECT_EQ(voice->GetChannel().GetLoopCount(), kEndlessLoops);
    MixFrames(quarter);
    EXPECT_TRUE(std::all_of(device.GetMixer().Accumulator().begin(), device.GetMixer().Accumulator().end(),
                            [](int32_t s) { return s == 0; }));
    MixFrames(3);
    EXPECT_EQ(device.GetMixer().Accumulator()[2], 1);
    device.DestroyVoice(voice);
}

TEST_F(VoiceTest, SeekingAStoppedStreamRefillsTheRingFromTheNewPlace)
{
    Voice* voice = device.Play(L"Ramp.WAV", false, true, false);
    const SoundBuffer& ring = *voice->GetChannel().GetBuffer();
    const int32_t quarter = ring.Frames() / 4;
    auto left = [&](int32_t frame) { return ring.Samples()[2 * frame]; };
    ASSERT_TRUE(WaitUntil([&] { return left(ring.Frames() - 1) != 0; }));
    voice->Seek(1.0f);
    EXPECT_EQ(voice->GetChannel().GetPosition(), 0);
    // From 1.0 s on the file holds 14100, 14101 ... for its last 0.5 s.
    EXPECT_TRUE(WaitUntil([&] { return left(quarter) == 14100 && left(quarter + 1) == 14101; }));
    EXPECT_EQ(left(quarter - 1), 0);
    device.DestroyVoice(voice);
}

TEST_F(VoiceTest, DestroyingAStreamedVoiceWaitsForItsThread)
{
    auto trace = std::make_shared<SlowSoundData::Trace>();
    SoundRef ref;
    ref.fileName = L"Slow";
    ref.streamed = true;
    ref.data = std::make_unique<SlowSoundData>(trace);
    Voice* voice = device.CreateVoice(ref);
    ASSERT_TRUE(WaitUntil([&] { return trace->reading.load(); }));
    FinishReadsShortly finish(*trace);
    device.DestroyVoice(voice);
    EXPECT_FALSE(trace->reading);
    EXPECT_TRUE(trace->destroyed);
    EXPECT_TRUE(device.GetCache().Entries().empty()) << "a stream's ring goes with its voice";
}

// The mixer can leave a position at the ring's end, which the stream takes
// as the ring's start; wherever the position stands, the stream fills up to
// the end once and overwrites nothing still to be played.
TEST(VoiceStream, RefillsStayInsideTheRingWhereverThePlayPositionStands)
{
    constexpr int32_t kFrames = 44100;
    constexpr int32_t kRingBytes = 4 * kFrames;
    for (const int32_t position : {kFrames, kFrames + 1, kFrames + 107}) {
        SoundBuffer ring(std::vector<int16_t>(2 * kFrames), 44100, true);
        Channel channel;
        channel.Init(&ring);
        channel.SetPosition(position);
        auto requests = std::make_shared<RingWatcher::Requests>();
        {
            VoiceStream stream(channel, std::make_unique<RingWatcher>(ring, requests));
            ASSERT_TRUE(WaitUntil([&] { return requests->furthest.load() >= kRingBytes; }));
        }
        EXPECT_EQ(requests->furthest.load(), kRingBytes) << "asked to write past the ring from " << position;
        EXPECT_EQ(requests->bytes.load(), kRingBytes * 3 / 4) << "only the three quarters after the silence";
        channel.Release();
    }
}
