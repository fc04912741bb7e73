// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "game/weapons/BloodMaker.h"
#include "game/weapons/DecalRing.h"
#include "game/weapons/FireMaker.h"
#include "game/weapons/ParticleRenderer.h"
#include "game/weapons/SmokeMaker.h"
#include "game/weapons/SparkMaker.h"
#include "game/weapons/dcDecalRenderer.h"
#include "game/weapons/dcParticleGroupImpl.h"

#include <initializer_list>

namespace {

class GameEffectsTest : public GameTest {};

} // namespace

TEST_F(GameEffectsTest, TheGameMakesItsEffectsInItsSceneAndResetsThemWithTheGame)
{
    Game();
    EffectObjects* effects = EffectObjects::Get();
    ASSERT_NE(effects, nullptr);
    EXPECT_EQ(dcDecalRenderer::Get(), &effects->GetDecalRenderer());
    EXPECT_EQ(ParticleRenderer::Get(), &effects->GetParticleRenderer());
    EXPECT_EQ(effects->GetSparks().GetGravity().y, World::kPhysicsGravity);
    std::vector<MessageReceiver*> entities{&effects->GetDecalRenderer(), &effects->GetFire(), &effects->GetSmoke(),
                                           &effects->GetSparks(), &effects->GetBlood()};
    for (int32_t group = 0; group < kHaloGroupCount; ++group) {
        entities.push_back(&effects->GetHaloGroup(static_cast<HaloGroup>(group)));
    }
    for (size_t i = 1; i < entities.size(); ++i) {
        EXPECT_GT(entities[i]->GetId(), entities[i - 1]->GetId()) << i;   // made in this order
        EXPECT_EQ(entities[i]->GetScene(), &Game().GetScene());
    }

    Particle* flame = effects->GetFire().Emit(kEmitRecycleOldest);
    effects->GetHaloGroup(kStreetHaloGroup).EmitTextured(kEmitAlways);
    const int32_t hole = TheDecalRing().NextSerial();
    TheDecalRing().Add(nullptr);
    Game().BroadcastGameReset();
    EXPECT_TRUE(effects->GetFire().GetParticles().empty());
    EXPECT_EQ(TheDecalRing().Find(hole), nullptr);
    // Halos belong to their holders, who give them back themselves.
    EXPECT_EQ(effects->GetHaloGroup(kStreetHaloGroup).GetParticles().size(), 1u);
    EXPECT_EQ(effects->GetFire().Emit(kEmitRecycleOldest), flame);

    DropGame();
    EXPECT_EQ(EffectObjects::Get(), nullptr);
    EXPECT_EQ(ParticleRenderer::Get(), nullptr);
}

TEST_F(GameEffectsTest, ALanguageWithoutBloodLaysNoBloodSplats)
{
    std::filesystem::copy(FixturePath(L"language").c_str(), std::filesystem::current_path(),
                          std::filesystem::copy_options::recursive);
    engine.GetLanguage().FindLanguageFiles();
    engine.GetLanguage().SelectLanguage(0);
    Game();
    ASSERT_FALSE(BloodEnabled);
    BloodMaker& blood = EffectObjects::Get()->GetBlood();
    const int32_t next = TheDecalRing().NextSerial();
    int32_t serial = -1;
    EXPECT_EQ(blood.AddSplat(TheDecalRing(), serial), nullptr);
    EXPECT_EQ(TheDecalRing().NextSerial(), next);
    EXPECT_NE(blood.Emit(kEmitRecycleOldest), nullptr);   // the drops fly all the same
}
