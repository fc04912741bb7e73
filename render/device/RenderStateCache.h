#pragma once
// The render states last sent to Direct3D, so that setting a state to the
// value it already holds costs no call. Creation and every reset make it
// forget, since Direct3D then starts from its defaults.

#include <array>
#include <cstdint>

class RenderStateCache {
public:
    RenderStateCache() { Forget(); }

    // Whether the value must go to Direct3D; it is remembered when so.
    bool Update(uint32_t state, uint32_t value);
    // Fills every entry with a value no state is ever set to, so the next
    // set of each state reaches Direct3D.
    void Forget();

private:
    static constexpr uint32_t kStateCount = 209;   // D3DRENDERSTATETYPE 0 to 208; higher ones are never cached
    static constexpr uint32_t kUnknownValue = 0xFDFDFDFD;

    std::array<uint32_t, kStateCount> values_;
};
