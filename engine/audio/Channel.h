#pragma once
// What the mixer reads of one voice: the samples it plays, two integer gains,
// a playback rate and a position. The main thread changes gains and pitch
// while the mixer thread mixes, so those are atomic and read once per chunk;
// the position and the loop count change under the mixer lock only.

#include <atomic>
#include <cstdint>

class SoundBuffer;

// One chunk of the mixer's output being summed.
struct MixTarget {
    int32_t* accumulator;   // frames of {left, right}
    int32_t frames;
    int32_t outputRate;
    float globalPitch;
};

enum class MixRoutine : int32_t {
    kNone,
    kStereo,
    kMono,
    kAdvance,   // silent: the position moves on, nothing is added
};

constexpr int32_t kFullGain = 65535;

// The engine's range of pitches, which scale a sound's playback rate.
constexpr float kMinimumPitch = 0.1f;
constexpr float kMaximumPitch = 10.0f;

// The pitch brought into the engine's range; one that is not a number plays
// at the normal rate. A pitch of zero or below would move backwards through
// the samples, before the start of the buffer.
float ClampPitch(float pitch);

class Channel {
public:
    Channel() = default;
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    // Binds the buffer (one more user) at full volume, centred, pitch 1,
    // from the start.
    void Init(SoundBuffer* buffer);
    // Unbinds the buffer, which loses a user.
    void Release();

    // Volume 0 to 1, pan -1 (left) to 1 (right).
    void SetVolumePan(float volume, float pan);

    // Under the mixer lock. Both answer false when the sound has ended; a
    // chunk's global pitch is clamped as the channel's own is.
    bool Mix(const MixTarget& target);
    bool Advance(const MixTarget& target);

    SoundBuffer* GetBuffer() const { return buffer_; }
    float GetVolume() const { return volume_; }
    float GetPan() const { return pan_; }
    float GetPriority() const { return priority_; }
    void SetPriority(float priority) { priority_ = priority; }
    int32_t GetLeftGain() const { return leftGain_; }
    int32_t GetRightGain() const { return rightGain_; }
    MixRoutine GetRoutine() const { return routine_; }
    float GetPitch() const { return pitch_; }
    // Clamped to the engine's range.
    void SetPitch(float pitch) { pitch_ = ClampPitch(pitch); }
    bool IgnoresGlobalPitch() const { return ignoresGlobalPitch_; }
    void SetIgnoreGlobalPitch(bool ignore) { ignoresGlobalPitch_ = ignore; }

    // kEndlessLoops or the passes left including the current one.
    int32_t GetLoopCount() const { return loopCount_; }
    void SetLoopCount(int32_t loops) { loopCount_ = loops; }
    // In frames of the buffer. Read by a streaming thread without the lock.
    int32_t GetPosition() const { return position_; }
    void SetPosition(int32_t frame) { position_ = frame; }

    bool IsInMixer() const { return inMixer_; }
    void SetInMixer(bool in) { inMixer_ = in; }

private:
    int32_t EffectiveRate(const MixTarget& target) const;
    // Called when playback runs past the last frame: true when that was the
    // last pass, otherwise it counts the pass off.
    bool EndOfPass();
    // Stores where the next chunk starts; a position past the last frame
    // comes round to the start, counting off the passes that ended. False
    // when that was the last one.
    bool WrapPosition(int32_t position, int32_t frames);
    template <int32_t kSamplesPerFrame>
    bool MixFrames(const MixTarget& target);

    SoundBuffer* buffer_ = nullptr;
    std::atomic<float> volume_{0.0f};
    std::atomic<float> pan_{0.0f};
    std::atomic<float> priority_{0.0f};
    std::atomic<int32_t> leftGain_{0};
    std::atomic<int32_t> rightGain_{0};
    std::atomic<float> pitch_{1.0f};
    int32_t loopCount_ = 1;
    std::atomic<int32_t> position_{0};
    std::atomic<MixRoutine> routine_{MixRoutine::kNone};
    std::atomic<bool> inMixer_{false};
    std::atomic<bool> ignoresGlobalPitch_{false};
};
