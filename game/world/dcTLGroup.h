#pragma once
// The traffic lights of one crossing: its states are the lights of one
// direction each, and the group runs them in turn: green for 5 s, amber for
// 1 s, then red while the next state turns green at once. A game reset
// turns every light red and starts again from state 0.

#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/files/WideString.h"
#include "game/world/GameMessages.h"

#include <cstdint>
#include <vector>

class TrafficLightDecal;

// Ends the current green phase at the next update.
struct dcTLData {
    DC_LOCAL_MESSAGE(dcTLData)
};

class dcTLGroup : public MessageReceiver {
    DC_RECEIVER(dcTLGroup, MessageReceiver)
public:
    static constexpr float kGreenSeconds = 5.0f;
    // The timer jumps past the green phase on amber, so that amber lasts
    // from kAmberMark to kRedMark.
    static constexpr float kAmberMark = 100.0f;
    static constexpr float kRedMark = 101.0f;

    // The three characters that name the crossing.
    explicit dcTLGroup(WideString name);

    const WideString& GetName() const { return name_; }
    // At least count states.
    void GrowStates(int32_t count);
    // The light joins the state (which must exist), red.
    void AddLight(int32_t state, TrafficLightDecal* light);

    int32_t GetStateCount() const { return static_cast<int32_t>(states_.size()); }
    const std::vector<TrafficLightDecal*>& GetState(int32_t state) const { return states_[static_cast<size_t>(state)]; }
    int32_t GetCurrentState() const { return current_; }
    float GetTimer() const { return timer_; }

protected:
    // handlers: dcGameReset -> OnGameReset, dcUpdate -> OnUpdate, dcTLData -> OnTLData
    virtual void OnGameReset(const dcGameReset& message);
    virtual void OnUpdate(const dcUpdate& message);
    virtual void OnTLData(const dcTLData&) { timer_ = kGreenSeconds; }

private:
    void SetLights(int32_t state, int32_t bits);

    WideString name_;
    std::vector<std::vector<TrafficLightDecal*>> states_;
    float timer_ = 0.0f;
    int32_t current_ = 0;
};
