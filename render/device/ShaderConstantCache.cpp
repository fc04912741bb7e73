#include "render/device/ShaderConstantCache.h"

#include "render/shaders/ShaderVariable.h"

#include <algorithm>
#include <cstring>

namespace {

// Matches no value a shader is ever given.
constexpr uint8_t kUnknownByte = 0xFD;

} // namespace

void ShaderConstantCache::Resize(int32_t registers)
{
    bytes_.resize(static_cast<size_t>(registers) * kRegisterBytes);
    records_.resize(static_cast<size_t>(registers));
    Forget();
}

void ShaderConstantCache::Forget()
{
    std::fill(bytes_.begin(), bytes_.end(), kUnknownByte);
    std::fill(records_.begin(), records_.end(), Record{nullptr, -1});
}

bool ShaderConstantCache::Update(const ElementRange& registers, const ShaderVariable& variable,
                                 FrameStatistics& statistics)
{
    const void* data = variable.Data();
    const int32_t first = registers.start;
    const int32_t last = registers.start + registers.count - 1;
    if (!data || first < 0 || registers.count <= 0 || last >= GetRegisterCount()) {
        return false;
    }
    if (records_[first].variable == &variable && records_[last].variable == &variable) {
        if (records_[first].changeCount == variable.changeCount) {
            return false;
        }
        records_[first].changeCount = variable.changeCount;
    } else {
        records_[first] = {&variable, variable.changeCount};
        for (int32_t r = first + 1; r < last; ++r) {
            records_[r] = {nullptr, -1};
        }
        records_[last] = {&variable, variable.changeCount};
    }
    const size_t bytes = std::min<size_t>(variable.size, static_cast<size_t>(registers.count) * kRegisterBytes);
    uint8_t* cached = bytes_.data() + static_cast<size_t>(first) * kRegisterBytes;
    if (std::memcmp(cached, data, bytes) == 0) {
        ++statistics.skippedConstantSets;
        return false;
    }
    ++statistics.constantUploads;
    std::memcpy(cached, data, bytes);
    return true;
}

const float* ShaderConstantCache::Registers(int32_t start) const
{
    return reinterpret_cast<const float*>(bytes_.data() + static_cast<size_t>(start) * kRegisterBytes);
}
