#include "engine/audio/DS8Audio.h"
#include "engine/audio/IntroMusic.h"
#include "tests/engine/audio/AudioTestSupport.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>

namespace {

// Tells which handles heard their sound end, in order.
class RecordingHandle : public VoiceHandle {
public:
    RecordingHandle(std::vector<int>& told, int number) : told_(told), number_(number) {}
    void OnFinished() override { told_.push_back(number_); }

private:
    std::vector<int>& told_;
    int number_;
};

// Stereo data whose reads wait at a gate until the test opens it, so a
// decoding can be caught under way. A gate nobody opens lets reads through
// after ten seconds, so that a failing run still ends.
class GatedSoundData : public SoundData {
public:
    struct Gate {
        Event open{false};
        std::atomic<int32_t> waiting{0};
    };

    explicit GatedSoundData(std::shared_ptr<Gate> gate) : SoundData(L"Gated"), gate_(std::move(gate))
    {
        format_ = {kPcmFormatTag, 2, 44100, 176400, 4, 16};
        totalBytes_ = 400;
    }

    int32_t Read(void* destination, int32_t count) override
    {
        ++gate_->waiting;
        gate_->open.WaitFor(10000);
        --gate_->waiting;
        std::memset(destination, 0, count);
        return count;
    }
    void Seek(float) override {}
    float Tell() override { return 0.0f; }

private:
    std::shared_ptr<Gate> gate_;
};

// A device that was never opened, as without a sound card: everything works
// but the mixer thread, whose chunks the tests mix by hand.
class AudioDeviceTest : public testing::Test {
protected:
    void MixFrames(int32_t frames) { device.GetMixer().Mix(frames * Mixer::kBytesPerFrame); }

    size_t OneShots()
    {
        CriticalSectionLock lock(device.GetDeviceLock());
        return device.OneShotCount();
    }

    size_t CacheEntries()
    {
        CriticalSectionLock lock(device.GetDeviceLock());
        return device.GetCache().Entries().size();
    }

    // A handle that outlives the device, which may still write to it as it goes.
    VoiceHandle& NewHandle() { return handles.emplace_back(); }

    // Asks until a loader takes the request, which its handle shows at once:
    // a loader is free for the next request only once it is done with its last.
    bool PlayOnceWhenALoaderIsFree(SoundRef& ref, VoiceHandle& handle)
    {
        return WaitUntil([&] {
            device.PlayOnceSound(ref, 1.0f, &handle);
            return handle.voice != nullptr;
        });
    }

    std::deque<VoiceHandle> handles;
    MountedSounds sounds{L"audio"};
    DS8Audio device;
};

SoundRef GatedSound(const std::shared_ptr<GatedSoundData::Gate>& gate)
{
    SoundRef ref;
    ref.fileName = L"Gated";
    ref.data = std::make_unique<GatedSoundData>(gate);
    return ref;
}

} // namespace

TEST_F(AudioDeviceTest, MissingSoundsGiveASilentDefaultVoiceOrNothing)
{
    ScopedCapture log;
    Voice* voice = device.Play(L"Nothing.WAV", false, false, false);
    ASSERT_NE(voice, nullptr);
    EXPECT_TRUE(log->Contains(L"SoundFactory: Sound ^1Nothing.WAV^7 not found!"));
    EXPECT_EQ(device.GetCache().Entries().front().fileName, L"Default");
    voice->Play(false);
    MixFrames(100);
    EXPECT_EQ(*std::max_element(device.GetMixer().Accumulator().begin(), device.GetMixer().Accumulator().end()), 0);
    device.DestroyVoice(voice);

    // A loader that takes a request hands its handle the voice at once.
    VoiceHandle& once = NewHandle();
    VoiceHandle& placed = NewHandle();
    device.PlayOnce(L"Nothing.WAV", 1.0f, &once);
    device.PlayAt(L"Nothing.WAV", {}, 1.0f, 10.0f, 1.0f, &placed);
    EXPECT_EQ(once.voice, nullptr);
    EXPECT_EQ(placed.voice, nullptr);
    EXPECT_EQ(OneShots(), 0u);
}

