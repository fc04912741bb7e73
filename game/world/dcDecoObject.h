#pragma once
// A moving decoration of the world: a model that travels along a route of
// the decoration route network. The world loader makes one per record of
// its file and adds those with a usable route to the game scene.

#include "engine/core/MessageReceiver.h"
#include "render/models/Model.h"

#include <cstdint>
#include <memory>
#include <vector>

class dcDecoObject : public MessageReceiver {
    DC_RECEIVER(dcDecoObject, MessageReceiver)
public:
    // Routes must have this many nodes, each index within the indices a route may use.
    static constexpr int32_t kShortestRoute = 3;
    static constexpr int32_t kLastRouteIndex = 10000;

    dcDecoObject() = default;

    // "Models\<letter>.DCM", the letter 'A' + letterIndex.
    static WideString ModelName(int32_t letterIndex);
    void SetModel(std::unique_ptr<Model> model) { model_ = std::move(model); }
    Model* GetModel() const { return model_.get(); }
    std::vector<int32_t>& Route() { return route_; }
    // Long enough, and every index names a node of a network of nodeCount nodes.
    bool HasUsableRoute(int32_t nodeCount) const;

private:
    std::unique_ptr<Model> model_;
    std::vector<int32_t> route_;   // node indices of the decoration route network
};
