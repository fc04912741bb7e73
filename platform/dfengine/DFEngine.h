#pragma once
// The interface of the component "DFEngine.dll": named items (textures whose
// names begin "DFS_" or "DFD_", the item "DFM_Coin"), told about frames and
// zones. The program reaches it only through the export CreateDFEngine.

#include <cstdint>

// An item's picture as the component hands it out.
struct DFImage {
    int32_t width = 0;
    int32_t height = 0;
    int32_t reserved[2] = {};   // filled by the component, never read
    int32_t format = 0;         // 0 and 2: 24-bit, 1 and 3: 32-bit
    const uint8_t* pixels = nullptr;   // rows back to back, width x bytes per pixel apart
    uint8_t hasNewPixels = 0;   // the picture changed since it was last read
};

// An item the component hands out (a texture's picture, the coin). The
// component owns it; the program gives it back with DFEngine::ReleaseItem.
class DFEngineItem {
public:
    // How many pixels the item covered on screen in this frame, 0 when it
    // could not be measured; reserved is 0.
    virtual void ReportScreenArea(int32_t reserved, int32_t* area) = 0;
    virtual void GetImage(DFImage& image) = 0;

protected:
    ~DFEngineItem() = default;
};

class DFEngine {
public:
    virtual int32_t Init(int32_t version, const char* folder) = 0;
    virtual void Shutdown() = 0;
    // 0 or more when the item exists and was stored in item; negative otherwise.
    virtual int32_t GetItem(const char* name, DFEngineItem** item) = 0;
    virtual void ReleaseItem(DFEngineItem* item) = 0;
    virtual void PreShutdown(int32_t reserved) = 0;
    virtual void Update(float frameTime) = 0;
    virtual void EnterZone(const char* zone) = 0;
    // The component's eighth operation, which the program never calls. It
    // keeps its slot so that PreEnterZone sits where the component has it.
    virtual void Unused() {}
    virtual void PreEnterZone(int32_t reserved, float seconds) = 0;

protected:
    ~DFEngine() = default;   // the component owns and frees itself at Shutdown
};

// The version the program initialises the component with.
constexpr int32_t kDFEngineVersion = 0x1020000;

using CreateDFEngineFunction = DFEngine* (*)();
