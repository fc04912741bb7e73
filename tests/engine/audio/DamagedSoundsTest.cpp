// Sound files, damaged every way a copy can be cut short or overwritten,
// decoded whole and read as a stream: each load returns, each stream ends,
// and a sound that stays silent is reported under the file's name.

#include "engine/audio/SoundBuffer.h"
#include "engine/audio/SoundLoaderFactory.h"
#include "tests/support/DamagedCopies.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr size_t kWaveHeaderBytes = 44;
constexpr size_t kWaveDataSizeAt = 40;
constexpr size_t kOggPageHeadBytes = 64;   // the page header, its segment table and the start of a packet
// More reads than any of the fixtures needs for two passes, however it is damaged.
constexpr int32_t kMostStreamReads = 20000;

// The Ogg page checksum: CRC-32 of polynomial 0x04C11DB7, unreflected, from
// 0, over the page with its checksum field zeroed.
uint32_t OggChecksum(const uint8_t* page, size_t size)
{
    uint32_t crc = 0;
    for (size_t i = 0; i < size; ++i) {
        crc ^= static_cast<uint32_t>(page[i]) << 24;
        for (int bit = 0; bit < 8; ++bit) {
            crc = crc & 0x80000000u ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        }
    }
    return crc;
}

// Makes the checksum of every whole page match its damaged bytes, so the
// damage reaches the decoder instead of being dropped with its page.
void MendOggChecksums(FileBytes& bytes)
{
    for (const ByteRange& found : RangesAtSignature(bytes, "OggS", 27)) {
        const size_t page = found.begin;
        const size_t segments = page + 27 <= bytes.size() ? bytes[page + 26] : bytes.size();
        size_t size = 27 + segments;
        for (size_t s = 0; s < segments && page + size <= bytes.size(); ++s) {
            size += bytes[page + 27 + s];
        }
        if (page + size > bytes.size()) {
            continue;   // a page cut short has no checksum to mend
        }
        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(page + 22), 4, 0);
        const uint32_t crc = OggChecksum(bytes.data() + page, size);
        for (size_t i = 0; i < 4; ++i) {
            bytes[page + 22 + i] = static_cast<uint8_t>(crc >> (8 * i));
        }
    }
}

struct SoundKind {
    const char* what;
    const wchar_t* fixture;
    const wchar_t* name;        // as the game asks for it
    size_t cutEveryBelow;
    size_t cutSpaced;
    int32_t overwrites;
    // Damage only this Ogg header page (0 states the format, 1 holds the
    // comments and the codebooks) and mend its checksum so the damage is not
    // dropped with the page; none when negative.
    int32_t mendedPage;
};

void PrintTo(const SoundKind& kind, std::ostream* out)
{
    *out << kind.what;
}

std::vector<ByteRange> TrustedBytes(const SoundKind& kind, const FileBytes& good)
{
    if (std::wstring_view(kind.name).ends_with(L".OGG")) {
        return RangesAtSignature(good, "OggS", kOggPageHeadBytes);
    }
    return {{0, kWaveHeaderBytes}};
}

std::vector<DamagedCopy> CopiesOf(const SoundKind& kind, const FileBytes& good)
{
    if (kind.mendedPage >= 0) {
        const std::vector<ByteRange> pages = RangesAtSignature(good, "OggS", 0);
        const auto page = good.begin() + static_cast<std::ptrdiff_t>(pages.at(kind.mendedPage).begin);
        const auto rest = good.begin() + static_cast<std::ptrdiff_t>(pages.at(kind.mendedPage + 1).begin);
        std::vector<DamagedCopy> copies = OverwrittenCopies(FileBytes(page, rest), kind.overwrites, {});
        for (DamagedCopy& copy : copies) {
            copy.damage += " of page " + std::to_string(kind.mendedPage);
            copy.bytes.insert(copy.bytes.begin(), good.begin(), page);
            copy.bytes.insert(copy.bytes.end(), rest, good.end());
            MendOggChecksums(copy.bytes);
        }
        return copies;
    }
    const std::vector<ByteRange> trusted = TrustedBytes(kind, good);
    std::vector<DamagedCopy> copies = CutCopies(good, kind.cutEveryBelow, kind.cutSpaced, trusted);
    for (DamagedCopy& copy : OverwrittenCopies(good, kind.overwrites, trusted)) {
        copies.push_back(std::move(copy));
    }
    return copies;
}

