#pragma once
// The two damage messages: a damaging object hands them straight to the
// damaged entity's receiver, on the machine where the damaging object runs.
// They hold pointers and never cross the network.

#include "engine/core/Message.h"
#include "engine/math/Vec3.h"

#include <cstdint>

class MessageReceiver;
class PhysicsGeom;
class Scene;

enum DamageKind : int32_t {
    kDamageFire = 0,
    kDamageExplosion = 1,
    kDamageBullet = 2,
    kDamageImpact = 3,
    kDamageKill = 4,
};
constexpr int32_t kDamageKindCount = 5;

// Whether a number read from data (a mission node, a file) names a kind.
constexpr bool IsDamageKind(int32_t kind)
{
    return kind >= 0 && kind < kDamageKindCount;
}

struct dcDamageMessage {
    DC_LOCAL_MESSAGE(dcDamageMessage)
    MessageReceiver* attacker = nullptr;   // credited with the damage; none when null
    Vec3 direction;                        // of the hit, world space; zero when unknown
    PhysicsGeom* hitGeometry = nullptr;    // the receiver's own geometry hit; null: the whole entity
    float amount = 0.0f;                   // before the receiver's scaling
    int32_t kind = kDamageFire;            // DamageKind
    int32_t reserved = 0;
    uint8_t forced = 0;                    // 1: the receiver may neither ignore nor cap it
};

// Damage no receiver may ignore or cap: the kill plane, a deadly prop.
constexpr float kKillDamageAmount = 5000000.0f;
inline dcDamageMessage ForcedKillDamage()
{
    dcDamageMessage damage;
    damage.amount = kKillDamageAmount;
    damage.kind = kDamageKill;
    damage.forced = 1;
    return damage;
}

struct dcExtDamageMessage {
    DC_LOCAL_MESSAGE(dcExtDamageMessage)
    MessageReceiver* attacker = nullptr;
    Vec3 direction;
    PhysicsGeom* hitGeometry = nullptr;
    float amount = 0.0f;
    int32_t kind = kDamageFire;
    int32_t reserved = 0;
    uint8_t forced = 0;
    Vec3 hitPoint;       // world position of the hit
    Vec3 hitDirection;   // unit: the contact normal, or the bullet's direction
    int32_t extra = 0;
};

// Hands the damage to the receiver at once: what its handler answered. A kind
// outside the table reaches nobody (logged) and answers 0.
int32_t SendDamageMessage(MessageReceiver& receiver, const dcDamageMessage& damage);
// The same for the scene's entity with the id; 0 for id 0 or an id it does not hold.
int32_t SendDamageMessage(Scene& scene, int32_t id, const dcDamageMessage& damage);
// The extended message first; a receiver that does not answer it is handed
// the same damage as a plain dcDamageMessage.
int32_t SendExtDamageMessage(MessageReceiver& receiver, const dcExtDamageMessage& damage);
