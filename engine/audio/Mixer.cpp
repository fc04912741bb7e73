#include "engine/audio/Mixer.h"

#include <algorithm>
#include <cstring>

namespace {

bool HeardBefore(const Channel& a, const Channel& b)
{
    if (a.GetPriority() != b.GetPriority()) {
        return a.GetPriority() > b.GetPriority();
    }
    return a.GetVolume() > b.GetVolume();
}

int16_t Clip(int32_t sum)
{
    return static_cast<int16_t>(std::clamp<int32_t>(sum, INT16_MIN, INT16_MAX));
}

} // namespace

void Mixer::AddChannel(Channel& channel)
{
    active_.push_back(&channel);
}

void Mixer::RemoveChannel(Channel& channel)
{
    active_.erase(std::remove(active_.begin(), active_.end(), &channel), active_.end());
}

void Mixer::SetAudibleChannels(int32_t count)
{
    CriticalSectionLock lock(lock_);
    audible_ = count;
}

void Mixer::SetGlobalPitch(float pitch)
{
    CriticalSectionLock lock(lock_);
    globalPitch_ = ClampPitch(pitch);
}

void Mixer::SortChannels()
{
    if (static_cast<int32_t>(active_.size()) <= audible_) {
        return;
    }
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (size_t i = 1; i < active_.size(); ++i) {
            if (HeardBefore(*active_[i], *active_[i - 1])) {
                std::swap(active_[i], active_[i - 1]);
                swapped = true;
            }
        }
    }
}

int32_t Mixer::Mix(int32_t bytes)
{
    CriticalSectionLock lock(lock_);
    SortChannels();
    frames_ = std::max(bytes / kBytesPerFrame, 0);
    accumulator_.assign(static_cast<size_t>(frames_) * 2, 0);

    const MixTarget target{accumulator_.data(), frames_, kOutputRate, globalPitch_};
    const size_t heard = muted_ ? 0 : std::min(active_.size(), static_cast<size_t>(std::max(audible_, 0)));
    for (size_t i = 0; i < active_.size(); ++i) {
        Channel& channel = *active_[i];
        const bool playing = i < heard ? channel.Mix(target) : channel.Advance(target);
        if (!playing) {
            finished_.push_back(&channel);
        }
    }
    for (Channel* channel : finished_) {
        channel->SetInMixer(false);
        RemoveChannel(*channel);
    }
    finished_.clear();
    return frames_;
}

void Mixer::Output(void* destination) const
{
    int16_t* out = static_cast<int16_t*>(destination);
    for (size_t i = 0; i < accumulator_.size(); ++i) {
        out[i] = Clip(accumulator_[i]);
    }
}
