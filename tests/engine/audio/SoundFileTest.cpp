#include "engine/audio/OggSoundData.h"
#include "engine/audio/WavSoundData.h"
#include "tests/engine/audio/AudioTestSupport.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

class SoundFileTest : public testing::Test {
protected:
    MountedSounds sounds{L"audio"};
};

struct Delivery {
    int32_t bytes;
    std::vector<int16_t> samples;
};

Delivery ReadBytes(SoundData& data, int32_t count)
{
    Delivery delivery{0, std::vector<int16_t>(count / 2, 0x5555)};
    delivery.bytes = data.Read(delivery.samples.data(), count);
    return delivery;
}

std::vector<int16_t> Repeat(const std::vector<int16_t>& part, size_t times)
{
    std::vector<int16_t> all;
    for (size_t i = 0; i < times; ++i) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

bool AllZero(const std::vector<int16_t>& samples, size_t from)
{
    return std::all_of(samples.begin() + from, samples.end(), [](int16_t s) { return s == 0; });
}

// Reads a whole Ogg pass step by step, as a stream does.
int32_t ReadPass(SoundData& data)
{
    std::vector<int16_t> chunk(2048);
    int32_t total = 0;
    while (total < data.GetTotalBytes()) {
        const int32_t got = data.Read(chunk.data(), 4096);
        if (got <= 0) {
            break;
        }
        total += got;
    }
    return total;
}

const std::vector<int16_t> kShort16{1000, -1000, 2000, -2000, 3000, -3000};

} // namespace

TEST_F(SoundFileTest, WaveFilesOutsideTheExpectedLayoutAreRefusedAndSilent)
{
    struct Case { const wchar_t* file; const wchar_t* message; };
    for (const Case& c : std::initializer_list<Case>{
             {L"Audio\\NotRiff.WAV", L"Audio\\NotRiff.WAV is not an audiofile"},
             {L"Audio\\NotWave.WAV", L"Audio\\NotWave.WAV is not a wave file"},
             {L"Audio\\ListFirst.WAV", L"Audio\\ListFirst.WAV has no header"},
             {L"Audio\\BadFormat.WAV", L"Audio\\BadFormat.WAV has an invalid header"},
             {L"Audio\\Compressed.WAV", L"Audio\\Compressed.WAV doesn't have PCM encoding"},
             {L"Audio\\FactFirst.WAV", L"Audio\\FactFirst.WAV has no data"},
             {L"Audio\\Deep.WAV", L"Audio\\Deep.WAV has 24-bit samples"}}) {
        ScopedCapture log;
        WavSoundData data(c.file);
        EXPECT_TRUE(log->Contains(c.message)) << WideStringToNarrow(c.file);
        EXPECT_EQ(data.GetTotalBytes(), 0);
        const Delivery read = ReadBytes(data, 8);
        EXPECT_EQ(read.bytes, 0);
        EXPECT_TRUE(AllZero(read.samples, 0));
    }
}

TEST_F(SoundFileTest, EightBitSamplesArriveWidenedToSixteenBits)
{
    WavSoundData data(L"Audio\\Mono8.WAV");
    EXPECT_EQ(data.GetFormat().bitsPerSample, 16);
    EXPECT_EQ(data.GetFormat().channels, 1);
    EXPECT_EQ(data.GetFormat().bytesPerSecond, 44100);
    EXPECT_EQ(data.GetFormat().blockAlign, 2);
    EXPECT_EQ(data.GetTotalBytes(), 10);
    const Delivery read = ReadBytes(data, 10);
    EXPECT_EQ(read.bytes, 10);
    EXPECT_EQ(read.samples, (std::vector<int16_t>{-32768, -16384, 0, 16384, 32512}));
    EXPECT_FLOAT_EQ(data.Length(), 10.0f / 44100.0f);
}

TEST_F(SoundFileTest, LoopingReadsContinueFromTheStartAndCountPasses)
{
    WavSoundData endless(L"Audio\\Short16.WAV");
    endless.SetLoops(kEndlessLoops);
    Delivery read = ReadBytes(endless, 40);
    EXPECT_EQ(read.bytes, 40);
    const std::vector<int16_t> passes = Repeat(kShort16, 4);
    EXPECT_EQ(read.samples, std::vector<int16_t>(passes.begin(), passes.begin() + 20));

    WavSoundData twice(L"Audio\\Short16.WAV");
    twice.SetLoops(2);
    read = ReadBytes(twice, 40);
    EXPECT_EQ(read.bytes, 24);
    EXPECT_EQ(std::vector<int16_t>(read.samples.begin(), read.samples.begin() + 12), Repeat(kShort16, 2));
    EXPECT_TRUE(AllZero(read.samples, 12));

    WavSoundData once(L"Audio\\Short16.WAV");
    EXPECT_EQ(ReadBytes(once, 12).bytes, 12);
    read = ReadBytes(once, 12);
    EXPECT_EQ(read.bytes, 0);
    EXPECT_TRUE(AllZero(read.samples, 0));
}

TEST_F(SoundFileTest, SeekingCountsInBytesPerSecond)
{
    WavSoundData data(L"Audio\\Ramp.WAV");
    EXPECT_FLOAT_EQ(data.Length(), 1.5f);
    data.Seek(1.0f);
    EXPECT_FLOAT_EQ(data.Tell(), 1.0f);
    // Frame 44100 holds 44100 mod 30000 and its negative.
    EXPECT_EQ(ReadBytes(data, 4).samples, (std::vector<int16_t>{14100, -14100}));
    data.Seek(0.5f);
    EXPECT_EQ(ReadBytes(data, 4).samples, (std::vector<int16_t>{22050, -22050}));
    data.Seek(5.0f);
    EXPECT_EQ(ReadBytes(data, 4).bytes, 0);
}

