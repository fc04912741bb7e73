#include "game/world/PathNetwork.h"

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
    static std::vector<int32_t> ids;
    return ids;
}

void ClearPathNetworks()
{
    TrafficNetwork().nodes.clear();
    SecondRoadNetwork().nodes.clear();
    PedestrianNetwork().nodes.clear();
    RoadNodeIds().clear();
}
