#pragma once
// A sound of the world at a marker's place, of the family
// "Audio\Ambient\<name>*.WAV" of its sound name. A family of one file loops
// from the start; a family of several plays one of them at random every 5
// to 10 seconds while the camera is within the maximum distance, and at once
// when the camera comes back within it. A family without files stays silent.

#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/math/Vec3.h"

#include <vector>

class Voice;

class dcAmbientSound : public MessageReceiver {
    DC_RECEIVER(dcAmbientSound, MessageReceiver)
public:
    static constexpr float kShortestPause = 5.0f;   // seconds between random sounds
    static constexpr float kLongestPause = 10.0f;

    dcAmbientSound(const Vec3& position, float minDistance, float maxDistance);
    ~dcAmbientSound() override;

    // Once, after the place and the distances.
    void SetSound(const WideString& name);

    // The sound name of a "SOUND" marker: the name without its time-of-day
    // word ("SOUND_NIGHT_Crickets" plays "Crickets" at any time of day).
    static WideString SoundNameOfMarker(const WideString& markerName);

    const std::vector<WideString>& GetFiles() const { return files_; }
    Voice* GetLoopVoice() const { return loopVoice_; }

protected:
    void OnUpdate(const dcUpdate& message);

private:
    Voice* loopVoice_ = nullptr;
    std::vector<WideString> files_;   // below the sound folder: "Ambient\Crickets1.WAV"
    Vec3 position_;
    float countdown_ = 0.0f;   // seconds until a random sound may play
    float minDistance_;
    float maxDistance_;        // also how near the camera must be for random sounds
};
// handlers: dcUpdate -> OnUpdate