TEST_F(AudioDeviceTest, OneShotsWithoutVolumeAreNotEvenLookedUp)
{
    ScopedCapture log;
    device.PlayOnce(L"Nothing.WAV", 0.0f, nullptr);
    device.PlayOnce(L"Nothing.WAV", -1.0f, nullptr);
    device.PlayAt(L"Nothing.WAV", {}, 1.0f, 10.0f, 0.0f, nullptr);
    EXPECT_TRUE(log->lines.empty());
}

TEST_F(AudioDeviceTest, VoicesOfOneFileShareOneCacheEntryUntilBothAreGone)
{
    Voice* first = device.Play(L"Short16.WAV", false, false, false);
    Voice* second = device.Play(L"Short16.WAV", false, false, false);
    ASSERT_EQ(CacheEntries(), 1u);
    EXPECT_EQ(first->GetChannel().GetBuffer(), second->GetChannel().GetBuffer());
    EXPECT_EQ(device.GetCache().Entries().front().fileName, L"AUDIO\\SHORT16.WAV");
    EXPECT_EQ(first->GetChannel().GetBuffer()->Users(), 2);
    device.DestroyVoice(first);
    EXPECT_EQ(CacheEntries(), 1u);
    device.DestroyVoice(second);
    EXPECT_EQ(CacheEntries(), 0u);
}

TEST_F(AudioDeviceTest, StreamedVoicesGetARingOfTheirOwn)
{
    Voice* streamed = device.Play(L"Tone.OGG", false, true, false);
    Voice* whole = device.Play(L"Tone.OGG", false, false, false);
    Voice* again = device.Play(L"Tone.OGG", false, true, false);
    EXPECT_EQ(CacheEntries(), 3u);
    EXPECT_NE(whole->GetChannel().GetBuffer(), streamed->GetChannel().GetBuffer());
    EXPECT_EQ(whole->GetChannel().GetBuffer()->SizeInBytes(), 441000);
    EXPECT_EQ(again->GetChannel().GetBuffer()->SizeInBytes(), 176400);
    for (Voice* voice : {streamed, whole, again}) {
        device.DestroyVoice(voice);
    }
    EXPECT_EQ(CacheEntries(), 0u) << "each destruction frees one entry without users";
}

TEST_F(AudioDeviceTest, FifthOneShotIsDroppedWhileAllFourLoadersAreBusy)
{
    std::vector<VoiceHandle*> requests;
    {
        // The loaders wait for the device lock, so none finishes meanwhile.
        CriticalSectionLock lock(device.GetDeviceLock());
        for (int i = 0; i < 5; ++i) {
            requests.push_back(&NewHandle());
            device.PlayOnce(L"Short16.WAV", 1.0f, requests.back());
        }
    }
    for (int i = 0; i < 4; ++i) {
        EXPECT_NE(requests[i]->voice, nullptr) << "request " << i;
    }
    EXPECT_EQ(requests[4]->voice, nullptr) << "the fifth request is dropped, not kept for later";
    EXPECT_TRUE(WaitUntil([&] { return OneShots() == 4u; }));

    SoundRef next;
    ASSERT_TRUE(device.FindSound(L"Short16.WAV", next));
    EXPECT_TRUE(PlayOnceWhenALoaderIsFree(next, NewHandle())) << "a free loader takes the next request";
    EXPECT_TRUE(WaitUntil([&] { return OneShots() == 5u; }));
}

