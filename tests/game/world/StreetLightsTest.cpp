// Street lamps and traffic lights: read from the props' names, their pools
// laid on the ground below them, the traffic-light cycle of a crossing and
// what a knocked-down light still does.

#include "tests/game/world/WorldFilesFixture.h"

#include "game/weapons/Particle.h"
#include "game/world/LampDecal.h"
#include "game/world/PathNetwork.h"
#include "game/world/TrafficLightDecal.h"
#include "game/world/dcDynamicObject.h"
#include "game/world/dcTLGroup.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

namespace {

class StreetLightsTest : public WorldFilesTest {
protected:
    void LoadLights()
    {
        log_.emplace(kLogError);
        LoadWorld(L"Maps\\Lights.DCW");
        ASSERT_FALSE(Game().GetWorld().HasFailed());
    }

    dcDynamicObject& Prop(const wchar_t* name)
    {
        for (dcDynamicObject* object : Game().GetWorld().GetDynamicObjects()) {
            if (object->name == name) {
                return *object;
            }
        }
        ADD_FAILURE() << WideStringToNarrow(name);
        return *Game().GetWorld().GetDynamicObjects().front();
    }

    // The first extension of the kind on the prop's chain.
    template <class Extension>
    Extension* Find(const wchar_t* name)
    {
        for (WorldObjectExtension* e = Prop(name).GetExtensions(); e; e = e->PassesOn() ? e->GetNext() : nullptr) {
            if (auto* found = dynamic_cast<Extension*>(e)) {
                return found;
            }
        }
        return nullptr;
    }

    dcTLGroup* Group(const wchar_t* key)
    {
        for (const std::unique_ptr<dcTLGroup>& group : Game().GetWorld().GetTrafficLightGroups()) {
            if (group->GetName() == key) {
                return group.get();
            }
        }
        return nullptr;
    }

    static PathNode* TrafficNode(size_t index) { return &TrafficNetwork().nodes[index]; }

    static void Step(dcTLGroup& group, float seconds)
    {
        group.Send(dcUpdate{seconds});
    }

    std::optional<ScopedCapture> log_;
};

} // namespace

TEST_F(StreetLightsTest, LampsLayTheirPoolsOnTheGroundUnlessCrowdedOrOverNothing)
{
    LoadLights();
    struct Case {
        const wchar_t* name;
        bool placed;
        bool lit;
    };
    for (const Case& c : {Case{L"BULB_CROWDA", false, true}, Case{L"BULB_CROWDE", false, true},
                          Case{L"BULB_ROWA", true, true}, Case{L"BULB_ROWD", true, true},
                          Case{L"BULB_LONE", true, true}, Case{L"BULB_NOGROUND", false, false}}) {
        SCOPED_TRACE(WideStringToNarrow(c.name));
        const LampDecal* lamp = Find<LampDecal>(c.name);
        ASSERT_NE(lamp, nullptr);
        EXPECT_EQ(lamp->IsPlaced(), c.placed);
        EXPECT_EQ(Prop(c.name).lit, c.lit);
        ASSERT_EQ(lamp->GetSpots().size(), 1u);
        const Vec3 bulb = Prop(c.name).GetPosition() + LampDecal::kBulbOffset;
        ASSERT_NE(lamp->GetSpots()[0].halo, nullptr);
        EXPECT_FLOAT_EQ(lamp->GetSpots()[0].halo->position.y, bulb.y);
        if (c.lit) {
            // On the floor, lifted off it, and 150 to 225 units each side of the bulb.
            const Decal& pool = lamp->GetPool();
            EXPECT_NEAR(pool.Centre().x, bulb.x, 1e-3f);
            EXPECT_NEAR(pool.Centre().y, 1.6f, 1e-3f);
            const float half = (pool.corners[3].x - pool.corners[0].x) / 2.0f;
            EXPECT_GE(half, 150.0f);
            EXPECT_LE(half, 225.0f);
            // The post's box reaches down to the ground it lights.
            const BoundingBox& box = Prop(c.name).worldBox;
            EXPECT_NEAR(box.centre.y - box.halfExtents.y, 20.0f - LampDecal::kPoolDepth, 1e-3f);
        }
    }
}

