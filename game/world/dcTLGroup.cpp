#include "game/world/dcTLGroup.h"

#include "game/world/TrafficLightDecal.h"

#include <utility>

dcTLGroup::dcTLGroup(WideString name) : name_(std::move(name))
{
    Handles<dcGameReset, &dcTLGroup::OnGameReset>();
    Handles<dcUpdate, &dcTLGroup::OnUpdate>();
    Handles<dcTLData, &dcTLGroup::OnTLData>();
}

void dcTLGroup::GrowStates(int32_t count)
{
    if (count > GetStateCount()) {
        states_.resize(static_cast<size_t>(count));
    }
}

void dcTLGroup::AddLight(int32_t state, TrafficLightDecal* light)
{
    states_[static_cast<size_t>(state)].push_back(light);
    light->Reset();
}

void dcTLGroup::OnGameReset(const dcGameReset&)
{
    timer_ = 0.0f;
    current_ = 0;
    for (const std::vector<TrafficLightDecal*>& state : states_) {
        for (TrafficLightDecal* light : state) {
            light->Reset();
        }
    }
}

void dcTLGroup::OnUpdate(const dcUpdate& message)
{
    if (states_.empty()) {
        return;
    }
    timer_ += message.step;
    if (timer_ >= kGreenSeconds && timer_ < kAmberMark) {
        SetLights(current_, kLightAmber);
        timer_ += kAmberMark - kGreenSeconds;
    } else if (timer_ > kRedMark) {
        const int32_t next = (current_ + 1) % GetStateCount();
        SetLights(current_, kLightRed);
        SetLights(next, kLightGreen);
        timer_ = 0.0f;
        current_ = next;
    }
    for (const std::vector<TrafficLightDecal*>& state : states_) {
        for (TrafficLightDecal* light : state) {
            light->Fade(message.step);
        }
    }
}

void dcTLGroup::SetLights(int32_t state, int32_t bits)
{
    for (TrafficLightDecal* light : states_[static_cast<size_t>(state)]) {
        light->SetState(bits);
    }
}
