#pragma once
// Volume control in a tree: a group scales the volume of its members, voices
// or other groups, so one setting (the music volume, the effects volume)
// reaches every voice in it. Main thread only.

#include <vector>

class SoundGroup;

class VolumeNode {
public:
    VolumeNode() = default;
    // Leaves its group.
    virtual ~VolumeNode();
    VolumeNode(const VolumeNode&) = delete;
    VolumeNode& operator=(const VolumeNode&) = delete;

    virtual void SetVolume(float volume) = 0;
    virtual float GetVolume() const = 0;

    SoundGroup* GetGroup() const { return group_; }
    // The volume set on this node itself, before any group's factor.
    float GetOwnVolume() const { return volume_; }

protected:
    // The factor the groups above apply: 1 outside any group.
    float GroupVolume() const;

    float volume_ = 1.0f;

private:
    friend class SoundGroup;
    SoundGroup* group_ = nullptr;
};

class SoundGroup : public VolumeNode {
public:
    SoundGroup() = default;
    // Its members stay at their current volume and belong to no group.
    ~SoundGroup() override;

    // No clamping; every member is told again, so the new factor reaches it.
    void SetVolume(float volume) override;
    // Own volume times the groups' above.
    float GetVolume() const override;

    void Add(VolumeNode& member);
    // The member leaves and plays at its own volume from now on.
    void Remove(VolumeNode& member);
    // Takes the member out of the list only.
    void Unlink(VolumeNode& member);

    const std::vector<VolumeNode*>& Members() const { return members_; }

private:
    std::vector<VolumeNode*> members_;
};
