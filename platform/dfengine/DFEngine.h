#pragma once
// The interface of the component "DFEngine.dll": named items (textures whose
// names begin "DFS_" or "DFD_", the item "DFM_Coin"), told about frames and
// zones. The program reaches it only through the export CreateDFEngine.

#include <cstdint>

// An item the component hands out; textures read its picture.
struct DFItem {
    int32_t width = 0;
    int32_t height = 0;
    int32_t pixelFormat = 0;   // 0 and 2: 24-bit, 1 and 3: 32-bit
    const uint8_t* pixels = nullptr;
    int32_t changed = 0;       // the picture changed since it was last read
};

class DFEngine {
public:
    virtual int32_t Init(int32_t version, const char* folder) = 0;
    virtual void Shutdown() = 0;
    // 0 or more when the item exists and was stored in item; negative otherwise.
    virtual int32_t GetItem(const char* name, DFItem* item) = 0;
    virtual void ReleaseItem(DFItem* item) = 0;
    virtual void PreShutdown(int32_t reserved) = 0;
    virtual void Update(float frameTime) = 0;
    virtual void EnterZone(const char* zone) = 0;
    virtual void PreEnterZone(int32_t reserved, float seconds) = 0;

protected:
    ~DFEngine() = default;   // the component owns and frees itself at Shutdown
};

// The version the program initialises the component with.
constexpr int32_t kDFEngineVersion = 0x1020000;

using CreateDFEngineFunction = DFEngine* (*)();
