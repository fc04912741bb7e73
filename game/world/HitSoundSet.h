#pragma once
// The collision sound of one kind of surface (wood, metal, a cone ...),
// shared by every movable world object of that kind: eight voices of the
// sound family "Audio\<name>*.WAV", each a file of the family picked at
// random, taken in turn. All objects of the kind together sound at most
// once per frame, so a pile knocked loose at once gives one sound.

#include "game/world/WorldObjectExtension.h"

#include "engine/files/WideString.h"

#include <cstdint>
#include <vector>

class AudioDevice;
class Voice;

class HitSoundSet : public WorldObjectExtension {
public:
    static constexpr int32_t kVoiceCount = 8;
    static constexpr float kMinDistance = 25.0f;
    static constexpr float kMaxDistance = 250.0f;

    // Silent, with "<name> not found" logged, when the family has no files;
    // silent without an audio device.
    explicit HitSoundSet(const WideString& name);
    ~HitSoundSet() override;

    // Restarts the next voice at the position, unless the set sounded in this frame.
    void OnHit(const Vec3& position) override;

    const std::vector<Voice*>& GetVoices() const { return voices_; }

private:
    AudioDevice* audio_;
    std::vector<Voice*> voices_;
    int32_t nextVoice_ = 0;
    int32_t lastFrame_ = 0;
};