TEST_F(StreetLightsTest, TrafficLightsJoinTheirCrossingsStateAndNodeByTheirNames)
{
    LoadLights();
    ASSERT_EQ(Game().GetWorld().GetTrafficLightGroups().size(), 2u);
    dcTLGroup* first = Group(L"001");
    dcTLGroup* second = Group(L"002");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->GetScene(), &Game().GetScene());
    ASSERT_EQ(first->GetStateCount(), 2);
    ASSERT_EQ(second->GetStateCount(), 1);
    struct Case {
        const wchar_t* name;
        dcTLGroup* group;
        int32_t state;
        size_t node;   // in the traffic network; an unknown id takes the first
    };
    for (const Case& c : {Case{L"TRAFFICLITE001STATE00BOX123", first, 0, 1},
                          Case{L"TRAFFICLITE001STATE01BOX007", first, 1, 2},
                          Case{L"TRAFFICLITE002STATE00BOX555", second, 0, 0}}) {
        SCOPED_TRACE(WideStringToNarrow(c.name));
        TrafficLightDecal* light = Find<TrafficLightDecal>(c.name);
        ASSERT_NE(light, nullptr);
        EXPECT_EQ(c.group->GetState(c.state), std::vector<TrafficLightDecal*>{light});
        EXPECT_EQ(light->GetState(), kLightRed);
        EXPECT_EQ(TrafficNode(c.node)->stop, 1);
        EXPECT_TRUE(light->HasPools());
        EXPECT_TRUE(Prop(c.name).lit);
        // The head hangs 8 units out along -z, red over amber over green.
        const Vec3 pole = Prop(c.name).GetPosition();
        EXPECT_FLOAT_EQ(light->GetLampPosition(TrafficLightDecal::kAmberLamp).z, pole.z - 8.0f);
        EXPECT_FLOAT_EQ(light->GetLampPosition(TrafficLightDecal::kRedLamp).y, pole.y + 1.3f + 5.5f);
        EXPECT_FLOAT_EQ(light->GetLampPosition(TrafficLightDecal::kGreenLamp).y, pole.y + 1.3f - 5.5f);
    }
    // A state or node id that is not all digits within the name is refused
    // by name; a name without both words is no traffic light at all.
    for (const wchar_t* refused : {L"TRAFFICLITE001STATE0XBOX123", L"TRAFFICLITE001STATE01BOX12"}) {
        EXPECT_EQ(Find<TrafficLightDecal>(refused), nullptr);
        EXPECT_TRUE((*log_)->Contains(refused)) << WideStringToNarrow(refused);
    }
    EXPECT_EQ(Find<TrafficLightDecal>(L"TRAFFICLITE001STATE01"), nullptr);
    EXPECT_EQ((*log_)->lines.size(), 2u);
}

// Green 5 s, amber 1 s, then red while the next state turns green; the
// lamps fade towards their state, amber lighting both pools.
TEST_F(StreetLightsTest, ACrossingCyclesItsStatesAndItsNodesFollow)
{
    LoadLights();
    dcTLGroup& group = *Group(L"001");
    TrafficLightDecal& along = *group.GetState(0).front();
    TrafficLightDecal& across = *group.GetState(1).front();
    Game().BroadcastGameReset();
    EXPECT_EQ(along.GetState(), kLightRed);
    EXPECT_EQ(TrafficNode(1)->stop, 1);
    EXPECT_EQ(TrafficNode(2)->stop, 1);

    Step(group, 4.9f);
    EXPECT_EQ(along.GetState(), kLightRed);
    Step(group, 0.2f);
    EXPECT_EQ(along.GetState(), kLightAmber);
    EXPECT_EQ(TrafficNode(1)->stop, 1);
    Step(group, 0.9f);   // the amber lamp lit, the red one gone out
    EXPECT_FLOAT_EQ(along.GetRedPool().colour.a, 1.0f);
    EXPECT_FLOAT_EQ(along.GetGreenPool().colour.a, 1.0f);
    Step(group, 0.2f);
    EXPECT_EQ(along.GetState(), kLightRed);
    EXPECT_EQ(across.GetState(), kLightGreen);
    EXPECT_EQ(TrafficNode(2)->stop, 0);
    EXPECT_EQ(group.GetCurrentState(), 1);
    for (int32_t frame = 0; frame < 10; ++frame) {
        Step(group, 0.1f);
    }
    EXPECT_FLOAT_EQ(across.GetLamp(TrafficLightDecal::kGreenLamp)->colour.a, 1.0f);
    EXPECT_FLOAT_EQ(across.GetRedPool().colour.a, 0.0f);
    EXPECT_FLOAT_EQ(across.GetGreenPool().colour.a, 1.0f);

    // dcTLData ends the green phase at the next update.
    group.Send(dcTLData{});
    Step(group, 0.01f);
    EXPECT_EQ(across.GetState(), kLightAmber);
}

// Knocked down, a traffic light goes dark, still releases its node on green
// and never stops it again, until the game reset mends it; a lamp stays dark.
TEST_F(StreetLightsTest, AKnockedDownLightGoesDark)
{
    LoadLights();
    TrafficLightDecal& light = *Find<TrafficLightDecal>(L"TRAFFICLITE001STATE00BOX123");
    LampDecal& lamp = *Find<LampDecal>(L"BULB_LONE");
    for (const wchar_t* name : {L"TRAFFICLITE001STATE00BOX123", L"BULB_LONE"}) {
        Prop(name).GetExtensions()->CallOnHit(Prop(name).GetPosition());
    }
    EXPECT_TRUE(lamp.IsBroken());
    EXPECT_EQ(light.GetState(), kLightRed | kLightBroken);

    for (Particle* halo : {light.GetLamp(TrafficLightDecal::kRedLamp), lamp.GetSpots()[0].halo}) {
        halo->Set(kParticleVisible, false);
    }
    light.OnVisible();
    lamp.OnVisible();
    EXPECT_FALSE(light.GetLamp(TrafficLightDecal::kRedLamp)->Has(kParticleVisible));
    EXPECT_FALSE(lamp.GetSpots()[0].halo->Has(kParticleVisible));

    light.SetState(kLightGreen);
    EXPECT_EQ(TrafficNode(1)->stop, 0);
    light.SetState(kLightAmber);
    light.SetState(kLightRed);
    EXPECT_EQ(TrafficNode(1)->stop, 0);

    Game().BroadcastGameReset();
    EXPECT_EQ(light.GetState(), kLightRed);
    EXPECT_EQ(TrafficNode(1)->stop, 1);
    EXPECT_TRUE(lamp.IsBroken());
    light.OnVisible();
    EXPECT_TRUE(light.GetLamp(TrafficLightDecal::kRedLamp)->Has(kParticleVisible));
}
