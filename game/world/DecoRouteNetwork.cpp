#include "game/world/DecoRouteNetwork.h"

#include <cstdlib>

std::unique_ptr<DecoRouteNetwork>& CurrentDecoRouteNetwork()
{
    static std::unique_ptr<DecoRouteNetwork> network;
    return network;
}

const DecoRouteNode* DecoRouteNode::PickRandomNeighbour() const
{
    constexpr uint32_t kMarks = 0x3FFFFFFF;
    if (links.empty()) {
        return nullptr;
    }
    const size_t start = static_cast<size_t>(std::rand()) % links.size();
    for (size_t i = 0; i < links.size(); ++i) {
        const DecoRouteNode* neighbour = links[(start + i) % links.size()];
        if ((neighbour->flags & kMarks) == 0) {
            return neighbour;
        }
    }
    return nullptr;
}
