#pragma once
// The messages a car answers besides the engine's and the game's common
// ones: its controls (dcCarInput), the host's three replication messages
// (dcCarInit, dcCarSetWeapon, dcCarData), and the listener and respawn
// messages of the game scene. The network ones keep their byte layout: a
// 32-bit and a 64-bit game play together.

#include "engine/core/Message.h"

#include <cstdint>

// A driver's controls for its car; a network client also sends them to the host.
struct dcCarInput {
    DC_MESSAGE(dcCarInput)
    enum Buttons : int32_t {
        kWeaponHeld = 1 << 0,
        kWeaponReleased = 1 << 1,
        kWeaponPressed = 1 << 2,
        kSpecialHeld = 1 << 3,
        kSpecialPressed = 1 << 4,
        kBoost = 1 << 5,
        kToggleLights = 1 << 6,
        kDirectSteering = 1 << 7,
    };
    float throttle = 0.0f;    // 0..1
    float brake = 0.0f;       // 0..1
    float steering = 0.0f;    // -1..1
    float handbrake = 0.0f;   // 0..1
    int32_t gear = 0;         // -1 reverse, 0 neutral, 1.. forward
    int32_t buttons = 0;
    int32_t aim[7] = {};      // aim point, aim direction, aimed target id: the driver's aiming block
};
DC_FIXED_LAYOUT(dcCarInput, 52);

// Host to every client as a car is spawned: the id its special has on the host.
struct dcCarInit {
    DC_MESSAGE(dcCarInit)
    int32_t specialId = 0;
};
DC_FIXED_LAYOUT(dcCarInit, 4);

// Host to every client as a car's weapon changes.
struct dcCarSetWeapon {
    DC_MESSAGE(dcCarSetWeapon)
    int32_t weaponClass = -1;   // class identity, or -1 for none
    int32_t weaponId = 0;       // the weapon's id on the host; meaningless for -1
};
DC_FIXED_LAYOUT(dcCarSetWeapon, 8);

// The host's periodic state of one car (see CarState for the scaled fields).
struct dcCarData {
    DC_MESSAGE(dcCarData)
    float position[3];
    float orientation[4];   // x, y, z, w
    float velocity[3];
    float angularVelocity[3];
    uint8_t throttle;       // x 255
    uint8_t brake;          // x 255
    uint8_t handbrake;      // x 255
    int8_t steering;        // x 127
    int8_t gear;
    uint8_t padding0;
    uint16_t wheelRpm;      // bits 0..14 the rpm's low bits, bit 15 direct steering
    uint8_t health;         // bits 0..6 health / maximum x 127, bit 7 lights on
    uint8_t gauge;          // bit 0 burning, bits 1..7 level x 127
    uint8_t flags;          // bit 0 driver in control, bit 1 snap
    uint8_t padding1;
};
DC_FIXED_LAYOUT(dcCarData, 64);

// Sent by the driver figure once a thrown-out driver's time is up; carries nothing.
struct dcRespawnMessage {
    DC_LOCAL_MESSAGE(dcRespawnMessage)
    int32_t unused = 0;
};

// Add or remove a scene id to be told when the entity is killed.
struct dcAddEntityListener {
    DC_LOCAL_MESSAGE(dcAddEntityListener)
    int32_t id = 0;
};
struct dcDelEntityListener {
    DC_LOCAL_MESSAGE(dcDelEntityListener)
    int32_t id = 0;
};

// Told to each listener of a killed entity, never over the network.
struct dcEntityKilled {
    DC_LOCAL_MESSAGE(dcEntityKilled)
    int32_t killer = 0;   // the attacker's id; the victim's own when there was none
    int32_t victim = 0;
};
