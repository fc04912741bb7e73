#include "game/world/DamageScaling.h"

#include "engine/core/LogHub.h"
#include "game/weapons/DamageMessages.h"

float DamageFactors[kDamageTargetClassCount][kDamageKindCount] = {};

void FillDamageFactors()
{
    // The same row for every class, in DamageKind order.
    constexpr float kRow[kDamageKindCount] = {0.125f, 1.0f, 1.0f, 0.125f, 1.0f};
    for (float(&row)[kDamageKindCount] : DamageFactors) {
        for (int32_t kind = 0; kind < kDamageKindCount; ++kind) {
            row[kind] = kRow[kind];
        }
    }
}

float ScaleDamage(float amount, int32_t kind, int32_t targetClass)
{
    if (kind < 0 || kind >= kDamageKindCount || targetClass < 0 || targetClass >= kDamageTargetClassCount) {
        LogHub::PrintError("Damage of kind %d to class %d refused", kind, targetClass);
        return 0.0f;
    }
    return amount * DamageFactors[targetClass][kind];
}