TEST_F(SoundFileTest, DataSizeBeyondTheFileIsCutToTheFile)
{
    WavSoundData data(L"Audio\\Long.WAV");
    EXPECT_EQ(data.GetTotalBytes(), 400);
    data.SetLoops(2);
    EXPECT_EQ(ReadBytes(data, 2000).bytes, 800);
}

TEST_F(SoundFileTest, EmptyLoopingDataEndsAtOnce)
{
    WavSoundData data(L"Audio\\Empty.WAV");
    data.SetLoops(kEndlessLoops);
    const Delivery read = ReadBytes(data, 64);
    EXPECT_EQ(read.bytes, 0);
    EXPECT_TRUE(AllZero(read.samples, 0));
}

TEST_F(SoundFileTest, OggFilesReportTheirFormatAndLength)
{
    OggSoundData data(L"Audio\\Tone.OGG");
    EXPECT_EQ(data.GetFormat().formatTag, 1);
    EXPECT_EQ(data.GetFormat().channels, 2);
    EXPECT_EQ(data.GetFormat().sampleRate, 44100);
    EXPECT_EQ(data.GetFormat().bytesPerSecond, 176400);
    EXPECT_EQ(data.GetFormat().blockAlign, 4);
    EXPECT_EQ(data.GetTotalBytes(), 441000);
    EXPECT_FLOAT_EQ(data.Length(), 2.5f);
    data.Seek(1.0f);
    EXPECT_NEAR(data.Tell(), 1.0f, 0.001f);
}

TEST_F(SoundFileTest, OggReadsLoopAcrossTheEndOrEndInSilence)
{
    OggSoundData looping(L"Audio\\Tone.OGG");
    looping.SetLoops(kEndlessLoops);
    EXPECT_EQ(ReadPass(looping), 441000);
    EXPECT_GT(ReadBytes(looping, 4096).bytes, 0);
    EXPECT_LT(looping.Tell(), 0.1f);

    OggSoundData once(L"Audio\\Tone.OGG");
    EXPECT_EQ(ReadPass(once), 441000);
    const Delivery after = ReadBytes(once, 4096);
    EXPECT_EQ(after.bytes, 0);
    EXPECT_TRUE(AllZero(after.samples, 0));
}

TEST_F(SoundFileTest, WholeSoundsAreDecodedCompletely)
{
    for (const wchar_t* file : {L"Audio\\Short.OGG", L"Audio\\Tone.OGG"}) {
        OggSoundData data(file);
        const std::unique_ptr<SoundBuffer> buffer = SoundBuffer::FromSoundData(data, false);
        EXPECT_EQ(buffer->SizeInBytes(), data.GetTotalBytes()) << WideStringToNarrow(file);
        // The tone is loud to its end: no part of its last tenth is silence.
        const int32_t samples = buffer->SizeInBytes() / 2;
        const int16_t* last = buffer->Samples() + samples - samples / 10;
        const int16_t* end = buffer->Samples() + samples;
        const int16_t loudest = *std::max_element(last, end);
        EXPECT_GT(loudest, 20000) << WideStringToNarrow(file);
    }
}

TEST_F(SoundFileTest, StreamedBuffersHoldOneSecondOfSilence)
{
    OggSoundData data(L"Audio\\Tone.OGG");
    const std::unique_ptr<SoundBuffer> ring = SoundBuffer::FromSoundData(data, true);
    EXPECT_EQ(ring->Frames(), 44100);
    EXPECT_TRUE(ring->IsStereo());
    EXPECT_TRUE(std::all_of(ring->Samples(), ring->Samples() + 88200, [](int16_t s) { return s == 0; }));
    EXPECT_NEAR(data.Tell(), 0.0f, 0.0001f) << "nothing is read for a stream's ring";
}

TEST_F(SoundFileTest, InvalidOggFilesAreReportedAndSilent)
{
    ScopedCapture log;
    OggSoundData data(L"Audio\\NotOgg.OGG");
    EXPECT_TRUE(log->Contains(L"OGGLOADER: Audio\\NotOgg.OGG is not a valid OGG file"));
    EXPECT_EQ(data.GetTotalBytes(), 0);
    EXPECT_EQ(ReadBytes(data, 16).bytes, 0);
    EXPECT_EQ(data.Length(), 0.0f);
}

TEST_F(SoundFileTest, LoadersAreChosenByTheUpperCasedExtension)
{
    ScopedCapture log;
    EXPECT_EQ(FindSoundLoader(L"Click.wav")->Extensions().front(), L".WAV");
    EXPECT_EQ(FindSoundLoader(L"Audio\\Intro.Ogg")->Extensions().front(), L".OGG");
    EXPECT_EQ(FindSoundLoader(L"Theme.mp3"), nullptr);
    EXPECT_TRUE(log->Contains(L"SoundFactory: Sound Theme.mp3 cannot be decoded!"));
}

TEST(SilentSoundData, DeliversOneSecondOfSilenceOnRequest)
{
    SilentSoundData data;
    EXPECT_EQ(data.GetFileName(), L"Default");
    EXPECT_EQ(data.GetFormat().sampleRate, 22050);
    EXPECT_EQ(data.GetFormat().channels, 1);
    EXPECT_EQ(data.GetTotalBytes(), 44100);
    std::vector<int16_t> samples(50, 7);
    EXPECT_EQ(data.Read(samples.data(), 100), 100);
    EXPECT_TRUE(AllZero(samples, 0));
}
