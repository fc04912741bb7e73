#pragma once
// A keyframed motion from a ".DCA" file: named tracks (one per animated bone)
// and keys, each with a duration and one transform per track. Owners load
// their own copy; nothing is cached or shared.

#include "engine/files/WideString.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"

#include <cstdint>
#include <vector>

class Stream;

// A bone's transform in its parent's space at one key.
struct TrackKey {
    Vec3 position;
    Quaternion rotation;
};

struct AnimationKey {
    float duration = 0.0f;   // seconds from this key to the next; above zero in every loaded file
    std::vector<TrackKey> trackKeys;   // one per track, in track order
};

class Animation {
public:
    // The name's extension is replaced by ".DCA". A missing file is silent;
    // a file too short to be one is reported only when asked. Whatever is
    // refused leaves an empty animation, which owners keep and use as such.
    Animation(const WideString& fileName, bool reportFailure);

    // The sum of the durations of all keys but the last when looping (the
    // last key only ends the loop), else the full length.
    float GetLength(bool loop) const { return loop ? loopLength_ : fullLength_; }
    // The first track of exactly this name (with case), or -1.
    int32_t FindTrack(const WideString& name) const;
    // The transform between a key and the next, time measured into the key;
    // without looping the last key holds, with looping it blends towards key 0.
    void SampleKey(int32_t track, int32_t key, float time, Vec3& position, Quaternion& rotation, bool looping) const;
    // The track's position at the first and the last key.
    void GetTrackEndPositions(int32_t track, Vec3& first, Vec3& last) const;

    int32_t GetTrackCount() const { return static_cast<int32_t>(trackNames_.size()); }
    int32_t GetKeyCount() const { return static_cast<int32_t>(keys_.size()); }
    const WideString& GetTrackName(int32_t track) const { return trackNames_[track]; }
    float GetKeyDuration(int32_t key) const { return keys_[key].duration; }

private:
    bool Load(Stream& in, const WideString& fileName, bool reportFailure);
    bool ReadTracksA(Stream& in);
    bool ReadKeysA(Stream& in);
    bool ReadTracksB(Stream& in);
    bool ReadKeysB(Stream& in);
    bool CheckKeys(Stream& in);
    void SumLengths();

    std::vector<WideString> trackNames_;
    float fullLength_ = 0.0f;
    float loopLength_ = 0.0f;
    std::vector<AnimationKey> keys_;
};
