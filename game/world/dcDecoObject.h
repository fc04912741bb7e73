#pragma once
// A moving decoration of the world: a model (a blimp, birds) that travels
// for ever along the decoration route network. It steers smoothly towards
// its next node, picks a random onward node on arrival, eases its speed
// towards the speed stored at the node it heads for, and starts again at its
// route's first node when it meets a dead end or the game restarts. The
// world loader makes one per record of its file and adds those with a
// usable route to the game scene.

#include "engine/core/EngineMessages.h"
#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"
#include "game/world/GameMessages.h"
#include "render/models/Model.h"

#include <cstdint>
#include <memory>
#include <vector>

struct DecoRouteNode;

class dcDecoObject : public MessageReceiver {
    DC_RECEIVER(dcDecoObject, MessageReceiver)
public:
    // Routes must have this many nodes, each index within the indices a route may use.
    static constexpr int32_t kShortestRoute = 3;
    static constexpr int32_t kLastRouteIndex = 10000;
    static constexpr float kTurnRate = 5.0f;    // of the way to the wanted turn per second
    static constexpr float kSpeedRate = 2.5f;   // of the speed difference per second

    dcDecoObject();

    // "Models\<letter>.DCM", the letter 'A' + letterIndex.
    static WideString ModelName(int32_t letterIndex);
    void SetModel(std::unique_ptr<Model> model) { model_ = std::move(model); }
    Model* GetModel() const { return model_.get(); }
    std::vector<int32_t>& Route() { return route_; }
    // Long enough, and every index names a node of a network of nodeCount nodes.
    bool HasUsableRoute(int32_t nodeCount) const;

    const Vec3& GetPosition() const { return position_; }
    const Quaternion& GetOrientation() const { return orientation_; }
    float GetSpeed() const { return speed_; }
    const DecoRouteNode* GetTarget() const { return target_; }
    // Its pose, turned half round: the model's own forward is its -z.
    Matrix44 RenderTransform() const;

protected:
    // handlers: dcGameReset -> OnGameReset, dcSceneAdd -> OnSceneAdd,
    // dcSceneDel -> OnSceneDel, dcUpdate -> OnUpdate, dcVisTest -> OnVisTest,
    // dcRender -> OnRender
    virtual void OnGameReset(const dcGameReset& message);
    virtual void OnSceneAdd(const dcSceneAdd& message);
    virtual void OnSceneDel(const dcSceneDel&) {}
    virtual void OnUpdate(const dcUpdate& message);
    virtual void OnVisTest(const dcVisTest& message);
    virtual void OnRender(const dcRender& message);

private:
    BoundingBox ModelBox() const;

    Vec3 position_;
    Quaternion orientation_;
    float speed_ = 0.0f;
    const DecoRouteNode* target_ = nullptr;
    std::unique_ptr<Model> model_;
    std::vector<int32_t> route_;   // node indices of the decoration route network
};
