#pragma once
// The base of what is chained to a movable world object and told when its
// owner is seen or knocked loose: a lamp that goes dark, the hit sound of its
// surface. One that passes on lets further extensions follow it in the
// chain; one that does not (a hit-sound set, shared by many objects) must
// end every chain it is in. Extensions belong to the code that made them.

#include "engine/math/Vec3.h"

class WorldObjectExtension {
public:
    explicit WorldObjectExtension(bool passesOn) : passesOn_(passesOn) {}
    virtual ~WorldObjectExtension() = default;
    WorldObjectExtension(const WorldObjectExtension&) = delete;
    WorldObjectExtension& operator=(const WorldObjectExtension&) = delete;

    // The owner passed its visibility test this frame.
    virtual void OnVisible() {}
    // The owner was hit at the position.
    virtual void OnHit(const Vec3&) {}
    // Just before OnHit.
    virtual void PrepareHit() {}
    // Clears a broken state.
    virtual void Restore() {}

    // Links the extension into the chain that starts here: after the last
    // one when that passes on, else just before it. Refused (logged) when
    // neither passes on: a chain ends with at most one that does not.
    void Append(WorldObjectExtension* extension);
    // OnVisible of each extension, this one first.
    void CallOnVisible();
    // PrepareHit, then OnHit, of each extension, this one first.
    void CallOnHit(const Vec3& position);

    bool PassesOn() const { return passesOn_; }
    WorldObjectExtension* GetNext() const { return next_; }
    void SetNext(WorldObjectExtension* next) { next_ = next; }

private:
    WorldObjectExtension* next_ = nullptr;
    bool passesOn_;
};