// A WAV copy whose data chunk states no bytes is an empty sound, which is no
// error: nothing tells it from a file written empty.
bool StatesNoSamples(const SoundKind& kind, const FileBytes& bytes)
{
    if (!std::wstring_view(kind.name).ends_with(L".WAV") || bytes.size() < kWaveHeaderBytes) {
        return false;
    }
    return std::all_of(bytes.begin() + kWaveDataSizeAt, bytes.begin() + kWaveHeaderBytes,
                       [](uint8_t byte) { return byte == 0; });
}

// Reads into a buffer that goes on past the bytes asked for, filled with a
// guard pattern: a reader that delivers more than it was asked for, or writes
// past them, changes the guard. Reused from read to read.
class GuardedReads {
public:
    static constexpr uint8_t kGuard = 0xA5;

    // What the data answered; a failure is added when the guard changed.
    int32_t Read(SoundData& data, int32_t wanted, const std::string& what)
    {
        buffer_.assign(static_cast<size_t>(wanted) + kGuardBytes, kGuard);
        const int32_t got = data.Read(buffer_.data(), wanted);
        const auto guard = buffer_.begin() + wanted;
        if (std::any_of(guard, buffer_.end(), [](uint8_t byte) { return byte != kGuard; })) {
            ADD_FAILURE() << what << ": a read of " << wanted << " bytes wrote past them";
        }
        EXPECT_LE(got, wanted) << what;
        return got;
    }

private:
    // As long as the longest read, so that a reader that writes a whole
    // second piece stays inside the buffer.
    static constexpr int32_t kGuardBytes = 8194;
    std::vector<uint8_t> buffer_;
};

// Reads two passes in pieces of changing sizes, as a streaming voice asks
// for them; whether the data came to its end.
bool StreamsToItsEnd(SoundData& data, GuardedReads& reads, const std::string& what)
{
    const int32_t pieces[] = {4096, 1000, 6, 8194, 3};
    data.SetLoops(2);
    for (int32_t read = 0; read < kMostStreamReads; ++read) {
        if (reads.Read(data, pieces[read % std::size(pieces)], what) <= 0) {
            return true;
        }
    }
    return false;
}

class DamagedSounds : public testing::TestWithParam<SoundKind> {
protected:
    DamagedSounds() { RegisterSoundLoaders(); }
};

} // namespace

TEST_P(DamagedSounds, DecodeOrStaySilentAndReported)
{
    const SoundKind& kind = GetParam();
    const FileBytes good = ReadWholeFile(FixturePath(kind.fixture));
    ASSERT_GT(good.size(), kWaveHeaderBytes) << kind.what;
    MountedMemoryFile source(kind.name);
    SoundLoaderFactory* loader = FindSoundLoader(kind.name);
    ASSERT_NE(loader, nullptr);

    source.Serve(good);
    ASSERT_GT(SoundBuffer::FromSoundData(*loader->Create(kind.name), false)->Frames(), 0) << kind.what;

    GuardedReads reads;

    for (const DamagedCopy& copy : CopiesOf(kind, good)) {
        source.Serve(copy.bytes);
        ScopedCapture log;
        const std::unique_ptr<SoundData> whole = loader->Create(kind.name);
        const std::unique_ptr<SoundBuffer> decoded = SoundBuffer::FromSoundData(*whole, false);
        if (decoded->Frames() == 0 && !StatesNoSamples(kind, copy.bytes)) {
            EXPECT_TRUE(log->Contains(kind.name)) << copy.damage << ": silent, unreported";
        }

        const std::unique_ptr<SoundData> streamed = loader->Create(kind.name);
        const std::unique_ptr<SoundBuffer> ring = SoundBuffer::FromSoundData(*streamed, true);
        EXPECT_TRUE(StreamsToItsEnd(*streamed, reads, copy.damage)) << copy.damage << ": the stream never ends";
        streamed->Seek(streamed->Length() / 2);
        reads.Read(*streamed, 512, copy.damage + ", after a seek");
        EXPECT_GE(streamed->Tell(), 0.0f) << copy.damage;
    }
}

