#include "game/world/PathNetwork.h"

#include <algorithm>

PathNetwork<PathNode>& TrafficNetwork()
{
    static PathNetwork<PathNode> network;
    return network;
}

PathNetwork<PathNode>& SecondRoadNetwork()
{
    static PathNetwork<PathNode> network;
    return network;
}

PathNetwork<PedestrianNode>& PedestrianNetwork()
{
    static PathNetwork<PedestrianNode> network;
    return network;
}

std::vector<int32_t>& RoadNodeIds()
{
    return SecondRoadNetwork().ids;
}

PathNode* FindRoadNode(PathNetwork<PathNode>& network, int32_t id)
{
    if (network.nodes.empty()) {
        return nullptr;
    }
    const auto found = std::find(network.ids.begin(), network.ids.end(), id);
    const size_t index = found == network.ids.end() ? 0 : static_cast<size_t>(found - network.ids.begin());
    return index < network.nodes.size() ? &network.nodes[index] : &network.nodes.front();
}

void ClearPathNetworks()
{
    TrafficNetwork().nodes.clear();
    SecondRoadNetwork().nodes.clear();
    PedestrianNetwork().nodes.clear();
    TrafficNetwork().ids.clear();
    SecondRoadNetwork().ids.clear();
}