TEST_F(AudioDeviceTest, EndedOneShotsAreReapedOnePerFrameAndTheirHandlesTold)
{
    std::vector<int> told;
    std::vector<std::unique_ptr<RecordingHandle>> handles;
    for (int i = 0; i < 3; ++i) {
        handles.push_back(std::make_unique<RecordingHandle>(told, i));
        device.PlayOnce(L"Short16.WAV", 1.0f, handles.back().get());
        EXPECT_NE(handles.back()->voice, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return OneShots() == static_cast<size_t>(i + 1); }));
    }
    EXPECT_TRUE(handles[0]->voice->IsPlaying());
    MixFrames(10);   // the sound is 3 frames long
    device.Update(0.02f);
    EXPECT_EQ(told, std::vector<int>{0});
    EXPECT_EQ(handles[0]->voice, nullptr);
    EXPECT_NE(handles[1]->voice, nullptr);
    EXPECT_EQ(OneShots(), 2u);
    device.Update(0.02f);
    device.Update(0.02f);
    EXPECT_EQ(told, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(CacheEntries(), 0u);
    device.Update(0.02f);
    EXPECT_EQ(told.size(), 3u);
}

TEST_F(AudioDeviceTest, OneShotVolumesAreClampedToFull)
{
    std::vector<int> told;
    RecordingHandle handle(told, 0);
    device.PlayOnce(L"Short16.WAV", 3.0f, &handle);
    ASSERT_TRUE(WaitUntil([&] { return OneShots() == 1u; }));
    EXPECT_EQ(handle.voice->GetEffectiveVolume(), 1.0f);
    EXPECT_EQ(handle.voice->GetChannel().GetLeftGain(), kFullGain);
    MixFrames(1);
    EXPECT_EQ(device.GetMixer().Accumulator()[0], 1000);
    device.ReleaseHandle(&handle);
}

TEST_F(AudioDeviceTest, ReleasedHandlesAreNeverTold)
{
    std::vector<int> told;
    auto handle = std::make_unique<RecordingHandle>(told, 7);
    {
        CriticalSectionLock lock(device.GetDeviceLock());
        device.PlayOnce(L"Short16.WAV", 1.0f, handle.get());
        device.ReleaseHandle(handle.get());   // while its sound is still being loaded
    }
    handle.reset();
    ASSERT_TRUE(WaitUntil([&] { return OneShots() == 1u; }));
    MixFrames(10);
    device.Update(0.02f);
    EXPECT_EQ(OneShots(), 0u);
    EXPECT_TRUE(told.empty());
}

TEST_F(AudioDeviceTest, OneShotDestroyedWhileLoadingIsNeverPlayed)
{
    std::vector<int> told;
    RecordingHandle handle(told, 0);
    {
        CriticalSectionLock lock(device.GetDeviceLock());   // its loader waits
        device.PlayOnce(L"Short16.WAV", 1.0f, &handle);
        ASSERT_NE(handle.voice, nullptr);
        device.DestroyVoice(handle.voice);
        EXPECT_EQ(handle.voice, nullptr) << "the handle must not keep the destroyed voice";
    }
    // Sounds whose decoding waits at a gate: once every loader has taken
    // one, the destroyed request's loader is done with it, and no one-shot
    // can start before the gate opens.
    auto gate = std::make_shared<GatedSoundData::Gate>();
    for (int i = 0; i < DS8Audio::kLoaderCount; ++i) {
        SoundRef gated = GatedSound(gate);
        ASSERT_TRUE(PlayOnceWhenALoaderIsFree(gated, NewHandle())) << "every loader is free again";
    }
    EXPECT_EQ(OneShots(), 0u);
    MixFrames(10);
    device.Update(0.02f);
    EXPECT_TRUE(told.empty());
    gate->open.Set();
    EXPECT_TRUE(WaitUntil([&] { return OneShots() == 4u; }));
}

