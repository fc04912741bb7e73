#pragma once
// A car's voices: two engine loops cross-faded by engine speed, the skid
// loop, the gear change and the crash sounds of six strengths. All are
// positional and play in the effects sound group. Without an audio device
// (or one that keeps no voices) the car has none, and every operation does
// nothing.

#include "engine/files/WideString.h"
#include "engine/math/Vec3.h"

#include <array>
#include <cstdint>
#include <vector>

class Voice;
class VehicleType;

class CarSounds {
public:
    static constexpr int32_t kCrashClasses = 6;

    // What the engine and skid voices follow in one step.
    struct Drive {
        Vec3 position;
        float engineRpm = 0.0f;
        float wheelieAmount = 0.0f;
        float throttle = 0.0f;
        bool wrecked = false;
        bool skidding = false;      // on the ground and the skid test holds
        bool wheelSpin = false;     // the skid volume jumps instead of easing
    };

    // "Vehicles\<type>\Engine_1.WAV" and the rest, and every "Audio\Crash<d>*.WAV".
    explicit CarSounds(const WideString& typeName);
    ~CarSounds();
    CarSounds(const CarSounds&) = delete;
    CarSounds& operator=(const CarSounds&) = delete;

    // The engine and skid loops start silent, as the car enters the scene.
    void Start();
    void Stop();
    void PlayGearChange();
    // The crash class of an impact: 5 above 250, 4 above 100, 3 above 60, 2 above 25, 1 above 10, else 0.
    static int32_t CrashClass(float impact);
    // A random voice of the class, once, at the point.
    void PlayCrash(int32_t crashClass, const Vec3& position);
    void Update(const VehicleType& type, const Drive& drive, float dt);

private:
    void DestroyVoices();
    void UpdateEngine(const VehicleType& type, const Drive& drive, float dt);

    Voice* engine1_ = nullptr;
    Voice* engine2_ = nullptr;
    Voice* skid_ = nullptr;
    Voice* gear_ = nullptr;
    std::array<std::vector<Voice*>, kCrashClasses> crashes_;
};