// Damage that must be reported, and sound that must be read as far as it goes.
TEST(DamagedSoundFiles, ReadAsWellAsTheyCanBeAndReported)
{
    constexpr size_t kOggRateAt = 40;   // in the identification header on the first page
    // The setup header: its type and "vorbis", the number of codebooks, then the
    // first codebook's sync, size of its vectors, entries and flags, and then the
    // code lengths of its entries.
    constexpr size_t kFirstCodeLengthsAt = 17;
    struct Case {
        const char* what;
        const wchar_t* fixture;
        const wchar_t* name;
        std::function<void(FileBytes&)> damage;
        const wchar_t* logged;
        std::optional<int32_t> totalBytes;
    };
    const std::vector<Case> cases{
        {"a data size of 0xFFFFFFFF, as recorders leave it, is cut to the file",
         L"audio\\Audio\\Short16.WAV", L"Audio\\Damaged.WAV",
         [](FileBytes& bytes) { PutLittleEndian(bytes, kWaveDataSizeAt, 0xFFFFFFFFu); },
         L"Audio\\Damaged.WAV contains errors", 12},
        {"cut inside the data size", L"audio\\Audio\\Short16.WAV", L"Audio\\Damaged.WAV",
         [](FileBytes& bytes) { bytes.resize(kWaveDataSizeAt + 2); }, L"Audio\\Damaged.WAV contains errors", 0},
        {"cut after the headers, before any sound", L"audio\\Audio\\Short.OGG", L"Audio\\Damaged.OGG",
         [](FileBytes& bytes) { bytes.resize(RangesAtSignature(bytes, "OggS", 0).at(2).begin); },
         L"OGGLOADER: Audio\\Damaged.OGG is not a valid OGG file", 0},
        {"a rate of 2^31-1 is refused as unplayable", L"audio\\Audio\\Short.OGG",
         L"Audio\\Damaged.OGG",
         [](FileBytes& bytes) {
             PutLittleEndian(bytes, kOggRateAt, 0x7FFFFFFF);
             MendOggChecksums(bytes);
         },
         L"Audio\\Damaged.OGG has a sample format that cannot be played", std::nullopt},
        {"code lengths that form no prefix code are refused with the header, "
         "before any decoding", L"audio\\Audio\\Tone.OGG", L"Audio\\Damaged.OGG",
         [](FileBytes& bytes) {
             bytes.at(RangesAtSignature(bytes, "\x05" "vorbis", 0).at(0).begin + kFirstCodeLengthsAt) = 0;
             MendOggChecksums(bytes);
         },
         L"OGGLOADER: Audio\\Damaged.OGG is not a valid OGG file", 0}};
    RegisterSoundLoaders();
    for (const Case& c : cases) {
        FileBytes bytes = ReadWholeFile(FixturePath(c.fixture));
        c.damage(bytes);
        MountedMemoryFile source(c.name);
        source.Serve(bytes);
        ScopedCapture log;
        const std::unique_ptr<SoundData> data = FindSoundLoader(c.name)->Create(c.name);
        SoundBuffer::FromSoundData(*data, false);
        // A streaming voice reads on after a step that failed.
        GuardedReads reads;
        for (int read = 0; read < 2; ++read) {
            reads.Read(*data, 512, c.what);
        }
        EXPECT_TRUE(log->Contains(c.logged)) << c.what;
        EXPECT_GE(data->GetFormat().bytesPerSecond, 0) << c.what;
        if (c.totalBytes) {
            EXPECT_EQ(data->GetTotalBytes(), *c.totalBytes) << c.what;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, DamagedSounds,
    testing::Values(
        SoundKind{"stereo 16-bit WAV", L"audio\\Audio\\Short16.WAV", L"Audio\\Damaged.WAV", 1000, 0, 300, -1},
        SoundKind{"mono 8-bit WAV", L"audio\\Audio\\Mono8.WAV", L"Audio\\Damaged.WAV", 1000, 0, 300, -1},
        SoundKind{"sample WAV", L"sample\\Audio\\Click.WAV", L"Audio\\Damaged.WAV", 64, 200, 300, -1},
        SoundKind{"OGG", L"audio\\Audio\\Short.OGG", L"Audio\\Damaged.OGG", 128, 300, 300, -1},
        SoundKind{"OGG format page with its checksum mended", L"audio\\Audio\\Short.OGG", L"Audio\\Damaged.OGG", 0, 0,
                  400, 0},
        SoundKind{"OGG codebook page with its checksum mended", L"audio\\Audio\\Short.OGG", L"Audio\\Damaged.OGG", 0,
                  0, 400, 1}),
    [](const testing::TestParamInfo<SoundKind>& info) {
        std::string name;
        for (const char* c = info.param.what; *c; ++c) {
            if (std::isalnum(static_cast<unsigned char>(*c))) {
                name += *c;
            }
        }
        return name;
    });