// An owner told that its sound ended may go at once, releasing its handle,
// and may stop its other sounds.
TEST_F(AudioDeviceTest, OwnersToldOfAnEndMayReleaseTheirHandleAndStopOtherSounds)
{
    struct Owner : VoiceHandle {
        void OnFinished() override
        {
            ++told;
            voiceWhenTold = voice;
            if (onFinished) {
                onFinished();
            }
        }
        std::function<void()> onFinished;
        int told = 0;
        Voice* voiceWhenTold = nullptr;
    };
    Owner ending;
    Owner other;
    ending.onFinished = [&] {
        device.ReleaseHandle(&ending);
        device.DestroyVoice(other.voice);
    };
    device.PlayOnce(L"Short16.WAV", 1.0f, &ending);
    device.PlayOnce(L"Ramp.WAV", 1.0f, &other);
    ASSERT_TRUE(WaitUntil([&] { return OneShots() == 2u; }));
    ending.voice->Stop();
    device.Update(0.02f);
    EXPECT_EQ(ending.told, 1);
    EXPECT_EQ(ending.voiceWhenTold, nullptr) << "the ended voice is gone before its owner hears of it";
    EXPECT_EQ(other.voice, nullptr);
    EXPECT_EQ(OneShots(), 0u);
    device.Update(0.02f);
    EXPECT_EQ(ending.told, 1);
    EXPECT_EQ(other.told, 0);
}

TEST_F(AudioDeviceTest, OneShotsDecodeWithoutHoldingUpTheMainThread)
{
    auto gate = std::make_shared<GatedSoundData::Gate>();
    for (int i = 0; i < 2; ++i) {
        SoundRef ref = GatedSound(gate);
        device.PlayOnceSound(ref, 1.0f, nullptr);
    }
    ASSERT_TRUE(WaitUntil([&] { return gate->waiting.load() == 2; })) << "the loaders decode one after the other";
    EXPECT_EQ(OneShots(), 0u);   // takes the device lock
    EXPECT_EQ(gate->waiting.load(), 2) << "the main thread waited for the decoding";
    gate->open.Set();
    ASSERT_TRUE(WaitUntil([&] { return OneShots() == 2u; }));
    EXPECT_EQ(CacheEntries(), 1u) << "a sound decoded twice at once is kept once";
}

TEST_F(AudioDeviceTest, PositionalOneShotsArePlacedWhenTheyStart)
{
    std::vector<int> told;
    RecordingHandle inside(told, 0);
    RecordingHandle beyond(told, 1);
    device.PlayAt(L"Short16.WAV", {4.0f, 0.0f, 0.0f}, 2.0f, 6.0f, 0.5f, &inside);
    device.PlayAt(L"Short16.WAV", {0.0f, 0.0f, 9.0f}, 2.0f, 6.0f, 1.0f, &beyond);
    ASSERT_TRUE(WaitUntil([&] { return OneShots() == 2u; }));
    EXPECT_FLOAT_EQ(inside.voice->GetChannel().GetVolume(), 0.25f);
    EXPECT_FLOAT_EQ(inside.voice->GetChannel().GetPan(), 1.0f);
    EXPECT_EQ(beyond.voice->GetChannel().GetRoutine(), MixRoutine::kAdvance);
    device.ReleaseHandle(&inside);
    device.ReleaseHandle(&beyond);
}

TEST_F(AudioDeviceTest, MasterVolumeOnlyMutesAtZero)
{
    Voice* voice = device.Play(L"Short16.WAV", false, false, false);
    voice->Play(true);
    device.SetMasterVolume(0.3f);
    MixFrames(1);
    EXPECT_EQ(device.GetMixer().Accumulator()[0], 1000);
    device.SetMasterVolume(0.0f);
    MixFrames(1);
    EXPECT_EQ(device.GetMixer().Accumulator()[0], 0);
    EXPECT_EQ(voice->GetChannel().GetPosition(), 2);
    device.SetMasterVolume(1.0f);
    device.DestroyVoice(voice);
}

