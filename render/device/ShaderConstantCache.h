#pragma once
// The shader constant registers as last uploaded, so that a variable whose
// bytes Direct3D already holds costs no upload. A record per register
// remembers which variable, at which change count, filled it last: a
// variable that has not changed since skips even the byte compare.

#include "engine/video/ElementRange.h"
#include "engine/video/FrameStatistics.h"

#include <cstdint>
#include <vector>

struct ShaderVariable;

class ShaderConstantCache {
public:
    static constexpr int32_t kRegisterBytes = 16;   // four floats

    void Resize(int32_t registers);
    // Fills every byte with 0xFD and forgets every record, so the next set
    // of each register reaches Direct3D.
    void Forget();

    // Whether the registers must be sent to Direct3D (then from Registers);
    // counts the upload or the skipped set. The variable's bytes fill the
    // registers from the first, as many as it has and the range holds. A
    // range outside the registers is refused.
    bool Update(const ElementRange& registers, const ShaderVariable& variable, FrameStatistics& statistics);

    const float* Registers(int32_t start) const;
    int32_t GetRegisterCount() const { return static_cast<int32_t>(records_.size()); }
    const uint8_t* Bytes() const { return bytes_.data(); }

private:
    struct Record {
        const ShaderVariable* variable;
        int32_t changeCount;
    };

    std::vector<uint8_t> bytes_;
    std::vector<Record> records_;
};
