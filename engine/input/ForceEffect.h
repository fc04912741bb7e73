#pragma once
// A force-feedback effect on one controller, made of the effects of one effect
// file; its caller owns it. Without a controller it is inert.

#include <vector>

struct IDirectInputEffect;

class ForceEffect {
public:
    // An effect bound to no controller.
    ForceEffect() = default;
    // Bound to a controller, owning the effects created on it.
    explicit ForceEffect(std::vector<IDirectInputEffect*> effects);
    // Stops and releases every effect.
    virtual ~ForceEffect();
    ForceEffect(const ForceEffect&) = delete;
    ForceEffect& operator=(const ForceEffect&) = delete;

    // Plays every effect over and over until Stop.
    virtual void Start();
    virtual void Stop();
    // m from -1 to 1; with download false the device takes the change at the next Start.
    virtual void SetMagnitude(float m, bool download);
    // g from 0 to 1.
    virtual void SetGain(float g, bool download);

    bool IsPlaying() const { return playing_; }

private:
    std::vector<IDirectInputEffect*> effects_;
    bool hasController_ = false;
    bool playing_ = false;
};
