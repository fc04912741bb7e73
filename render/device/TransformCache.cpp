#include "render/device/TransformCache.h"

#include "render/shaders/ShaderVariable.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// What a fixed-function input takes when no variable supplies it.
constexpr float kDefaultValue[4] = {0.0f, 0.0f, 0.0f, 1.0f};

constexpr float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

std::array<TransformCache, 3>& TransformCaches()
{
    static std::array<TransformCache, 3> caches = [] {
        std::array<TransformCache, 3> fresh{};
        for (TransformCache& cache : fresh) {
            std::memcpy(cache.matrix, kIdentity, sizeof kIdentity);
        }
        return fresh;
    }();
    return caches;
}

// Copies the bytes into the cache unless it holds them already.
bool CopyIfDifferent(void* cache, const void* data, size_t bytes)
{
    if (bytes == 0 || std::memcmp(cache, data, bytes) == 0) {
        return false;
    }
    std::memcpy(cache, data, bytes);
    return true;
}

// Bytes the variable holds from the offset on, at most byteCount.
size_t AvailableBytes(const ShaderVariable& variable, int32_t byteCount, int32_t offset)
{
    if (offset < 0 || byteCount <= 0 || static_cast<uint32_t>(offset) >= variable.size) {
        return 0;
    }
    return std::min<size_t>(byteCount, variable.size - offset);
}

} // namespace

bool UpdateMatrixIfChanged(ValueCacheSlot& slot, int32_t byteCount, const ShaderVariable& variable, void* cache)
{
    return UpdateValueIfChanged(slot, byteCount, &variable, cache, 0);
}

bool UpdateValueIfChanged(ValueCacheSlot& slot, int32_t byteCount, const ShaderVariable* variable, void* cache,
                          int32_t offset)
{
    if (!variable) {
        if (!slot.lastVariable || offset < 0 || offset + byteCount > static_cast<int32_t>(sizeof kDefaultValue)) {
            return false;
        }
        slot.lastVariable = nullptr;
        return CopyIfDifferent(cache, reinterpret_cast<const uint8_t*>(kDefaultValue) + offset, byteCount);
    }
    if (variable == slot.lastVariable && variable->changeCount == slot.lastChangeCount) {
        return false;
    }
    slot.lastVariable = variable;
    slot.lastChangeCount = variable->changeCount;
    const auto* data = static_cast<const uint8_t*>(variable->Data());
    if (!data) {
        return false;
    }
    return CopyIfDifferent(cache, data + offset, AvailableBytes(*variable, byteCount, offset));
}

bool UpdateInvertedColourIfChanged(ValueCacheSlot& slot, const ShaderVariable* first, const ShaderVariable* second,
                                   float colour[4])
{
    const auto invert = [colour] {
        for (int i = 0; i < 3; ++i) {
            colour[i] = 1.0f - colour[i];
        }
    };
    invert();
    const bool colourChanged = UpdateValueIfChanged(slot, 12, first, colour, 0);
    invert();
    const bool alphaChanged = UpdateValueIfChanged(slot, 4, second, colour + 3, 12);
    return colourChanged || alphaChanged;
}

bool UpdateDoubledColourIfChanged(ValueCacheSlot& slot, const ShaderVariable* variable, float colour[4])
{
    for (int i = 0; i < 4; ++i) {
        colour[i] *= 0.5f;
    }
    const bool changed = UpdateValueIfChanged(slot, 16, variable, colour, 0);
    for (int i = 0; i < 4; ++i) {
        colour[i] *= 2.0f;
    }
    return changed;
}

TransformCache& GetTransformCache(int32_t index)
{
    return TransformCaches()[std::clamp(index, 0, 2)];
}

void ResetTransformCaches()
{
    for (TransformCache& cache : TransformCaches()) {
        std::memcpy(cache.matrix, kIdentity, sizeof kIdentity);
        cache.slot.lastChangeCount = -1;
    }
}
