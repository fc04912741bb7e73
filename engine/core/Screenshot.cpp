#include "engine/core/Screenshot.h"

#include "engine/core/LogHub.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/FileWriteStream.h"

namespace {

constexpr uint8_t kUncompressedTrueColour = 2;
constexpr uint8_t kBitsPerPixel = 32;

void WriteHeader(FileWriteStream& out, int32_t width, int32_t height)
{
    const uint8_t start[3] = {0, 0, kUncompressedTrueColour};
    out.Write(start, sizeof start);
    const uint8_t noColourMap[5] = {};
    out.Write(noColourMap, sizeof noColourMap);
    out.WriteInt16(0);   // x origin
    out.WriteInt16(0);   // y origin
    out.WriteInt16(static_cast<int16_t>(width));
    out.WriteInt16(static_cast<int16_t>(height));
    out.WriteByte(kBitsPerPixel);
    out.WriteByte(0);    // bottom-left origin
}

} // namespace

WideString NextScreenshotName()
{
    WideString name;
    for (int32_t n = 1;; ++n) {
        FormatWideString(name, "Shot%04d.TGA", n);
        if (!FileExists(name)) {
            return name;
        }
    }
}

void WriteScreenshot(const WideString& name, const std::vector<uint32_t>& pixels, int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * static_cast<size_t>(height)) {
        LogHub::PrintError("dcEngine: %s not written, the grabbed screen is incomplete", name.c_str());
        return;
    }
    FileWriteStream out(name);
    WriteHeader(out, width, height);
    for (int32_t row = height - 1; row >= 0; --row) {
        out.Write(pixels.data() + static_cast<size_t>(row) * width, width * 4);
    }
}
