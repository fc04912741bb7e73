#include "game/weapons/DamageMessages.h"

#include "engine/core/LogHub.h"
#include "engine/core/MessageReceiver.h"
#include "engine/core/Scene.h"

namespace {

bool Deliverable(MessageReceiver& receiver, int32_t kind)
{
    if (IsDamageKind(kind)) {
        return true;
    }
    LogHub::PrintError("Damage of unknown kind %d for %s refused", kind, receiver.GetClassName().c_str());
    return false;
}

} // namespace

int32_t SendDamageMessage(MessageReceiver& receiver, const dcDamageMessage& damage)
{
    return Deliverable(receiver, damage.kind) ? receiver.Send(damage) : 0;
}

int32_t SendDamageMessage(Scene& scene, int32_t id, const dcDamageMessage& damage)
{
    MessageReceiver* receiver = id != 0 ? scene.FindReceiver(id) : nullptr;
    return receiver ? SendDamageMessage(*receiver, damage) : 0;
}

int32_t SendExtDamageMessage(MessageReceiver& receiver, const dcExtDamageMessage& damage)
{
    if (!Deliverable(receiver, damage.kind)) {
        return 0;
    }
    if (receiver.Send(damage) != 0) {
        return 1;
    }
    dcDamageMessage plain;
    plain.attacker = damage.attacker;
    plain.direction = damage.direction;
    plain.hitGeometry = damage.hitGeometry;
    plain.amount = damage.amount;
    plain.kind = damage.kind;
    plain.reserved = damage.reserved;
    plain.forced = damage.forced;
    return receiver.Send(plain);
}
