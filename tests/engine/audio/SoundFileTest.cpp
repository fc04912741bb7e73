#include "engine/audio/OggSoundData.h"
#include "engine/audio/WavSoundData.h"
#include "tests/engine/audio/AudioTestSupport.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

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

// A file that claims far more bytes than anyone stored, as a damaged pack
// member can: its header, then zeros up to the claimed size.
class ClaimedSizeStream : public Stream {
public:
    ClaimedSizeStream(const WideString& name, std::vector<uint8_t> header, int32_t size)
        : Stream(name, size), header_(std::move(header))
    {
    }

    void Seek(int32_t offset, int32_t origin) override
    {
        const int32_t base = origin == kSeekStart ? 0 : origin == kSeekCurrent ? position_ : size_;
        position_ = std::clamp(base + offset, 0, size_);
    }
    int32_t Tell() override { return position_; }
    int32_t Read(void* buffer, int32_t count) override
    {
        const int32_t got = std::clamp(size_ - position_, 0, std::max(count, 0));
        uint8_t* bytes = static_cast<uint8_t*>(buffer);
        std::memset(bytes, 0, got);
        for (int32_t i = 0; i < got && position_ + i < static_cast<int32_t>(header_.size()); ++i) {
            bytes[i] = header_[position_ + i];
        }
        position_ += got;
        return got;
    }

private:
    std::vector<uint8_t> header_;
    int32_t position_ = 0;
};

// Holds the one claimed file.
class ClaimedSizeArchive : public Archive {
public:
    ClaimedSizeArchive(const WideString& name, std::vector<uint8_t> header, int32_t size)
        : name_(name), header_(std::move(header)), size_(size)
    {
    }

    bool CanRead(const WideString& name) override { return name == name_; }
    bool CanWrite(const WideString&) override { return false; }
    std::unique_ptr<Stream> OpenRead(const WideString& name) override
    {
        return CanRead(name) ? std::make_unique<ClaimedSizeStream>(name_, header_, size_) : nullptr;
    }
    bool FindFiles(std::vector<WideString>&, const WideString&, bool, bool) override { return false; }

private:
    WideString name_;
    std::vector<uint8_t> header_;
    int32_t size_;
};

// The header of an 8-bit mono PCM WAV file whose data chunk claims the size.
std::vector<uint8_t> EightBitWaveHeader(int32_t bytesPerSecond, int32_t dataBytes)
{
    std::vector<uint8_t> header;
    auto text = [&](const char* tag) { header.insert(header.end(), tag, tag + 4); };
    auto value = [&](int64_t v, int32_t bytes) {
        for (int32_t i = 0; i < bytes; ++i) {
            header.push_back(static_cast<uint8_t>(v >> (8 * i)));
        }
    };
    text("RIFF");
    value(36 + static_cast<int64_t>(dataBytes), 4);
    text("WAVE");
    text("fmt ");
    value(16, 4);
    value(kPcmFormatTag, 2);
    value(1, 2);
    value(22050, 4);
    value(bytesPerSecond, 4);
    value(1, 2);
    value(8, 2);
    text("data");
    value(dataBytes, 4);
    return header;
}

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

// Widened to 16 bits, more than 1 GiB of 8-bit data would not fit the sizes.
TEST_F(SoundFileTest, HugeEightBitFilesKeepTheirSizesPositiveAndAreNeverDecodedWhole)
{
    constexpr int32_t kHuge = 1536 * 1024 * 1024;
    constexpr int32_t kWidest = INT32_MAX / 2 * 2;
    struct Case { int32_t bytesPerSecond; int32_t dataBytes; int32_t totalBytes; int32_t deliveredPerSecond; };
    for (const Case& c : std::initializer_list<Case>{
             {22050, kHuge, kWidest, 44100},
             {kHuge, kHuge, kWidest, kWidest},
             {kHuge, 100, 200, kWidest}}) {
        std::vector<uint8_t> header = EightBitWaveHeader(c.bytesPerSecond, c.dataBytes);
        const int32_t size = static_cast<int32_t>(header.size()) + c.dataBytes;
        ArchiveList::Instance().Mount(std::make_unique<ClaimedSizeArchive>(L"Audio\\Huge8.WAV", header, size));
        WavSoundData data(L"Audio\\Huge8.WAV");
        EXPECT_EQ(data.GetTotalBytes(), c.totalBytes) << c.dataBytes;
        EXPECT_EQ(data.GetFormat().bytesPerSecond, c.deliveredPerSecond) << c.bytesPerSecond;
        EXPECT_GE(data.Length(), 0.0f);

        ScopedCapture log;
        std::unique_ptr<SoundBuffer> whole;
        ASSERT_NO_THROW(whole = SoundBuffer::FromSoundData(data, false));
        if (c.totalBytes > 64 * 1024 * 1024) {
            EXPECT_EQ(whole->Frames(), 0);
            EXPECT_TRUE(log->Contains(L"Audio\\Huge8.WAV is too long to be played without streaming"));
        }
        EXPECT_EQ(SoundBuffer::FromSoundData(data, true)->Frames(), 22050) << "it still streams";
        ArchiveList::Instance().UnmountAll();
    }
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
