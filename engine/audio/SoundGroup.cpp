#include "engine/audio/SoundGroup.h"

#include <algorithm>

VolumeNode::~VolumeNode()
{
    if (group_) {
        group_->Unlink(*this);
    }
}

float VolumeNode::GroupVolume() const
{
    return group_ ? group_->GetVolume() : 1.0f;
}

SoundGroup::~SoundGroup()
{
    // A member outliving its group must not reach back into it.
    for (VolumeNode* member : members_) {
        member->group_ = nullptr;
    }
}

void SoundGroup::SetVolume(float volume)
{
    volume_ = volume;
    for (VolumeNode* member : members_) {
        member->SetVolume(member->GetOwnVolume());
    }
}

float SoundGroup::GetVolume() const
{
    return volume_ * GroupVolume();
}

void SoundGroup::Add(VolumeNode& member)
{
    if (member.group_) {
        member.group_->Unlink(member);
    }
    members_.push_back(&member);
    member.group_ = this;
    member.SetVolume(member.GetOwnVolume());
}

void SoundGroup::Remove(VolumeNode& member)
{
    if (member.group_ != this) {
        return;
    }
    Unlink(member);
    member.group_ = nullptr;
    member.SetVolume(member.GetOwnVolume());
}

void SoundGroup::Unlink(VolumeNode& member)
{
    members_.erase(std::remove(members_.begin(), members_.end(), &member), members_.end());
}
