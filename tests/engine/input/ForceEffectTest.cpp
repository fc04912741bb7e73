#include "engine/input/ForceEffect.h"

#include <windows.h>

#include <dinput.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

// An effect of a device that journals what it is told and keeps the
// type-specific parameters it was given.
class JournalEffect : public IDirectInputEffect {
public:
    JournalEffect(std::vector<std::string>& journal, GUID kind, bool readable = true)
        : journal_(journal), kind_(kind), readable_(readable)
    {
        const LONG initial[4] = {1, 2, 3, 4};
        std::memcpy(parameters_, initial, sizeof(initial));
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        journal_.push_back("release");
        return 1;
    }
    HRESULT STDMETHODCALLTYPE Initialize(HINSTANCE, DWORD, REFGUID) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetEffectGuid(GUID* kind) override
    {
        *kind = kind_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetParameters(DIEFFECT* effect, DWORD flags) override
    {
        if (!readable_) {
            return DIERR_INVALIDPARAM;
        }
        if ((flags & DIEP_TYPESPECIFICPARAMS) && effect->cbTypeSpecificParams >= sizeof(parameters_)) {
            std::memcpy(effect->lpvTypeSpecificParams, parameters_, sizeof(parameters_));
            effect->cbTypeSpecificParams = sizeof(parameters_);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetParameters(const DIEFFECT* effect, DWORD flags) override
    {
        const std::string download = (flags & DIEP_NODOWNLOAD) ? " later" : "";
        if (flags & DIEP_GAIN) {
            journal_.push_back("gain " + std::to_string(effect->dwGain) + download);
        }
        if (flags & DIEP_TYPESPECIFICPARAMS) {
            std::memcpy(parameters_, effect->lpvTypeSpecificParams, effect->cbTypeSpecificParams);
            journal_.push_back("magnitude " + std::to_string(parameters_[0]) + " of " +
                               std::to_string(effect->cbTypeSpecificParams) + download);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Start(DWORD iterations, DWORD) override
    {
        journal_.push_back(iterations == INFINITE ? "start endless" : "start " + std::to_string(iterations));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Stop() override
    {
        journal_.push_back("stop");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetEffectStatus(DWORD*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Download() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Unload() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Escape(DIEFFESCAPE*) override { return S_OK; }

    LONG parameters_[4];

private:
    std::vector<std::string>& journal_;
    GUID kind_;
    bool readable_;
};

TEST(ForceEffect, PlaysEndlesslyFromStartToStop)
{
    std::vector<std::string> journal;
    JournalEffect kick(journal, GUID_ConstantForce);
    JournalEffect hum(journal, GUID_Sine);
    {
        ForceEffect effect({&kick, &hum});
        effect.Start();
        effect.Start();   // already playing
        EXPECT_TRUE(effect.IsPlaying());
        effect.Stop();
        effect.Stop();
        EXPECT_FALSE(effect.IsPlaying());
        effect.Start();
        EXPECT_EQ(journal, (std::vector<std::string>{"start endless", "start endless", "stop", "stop",
                                                     "start endless", "start endless"}));
        journal.clear();
    }
    EXPECT_EQ(journal, (std::vector<std::string>{"stop", "release", "stop", "release"}));
}

TEST(ForceEffect, WithoutAControllerItNeverPlays)
{
    ForceEffect effect;
    effect.Start();
    EXPECT_FALSE(effect.IsPlaying());
}

TEST(ForceEffect, MagnitudeAndGainAreScaledAndLimited)
{
    struct Case {
        float value;
        bool download;
        std::string magnitude;
        std::string gain;
    };
    for (const Case& c : std::initializer_list<Case>{
             {0.5f, true, "magnitude 5000 of 16", "gain 5000"},
             {-0.25f, true, "magnitude -2500 of 16", "gain 0"},
             {3.0f, false, "magnitude 10000 of 16 later", "gain 10000 later"},
             {-7.0f, true, "magnitude -10000 of 16", "gain 0"},
             {std::nanf(""), true, "magnitude 0 of 16", "gain 0"}}) {
        std::vector<std::string> journal;
        JournalEffect hum(journal, GUID_Sine);
        ForceEffect effect({&hum});
        effect.SetMagnitude(c.value, c.download);
        effect.SetGain(c.value, c.download);
        EXPECT_EQ(journal, (std::vector<std::string>{c.magnitude, c.gain})) << c.value;
        // The rest of the parameters goes back as it was read.
        EXPECT_EQ(hum.parameters_[1], 2);
        EXPECT_EQ(hum.parameters_[3], 4);
    }
}

TEST(ForceEffect, MagnitudeLeavesAloneWhatItCannotSafelyChange)
{
    std::vector<std::string> journal;
    JournalEffect custom(journal, GUID_CustomForce);
    JournalEffect unreadable(journal, GUID_ConstantForce, false);
    JournalEffect ramp(journal, GUID_RampForce);
    ForceEffect effect({&custom, &unreadable, &ramp});
    effect.SetMagnitude(0.1f, true);
    EXPECT_EQ(journal, (std::vector<std::string>{"magnitude 1000 of 16"}));
    EXPECT_EQ(custom.parameters_[0], 1);
}

} // namespace
