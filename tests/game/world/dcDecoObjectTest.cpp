// A decoration travels its route for ever: it starts at the route's first
// node facing the second, eases its speed towards the speed of the node it
// heads for, picks onward nodes on arrival and starts again at a dead end.

#include "engine/core/FrameMessages.h"
#include "engine/net/HostScene.h"
#include "game/world/DecoRouteNetwork.h"
#include "game/world/dcDecoObject.h"
#include "render/models/Camera.h"
#include "tests/engine/math/MathExpect.h"

#include <gtest/gtest.h>

namespace {

class dcDecoObjectTest : public testing::Test {
protected:
    // 0 -> 1 -> 2, and 2 leads nowhere: a line along +x at height 100.
    dcDecoObjectTest()
    {
        CurrentDecoRouteNetwork() = std::make_unique<DecoRouteNetwork>();
        std::vector<DecoRouteNode>& nodes = CurrentDecoRouteNetwork()->Nodes();
        nodes.resize(3);
        for (size_t i = 0; i < nodes.size(); ++i) {
            nodes[i].position = {100.0f * static_cast<float>(i), 100.0f, 0.0f};
            nodes[i].speed = 40.0f;
        }
        nodes[0].links = {&nodes[1]};
        nodes[1].links = {&nodes[2]};
        decoration->Route() = {0, 1, 2};
        scene.Add(decoration);
    }
    ~dcDecoObjectTest() override
    {
        scene.Delete(decoration);
        scene.FlushDeletes();
        CurrentDecoRouteNetwork().reset();
    }

    const DecoRouteNode* Node(size_t index) const { return &CurrentDecoRouteNetwork()->Nodes()[index]; }
    void Step(float dt) { decoration->Send(dcUpdate{dt}); }

    HostScene scene;
    dcDecoObject* decoration = new dcDecoObject;
};

} // namespace

TEST_F(dcDecoObjectTest, ItStartsAtItsRoutesFirstNodeFacingTheSecond)
{
    EXPECT_TRUE(NearVec(decoration->GetPosition(), Node(0)->position));
    EXPECT_EQ(decoration->GetTarget(), Node(1));
    EXPECT_EQ(decoration->GetSpeed(), 0.0f);
    // Its forward (the turn's third row) points along +x.
    EXPECT_TRUE(NearVec(Quaternion::ToTransform(decoration->GetOrientation()).GetRow(2), {1.0f, 0.0f, 0.0f}));
}

TEST_F(dcDecoObjectTest, ItsSpeedEasesTowardsTheSpeedOfTheNodeAhead)
{
    Step(0.1f);
    EXPECT_FLOAT_EQ(decoration->GetSpeed(), 0.25f * 40.0f);
    Step(0.1f);
    EXPECT_FLOAT_EQ(decoration->GetSpeed(), 10.0f + 0.25f * 30.0f);
    // It moved along its forward with the speed it had.
    EXPECT_NEAR(decoration->GetPosition().x, 0.1f * 10.0f, 1e-4f);
}

TEST_F(dcDecoObjectTest, ItGoesOnFromNodeToNodeAndStartsAgainAtADeadEnd)
{
    std::vector<const DecoRouteNode*> targets{decoration->GetTarget()};
    for (int32_t step = 0; step < 2000 && targets.size() < 3; ++step) {
        Step(0.05f);
        if (decoration->GetTarget() != targets.back()) {
            targets.push_back(decoration->GetTarget());
        }
    }
    // Node 2 has no onward node: back to the start, heading for node 1 again.
    EXPECT_EQ(targets, (std::vector<const DecoRouteNode*>{Node(1), Node(2), Node(1)}));
    EXPECT_EQ(decoration->GetSpeed(), 0.0f);
    EXPECT_TRUE(NearVec(decoration->GetPosition(), Node(0)->position));
}

TEST_F(dcDecoObjectTest, AMarkedNeighbourIsPassedOver)
{
    std::vector<DecoRouteNode>& nodes = CurrentDecoRouteNetwork()->Nodes();
    nodes[0].links = {&nodes[1], &nodes[2]};
    nodes[1].flags = 1;
    for (int32_t draw = 0; draw < 10; ++draw) {
        EXPECT_EQ(nodes[0].PickRandomNeighbour(), &nodes[2]);
    }
    nodes[2].flags = 0x20000000;
    EXPECT_EQ(nodes[0].PickRandomNeighbour(), nullptr);
    // The top two bits are no marks.
    nodes[2].flags = 0xC0000000;
    EXPECT_EQ(nodes[0].PickRandomNeighbour(), &nodes[2]);
}

TEST_F(dcDecoObjectTest, BeyondAQuarterOfTheCamerasReachItIsNeverSeen)
{
    struct Case {
        float far;
        bool seen;
    };
    for (const Case& c : std::initializer_list<Case>{{4000.0f, true}, {1000.0f, false}}) {
        // Looking along -z at the start node from 500 units away.
        Camera camera;
        camera.SetFarPlane(c.far);
        camera.SetPosition({0.0f, 100.0f, 500.0f});
        camera.Update();
        const dcVisTest test{&camera, 1, 31, 0, 1, {}};
        decoration->Send(test);
        EXPECT_EQ(test.visible, c.seen ? 1 : 0) << c.far;
    }
}
