// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "game/weapons/DamageMessages.h"
#include "game/world/DamageScaling.h"
#include "tests/support/CapturingSink.h"

TEST(DamageScaling, FireAndImpactsHurtAnEighthAndUnknownKindsNotAtAll)
{
    FillDamageFactors();
    struct Case {
        int32_t kind;
        float scaled;
    };
    for (int32_t target = 0; target < kDamageTargetClassCount; ++target) {
        for (const Case& c : std::initializer_list<Case>{{kDamageFire, 10.0f},
                                                         {kDamageExplosion, 80.0f},
                                                         {kDamageBullet, 80.0f},
                                                         {kDamageImpact, 10.0f},
                                                         {kDamageKill, 80.0f}}) {
            EXPECT_EQ(ScaleDamage(80.0f, c.kind, target), c.scaled) << c.kind << " to " << target;
        }
    }
    for (const auto& [kind, target] : std::initializer_list<std::pair<int32_t, int32_t>>{{5, 1}, {-1, 2}, {1, 3}}) {
        ScopedCapture log(kLogError);
        EXPECT_EQ(ScaleDamage(80.0f, kind, target), 0.0f);
        EXPECT_EQ(log->lines.size(), 1u);
    }
}