TEST_F(AudioDeviceTest, ShutdownWaitsForEveryThreadBeforeFreeingWhatTheyUse)
{
    auto trace = std::make_shared<SlowSoundData::Trace>();
    std::vector<int> told;
    RecordingHandle handle(told, 0);
    auto owned = std::make_unique<DS8Audio>();
    SoundRef ref;
    ref.fileName = L"Slow";
    ref.streamed = true;
    ref.data = std::make_unique<SlowSoundData>(trace);
    owned->CreateVoice(ref)->Play(true);
    owned->Play(L"Ramp.WAV", false, true, false)->Play(true);
    owned->Play(L"Short16.WAV", false, false, false);
    owned->PlayOnce(L"Short16.WAV", 1.0f, &handle);
    ASSERT_TRUE(WaitUntil([&] { return trace->reading.load(); }));
    FinishReadsShortly finish(*trace);
    owned.reset();
    EXPECT_TRUE(trace->destroyed);
    EXPECT_FALSE(trace->reading);
    EXPECT_EQ(handle.voice, nullptr);
}

TEST(SampleSounds, LoadThroughTheGamesOwnReaders)
{
    struct Case { const wchar_t* name; int32_t rate; int16_t channels; float seconds; };
    MountedSounds sounds(L"sample");
    DS8Audio device;
    for (const Case& c : std::initializer_list<Case>{
             {L"Click.WAV", 22050, 1, 0.03f},
             {L"Engine.WAV", 22050, 1, 0.5f},
             {L"Burst.WAV", 22050, 1, 0.4f},
             {L"Intro.OGG", 44100, 2, 8.0f}}) {
        SoundRef ref;
        ASSERT_TRUE(device.FindSound(c.name, ref)) << WideStringToNarrow(c.name);
        EXPECT_EQ(ref.data->GetFormat().sampleRate, c.rate);
        EXPECT_EQ(ref.data->GetFormat().channels, c.channels);
        EXPECT_NEAR(ref.data->Length(), c.seconds, 0.001f) << WideStringToNarrow(c.name);
        const std::unique_ptr<SoundBuffer> buffer = SoundBuffer::FromSoundData(*ref.data, false);
        const int16_t* samples = buffer->Samples();
        const int16_t peak = *std::max_element(samples, samples + buffer->SizeInBytes() / 2);
        EXPECT_GT(peak, 5000) << WideStringToNarrow(c.name);
    }
}

TEST(SampleSounds, TheEngineToneLoopsWithoutAJump)
{
    MountedSounds sounds(L"sample");
    DS8Audio device;
    SoundRef ref;
    ASSERT_TRUE(device.FindSound(L"Engine.WAV", ref));
    const std::unique_ptr<SoundBuffer> buffer = SoundBuffer::FromSoundData(*ref.data, false);
    const int16_t* samples = buffer->Samples();
    const int32_t count = buffer->Frames();
    int32_t largestStep = 0;
    for (int32_t i = 1; i < count; ++i) {
        largestStep = std::max(largestStep, std::abs(samples[i] - samples[i - 1]));
    }
    EXPECT_LE(std::abs(samples[0] - samples[count - 1]), largestStep);
}

TEST(SampleSounds, IntroMusicStreamsLoopingInTheMusicGroup)
{
    MountedSounds sounds(L"sample");
    DS8Audio device;
    SoundGroup music;
    music.SetVolume(0.5f);
    Voice* voice = StartIntroMusic(device, music);
    EXPECT_TRUE(voice->IsStreamed());
    EXPECT_TRUE(voice->IsPlaying());
    EXPECT_EQ(voice->GetGroup(), &music);
    EXPECT_FLOAT_EQ(voice->GetEffectiveVolume(), 0.5f);
    EXPECT_FLOAT_EQ(voice->GetLength(), 8.0f);
    EXPECT_EQ(voice->GetChannel().GetLoopCount(), kEndlessLoops);
    const SoundBuffer& ring = *voice->GetChannel().GetBuffer();
    EXPECT_TRUE(WaitUntil([&] {
        return std::any_of(ring.Samples() + ring.Frames() / 2, ring.Samples() + ring.Frames(),
                           [](int16_t s) { return s != 0; });
    }));
    device.DestroyVoice(voice);
    EXPECT_TRUE(music.Members().empty());
}
