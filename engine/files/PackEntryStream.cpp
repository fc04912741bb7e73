#include "engine/files/PackEntryStream.h"

#include <minizip/unzip.h>

#include <algorithm>

namespace {

constexpr int32_t kScratchBytes = 4096;
// Deflate makes at most this many bytes of each byte it stores.
constexpr uint64_t kLargestDeflateExpansion = 1032;

// The member's size as far as its stored data can hold it: a damaged
// directory may claim more, and readers size their records by what is left.
int32_t BelievableSize(const unz_file_info& info)
{
    const uint64_t stored = info.compressed_size;
    const uint64_t most = info.compression_method == 0 ? stored : stored * kLargestDeflateExpansion;
    return static_cast<int32_t>(std::min<uint64_t>({info.uncompressed_size, most, INT32_MAX}));
}

} // namespace

PackEntryStream::PackEntryStream(const std::string& packPath, const WideString& name, const PackPosition& position)
    : Stream(name, -1)
    , pack_(unzOpen(packPath.c_str()))
{
    if (!pack_) {
        return;
    }
    unz_file_pos filePosition{position.directoryOffset, position.memberNumber};
    unz_file_info info;
    if (unzGoToFilePos(pack_, &filePosition) == UNZ_OK && unzOpenCurrentFile(pack_) == UNZ_OK
        && unzGetCurrentFileInfo(pack_, &info, nullptr, 0, nullptr, 0, nullptr, 0) == UNZ_OK) {
        size_ = BelievableSize(info);
    }
}

PackEntryStream::~PackEntryStream()
{
    if (pack_) {
        unzClose(pack_);
    }
}

void PackEntryStream::Seek(int32_t offset, int32_t origin)
{
    if (size_ < 0) {
        return;
    }
    const int32_t base = origin == kSeekCurrent ? Tell() : origin == kSeekEnd ? size_ : 0;
    const int32_t target = std::clamp(base + offset, 0, size_);
    if (target < Tell()) {
        unzCloseCurrentFile(pack_);
        unzOpenCurrentFile(pack_);
    }
    Drop(target - Tell());
}

// Reads and discards through one fixed scratch buffer, whatever the distance.
void PackEntryStream::Drop(int32_t count)
{
    char scratch[kScratchBytes];
    while (count > 0) {
        const int32_t delivered = Read(scratch, std::min(count, kScratchBytes));
        if (delivered <= 0) {
            return;
        }
        count -= delivered;
    }
}

int32_t PackEntryStream::Tell()
{
    return size_ < 0 ? 0 : static_cast<int32_t>(unztell(pack_));
}

int32_t PackEntryStream::Read(void* buffer, int32_t count)
{
    if (size_ < 0 || count <= 0) {
        return 0;
    }
    const int delivered = unzReadCurrentFile(pack_, buffer, static_cast<unsigned>(count));
    if (delivered > 0) {
        return delivered;
    }
    // Damaged data, or data that ends before the size the directory states:
    // what was read is all the member holds, so loaders that trust the size
    // stop here instead of reading nothing for as long as it claims.
    if (delivered < 0 || Tell() < size_) {
        ReportErrors();
        size_ = Tell();
    }
    return 0;
}
