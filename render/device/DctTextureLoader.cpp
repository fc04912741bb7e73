#include "render/device/DctTextureLoader.h"

#include "engine/core/LogHub.h"
#include "engine/files/ArchiveList.h"
#include "engine/video/TextureResource.h"
#include "engine/video/VideoDevice.h"

#include <d3d9.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int32_t kSupportedVersion = 2;
constexpr int32_t kHeaderBytes = 44;
// Larger than any texture Direct3D 9 hardware can hold.
constexpr int32_t kLargestEdge = 16384;

bool IsPowerOfTwo(int32_t size)
{
    return size > 0 && (size & (size - 1)) == 0;
}

// The levels a texture of this size can have: down to 1 x 1.
int32_t FullLevelCount(int32_t width, int32_t height)
{
    int32_t levels = 1;
    for (int32_t edge = std::max(width, height); edge > 1; edge /= 2) {
        ++levels;
    }
    return levels;
}

struct Header {
    float lodBias;
    int32_t imageWidth;
    int32_t imageHeight;
    int32_t format;   // TextureFormat
    int32_t levels;
    int32_t width;    // of level 0
    int32_t height;
};

// The image is the part of the texture the picture covers, so drawing and
// saving rectangles of its size stay inside the texture.
bool IsReadableSize(const Header& header)
{
    return header.width > 0 && header.height > 0 && header.width <= kLargestEdge && header.height <= kLargestEdge
        && header.imageWidth > 0 && header.imageHeight > 0 && header.imageWidth <= header.width
        && header.imageHeight <= header.height && header.levels >= 1
        && header.levels <= FullLevelCount(header.width, header.height);
}

// What the levels take in the file: each level's byte count and pixels, and
// the size of the next level between two levels.
int64_t LevelBytesInFile(const Header& header)
{
    int64_t bytes = 0;
    int32_t width = header.width;
    int32_t height = header.height;
    for (int32_t level = 0; level < header.levels; ++level) {
        bytes += 4 + TextureLevelLayout(header.format, width, height).ByteCount();
        if (level + 1 < header.levels) {
            bytes += 8;
        }
        width = std::max(width / 2, 1);
        height = std::max(height / 2, 1);
    }
    return bytes;
}

// One level from the stream into the texture: straight into the locked rows
// when the device took the file's format, else converted through a copy.
// False when the stream does not hold the level the sizes promise.
bool ReadLevel(Stream& in, TextureResource& texture, int32_t format, int32_t level, int32_t width, int32_t height)
{
    const LevelLayout layout = TextureLevelLayout(format, width, height);
    const int32_t bytes = in.ReadInt32();
    if (bytes != layout.ByteCount() || bytes > in.Remaining()) {
        return false;
    }
    const TextureRect rect{0, 0, width, height};
    if (texture.GetFormat() != format) {
        std::vector<uint8_t> pixels(static_cast<size_t>(bytes));
        in.Read(pixels.data(), bytes);
        texture.Upload(rect, level, {pixels.data(), layout.rowBytes}, format);
        return true;
    }
    const LockedPixels locked = texture.Lock(rect, level);
    if (!locked.pixels) {
        return false;
    }
    auto* row = static_cast<uint8_t*>(locked.pixels);
    for (int32_t y = 0; y < layout.rows; ++y, row += locked.pitch) {
        in.Read(row, layout.rowBytes);
    }
    texture.Unlock(level);
    return true;
}

} // namespace

int32_t DctTextureFormat(int32_t code)
{
    switch (code) {
    case 0:
        return kTextureArgb32;
    case 5:
        return kTextureRgb24;
    case 8:
        return kTextureDxt1;
    case 9:
        return kTextureDxt3;
    case 10:
        return kTextureDxt5;
    default:
        return -1;
    }
}

std::unique_ptr<TextureResource> DctTextureLoader::Decode(const WideString& path, VideoDevice& device)
{
    std::unique_ptr<Stream> in = OpenFile(path);
    char magic[3] = {};
    if (in->GetSize() < 10 || in->Read(magic, 3) != 3 || magic[0] != 'D' || magic[1] != 'C' || magic[2] != '2'
        || in->ReadInt32() != kSupportedVersion) {
        LogHub::Printf("%s is not a valid texture", path.c_str());
        return nullptr;
    }
    if (in->ReadInt32() != 1) {
        LogHub::PrintError("Multiframe texture %s is not supported", path.c_str());
        return nullptr;
    }
    Header header{};
    header.lodBias = in->ReadFloat();
    in->Skip(4);
    header.imageWidth = in->ReadInt32();
    header.imageHeight = in->ReadInt32();
    in->Skip(4);
    header.format = DctTextureFormat(static_cast<int8_t>(in->ReadByte()));
    if (header.format < 0) {
        in->ReportErrors();
        return nullptr;
    }
    header.levels = in->ReadInt32();
    header.width = in->ReadInt32();
    header.height = in->ReadInt32();
    // A size the file cannot hold is refused before the device is asked for
    // the memory: a damaged header can ask for a gigabyte.
    if (in->Tell() != kHeaderBytes || !IsReadableSize(header) || LevelBytesInFile(header) > in->Remaining()) {
        in->ReportErrors();
        return nullptr;
    }
    std::unique_ptr<TextureResource> texture = device.CreateTexture({header.format, kTextureKind2D, header.imageWidth,
                                                                     header.imageHeight, header.width, header.height,
                                                                     header.levels, false, false, false});
    if (!texture) {
        return nullptr;
    }
    texture->SetName(path);
    texture->SetLodBias(header.lodBias);
    // Direct3D cannot wrap or mipmap every size of texture on every adapter.
    if (!IsPowerOfTwo(header.width) || !IsPowerOfTwo(header.height)) {
        texture->SetAddressU(D3DTADDRESS_CLAMP);
        texture->SetAddressV(D3DTADDRESS_CLAMP);
        texture->SetMipmapping(false);
    }
    int32_t width = header.width;
    int32_t height = header.height;
    for (int32_t level = 0; level < header.levels; ++level) {
        if (!ReadLevel(*in, *texture, header.format, level, width, height)) {
            in->ReportErrors();
            return nullptr;
        }
        if (level + 1 < header.levels) {
            width = std::max(width / 2, 1);
            height = std::max(height / 2, 1);
            // Each level halves the one before, as Direct3D allocates them.
            if (in->ReadInt32() != width || in->ReadInt32() != height) {
                in->ReportErrors();
                return nullptr;
            }
        }
    }
    return texture;
}
