#pragma once
// The compare-then-copy rule of the fixed-function inputs (transforms,
// material and light values): a value is sent to Direct3D only when its
// variable changed since it was last seen and its bytes differ from the ones
// sent. Each input keeps the variable it came from and its change count.

#include <cstdint>

struct ShaderVariable;

struct ValueCacheSlot {
    const ShaderVariable* lastVariable = nullptr;
    int32_t lastChangeCount = -1;
};

// True when the cache took new bytes (at most the variable's), which the
// caller then sends.
bool UpdateMatrixIfChanged(ValueCacheSlot& slot, int32_t byteCount, const ShaderVariable& variable, void* cache);
// The same for a value that starts offset bytes into the variable's data. A
// missing variable stands for {0, 0, 0, 1}, taken once.
bool UpdateValueIfChanged(ValueCacheSlot& slot, int32_t byteCount, const ShaderVariable* variable, void* cache,
                          int32_t offset);
// A colour Direct3D holds as 1 - v in red, green and blue: those from the
// first variable, alpha from the fourth float of the second.
bool UpdateInvertedColourIfChanged(ValueCacheSlot& slot, const ShaderVariable* first, const ShaderVariable* second,
                                   float colour[4]);
// A colour Direct3D holds doubled.
bool UpdateDoubledColourIfChanged(ValueCacheSlot& slot, const ShaderVariable* variable, float colour[4]);

// The world, view and projection transforms last sent, shared by all
// devices (there is one).
struct TransformCache {
    ValueCacheSlot slot;
    float matrix[16];
};

enum TransformCacheIndex : int32_t {
    kWorldTransform = 0,
    kViewTransform = 1,
    kProjectionTransform = 2,
};

TransformCache& GetTransformCache(int32_t index);
// Identity matrices and no change count seen: after a reset Direct3D holds its defaults.
void ResetTransformCaches();
