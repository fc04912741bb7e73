#pragma once
// Direct3D states as last sent, so that setting a state to the value it
// already holds costs no call. Creation and every reset make the caches
// forget, since Direct3D then starts from its defaults.

#include <array>
#include <cstdint>

template <uint32_t Count>
class StateCache {
public:
    // Matches no value a state is ever set to.
    static constexpr uint32_t kUnknownValue = 0xFDFDFDFD;

    StateCache() { Forget(); }

    // Whether the value must go to Direct3D; it is remembered when so.
    // Entries beyond the cache are never remembered.
    bool Update(uint32_t entry, uint32_t value)
    {
        if (entry >= Count) {
            return true;
        }
        if (values_[entry] == value) {
            return false;
        }
        values_[entry] = value;
        return true;
    }

    uint32_t Get(uint32_t entry) const { return entry < Count ? values_[entry] : kUnknownValue; }
    void Forget() { values_.fill(kUnknownValue); }

private:
    std::array<uint32_t, Count> values_;
};

// D3DRENDERSTATETYPE 0 to 208.
using RenderStateCache = StateCache<209>;

// D3DSAMPLERSTATETYPE 1 to 13 of samplers 0 to 15.
constexpr uint32_t kSamplerStateSlots = 14;
using SamplerStateCache = StateCache<16 * kSamplerStateSlots>;

// D3DTEXTURESTAGESTATETYPE of stages 0 to 7.
constexpr uint32_t kTextureStageStateSlots = 32;
using TextureStageStateCache = StateCache<8 * kTextureStageStateSlots>;
