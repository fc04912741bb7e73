#pragma once
// Damaged copies of a good file, made the same way on every run, and a file
// source that serves one copy from memory under the name the game asks for,
// so a loader can be fed thousands of copies without touching the disk.

#include "engine/files/Archive.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/PackArchive.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

using FileBytes = std::vector<uint8_t>;

// The bytes a reader trusts most: headers, counts, sizes and offsets.
struct ByteRange {
    size_t begin;
    size_t end;   // one past the last byte
};

struct DamagedCopy {
    std::string damage;   // what was done, for the failure message
    FileBytes bytes;
};

// The game's formats store their numbers little-endian. Bytes beyond the
// copy read as 0 and are not written.
inline uint32_t GetLittleEndian(const FileBytes& bytes, size_t at, size_t width)
{
    uint32_t value = 0;
    for (size_t i = 0; i < width && at + i < bytes.size(); ++i) {
        value |= static_cast<uint32_t>(bytes[at + i]) << (8 * i);
    }
    return value;
}

inline void PutLittleEndian(FileBytes& bytes, size_t at, uint32_t value)
{
    for (size_t i = 0; i < 4 && at + i < bytes.size(); ++i) {
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

inline FileBytes ReadWholeFile(const WideString& path)
{
    std::ifstream in(WideStringToNarrow(path), std::ios::binary);
    return FileBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A range of `length` bytes from every place the signature starts: the
// record headers of a ZIP file, the page headers of an Ogg stream.
inline std::vector<ByteRange> RangesAtSignature(const FileBytes& good, const std::string& signature, size_t length)
{
    std::vector<ByteRange> ranges;
    auto at = good.begin();
    while ((at = std::search(at, good.end(), signature.begin(), signature.end())) != good.end()) {
        const size_t begin = static_cast<size_t>(at - good.begin());
        ranges.push_back({begin, std::min(begin + length, good.size())});
        ++at;
    }
    return ranges;
}

// The file cut at every length below everyBelow and inside the trusted
// ranges, and at about `spaced` evenly spaced lengths elsewhere.
inline std::vector<DamagedCopy> CutCopies(const FileBytes& good, size_t everyBelow, size_t spaced,
                                          const std::vector<ByteRange>& trusted = {})
{
    const size_t step = std::max<size_t>(good.size() / std::max<size_t>(spaced, 1), 1);
    std::vector<DamagedCopy> copies;
    for (size_t length = 0; length < good.size(); ++length) {
        const bool inTrusted = std::any_of(trusted.begin(), trusted.end(), [&](const ByteRange& range) {
            return length >= range.begin && length < range.end;
        });
        if (length < everyBelow || inTrusted || length % step == 0) {
            copies.push_back({"cut to " + std::to_string(length) + " bytes",
                              FileBytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length))});
        }
    }
    return copies;
}

// Copies with 1 to 8 bytes overwritten, from the fixed seed 1. Three
// positions in four fall inside the trusted ranges, and half the values are
// the ones that make a little-endian count zero, negative or huge.
inline std::vector<DamagedCopy> OverwrittenCopies(const FileBytes& good, int32_t count,
                                                  const std::vector<ByteRange>& trusted)
{
    std::mt19937 random(1);
    const uint8_t extremes[] = {0x00, 0xFF, 0x7F, 0x80, 0x01};
    std::vector<DamagedCopy> copies;
    for (int32_t c = 0; c < count && !good.empty(); ++c) {
        DamagedCopy copy{"overwritten at", good};
        const uint32_t bytes = 1 + random() % 8;
        for (uint32_t b = 0; b < bytes; ++b) {
            size_t at = random() % good.size();
            if (!trusted.empty() && random() % 4 != 0) {
                const ByteRange& range = trusted[random() % trusted.size()];
                at = range.begin + random() % std::max<size_t>(range.end - range.begin, 1);
            }
            copy.bytes[at] = random() % 2 ? extremes[random() % std::size(extremes)] : static_cast<uint8_t>(random());
            copy.damage += " " + std::to_string(at);
        }
        copies.push_back(std::move(copy));
    }
    return copies;
}

// Reads as a loose file does: a seek past the end is allowed and reads
// nothing, a seek before the start is refused.
class MemoryStream : public Stream {
public:
    MemoryStream(const WideString& name, const FileBytes& bytes)
        : Stream(name, static_cast<int32_t>(bytes.size())), bytes_(bytes)
    {
    }

    void Seek(int32_t offset, int32_t origin) override
    {
        const int64_t base = origin == kSeekCurrent ? position_ : origin == kSeekEnd ? size_ : 0;
        const int64_t target = base + offset;
        if (target >= 0 && target <= INT32_MAX) {
            position_ = target;
        }
    }
    int32_t Tell() override { return static_cast<int32_t>(position_); }
    int32_t Read(void* buffer, int32_t count) override
    {
        const int64_t left = std::max<int64_t>(size_ - position_, 0);
        const int32_t delivered = static_cast<int32_t>(std::clamp<int64_t>(count, 0, left));
        if (delivered > 0) {
            std::memcpy(buffer, bytes_.data() + position_, static_cast<size_t>(delivered));
        }
        position_ += delivered;
        return delivered;
    }

private:
    const FileBytes& bytes_;
    int64_t position_ = 0;
};

// One file under the name the game asks for; the test swaps its bytes
// between loads. Names match as they do in the pack.
class MemoryFileArchive : public Archive {
public:
    explicit MemoryFileArchive(const WideString& name) : key_(PackArchive::MemberKey(name)) {}

    FileBytes bytes;

    bool CanRead(const WideString& name) override { return PackArchive::MemberKey(name) == key_; }
    bool CanWrite(const WideString&) override { return false; }
    std::unique_ptr<Stream> OpenRead(const WideString& name) override
    {
        return CanRead(name) ? std::make_unique<MemoryStream>(name, bytes) : nullptr;
    }
    bool FindFiles(std::vector<WideString>&, const WideString&, bool, bool) override { return false; }

private:
    WideString key_;
};

// The copy's source as the only mounted one, for the scope.
class MountedMemoryFile {
public:
    explicit MountedMemoryFile(const WideString& name)
    {
        auto archive = std::make_unique<MemoryFileArchive>(name);
        archive_ = archive.get();
        ArchiveList::Instance().UnmountAll();
        ArchiveList::Instance().Mount(std::move(archive));
    }
    ~MountedMemoryFile() { ArchiveList::Instance().UnmountAll(); }
    MountedMemoryFile(const MountedMemoryFile&) = delete;
    MountedMemoryFile& operator=(const MountedMemoryFile&) = delete;

    void Serve(const FileBytes& bytes) { archive_->bytes = bytes; }

private:
    MemoryFileArchive* archive_;
};
