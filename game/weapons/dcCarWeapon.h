#pragma once
// The weapon in a car's weapon slot: a member of the game scene of its own
// that takes the car's fire buttons and launches its projectiles. The kinds
// (air strike, flame thrower, mine layer, minigun, missile and rocket
// launchers) derive from it.

#include "engine/core/MessageReceiver.h"

class dcCar;

class dcCarWeapon : public MessageReceiver {
public:
    // With a car: mounted in its slot (sameKind: it replaces a weapon of its
    // own class). With none: taken off, and released.
    virtual void SetOwner(dcCar* car, bool sameKind) = 0;
    // The fire buttons.
    virtual void Trigger(bool held, bool pressed, bool released) {}
    // 1.0 full; exactly 0.0 empty.
    virtual float GetAmmoFraction() const = 0;
};
