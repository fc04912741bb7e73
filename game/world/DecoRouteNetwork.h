#pragma once
// The routes along which the world's moving decorations travel: nodes with
// the speed a decoration eases toward while it heads for each. The world
// loader makes a new network current for every world it loads.

#include "engine/math/Vec3.h"

#include <cstdint>
#include <memory>
#include <vector>

struct DecoRouteNode {
    Vec3 position;
    std::vector<DecoRouteNode*> links;
    uint32_t flags = 0;   // the decorations' own marks; zero after loading
    float speed = 0.0f;

    // From a random start among the neighbours, the first whose marks (flag
    // bits 0 to 29) are all clear; none when there is no such neighbour.
    const DecoRouteNode* PickRandomNeighbour() const;
};

class DecoRouteNetwork {
public:
    std::vector<DecoRouteNode>& Nodes() { return nodes_; }

private:
    std::vector<DecoRouteNode> nodes_;
};

// The network of the world loaded last; none before the first.
std::unique_ptr<DecoRouteNetwork>& CurrentDecoRouteNetwork();
