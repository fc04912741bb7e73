#include "engine/input/ForceEffect.h"

#include <windows.h>

#include <dinput.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// DirectInput counts magnitudes and gains in ten-thousandths.
constexpr float kDirectInputScale = 10000.0f;
// Room for the type-specific parameters of every effect kind a file holds.
constexpr DWORD kTypeSpecificBytes = 48;

// value x 10000, limited to the range; a value that is no number counts as 0.
LONG ScaleToDirectInput(float value, LONG low, LONG high)
{
    const float scaled = std::isnan(value) ? 0.0f : value * kDirectInputScale;
    return static_cast<LONG>(std::clamp(scaled, static_cast<float>(low), static_cast<float>(high)));
}

// A custom force starts with its channel count, which no magnitude may replace.
bool HasLeadingMagnitude(IDirectInputEffect* effect)
{
    GUID kind{};
    return SUCCEEDED(effect->GetEffectGuid(&kind)) && !IsEqualGUID(kind, GUID_CustomForce);
}

DWORD ParameterFlags(DWORD parameters, bool download)
{
    return download ? parameters : parameters | DIEP_NODOWNLOAD;
}

} // namespace

ForceEffect::ForceEffect(std::vector<IDirectInputEffect*> effects)
    : effects_(std::move(effects))
    , hasController_(true)
{
}

ForceEffect::~ForceEffect()
{
    for (IDirectInputEffect* effect : effects_) {
        effect->Stop();
        effect->Release();
    }
}

void ForceEffect::Start()
{
    if (!hasController_ || playing_) {
        return;
    }
    playing_ = true;
    for (IDirectInputEffect* effect : effects_) {
        effect->Start(INFINITE, 0);
    }
}

void ForceEffect::Stop()
{
    if (!playing_) {
        return;
    }
    playing_ = false;
    for (IDirectInputEffect* effect : effects_) {
        effect->Stop();
    }
}

void ForceEffect::SetMagnitude(float m, bool download)
{
    const LONG magnitude = ScaleToDirectInput(m, -DI_FFNOMINALMAX, DI_FFNOMINALMAX);
    for (IDirectInputEffect* effect : effects_) {
        if (!HasLeadingMagnitude(effect)) {
            continue;
        }
        uint8_t parameters[kTypeSpecificBytes] = {};
        DIEFFECT description{};
        description.dwSize = sizeof(description);
        description.cbTypeSpecificParams = sizeof(parameters);
        description.lpvTypeSpecificParams = parameters;
        // Writing back parameters that were never read would send garbage to the device.
        if (FAILED(effect->GetParameters(&description, DIEP_TYPESPECIFICPARAMS))) {
            continue;
        }
        // Constant and periodic forces start with their magnitude, a ramp with its
        // start value, a condition with its offset.
        std::memcpy(parameters, &magnitude, sizeof(magnitude));
        effect->SetParameters(&description, ParameterFlags(DIEP_TYPESPECIFICPARAMS, download));
    }
}

void ForceEffect::SetGain(float g, bool download)
{
    DIEFFECT description{};
    description.dwSize = sizeof(description);
    description.dwGain = static_cast<DWORD>(ScaleToDirectInput(g, 0, DI_FFNOMINALMAX));
    for (IDirectInputEffect* effect : effects_) {
        effect->SetParameters(&description, ParameterFlags(DIEP_GAIN, download));
    }
}
