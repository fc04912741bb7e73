#pragma once
// The AI path networks of the world: the traffic network, a second road
// network of the same layout (kept, read by nothing), and the pedestrian
// network. Nodes link to nodes of their own network by pointer; the world
// loader fills them, traffic and pedestrians read them.

#include "engine/files/Stream.h"
#include "engine/math/Vec3.h"
#include "game/world/WorldFileChecks.h"

#include <cstdint>
#include <vector>

struct PathNode {
    Vec3 position;
    std::vector<PathNode*> links;
    float weight = 0.0f;       // the traffic code's, as the file gives it
    uint8_t stop = 0;          // 1 while a red or amber traffic light holds traffic here
    uint8_t mark = 0;          // the traffic code's; zero after loading
    int32_t tag = 0;           // the traffic code's, as the file gives it
};

struct PedestrianNode {
    Vec3 position;
    std::vector<PedestrianNode*> links;
};

template <class Node>
struct PathNetwork {
    std::vector<Node> nodes;
    std::vector<int32_t> ids;   // a road network's file id of each node
};

PathNetwork<PathNode>& TrafficNetwork();
PathNetwork<PathNode>& SecondRoadNetwork();
PathNetwork<PedestrianNode>& PedestrianNetwork();
// One file id per node of the road network read last (the second one).
std::vector<int32_t>& RoadNodeIds();
// The node of the network with the file id; the first node when no node
// has it (the network always has one).
PathNode* FindRoadNode(PathNetwork<PathNode>& network, int32_t id);
// A new world starts from empty networks.
void ClearPathNetworks();

// An int32 count of links, then that many node indices of the node's own
// network, stored as pointers. False, reported, for a count past the end of
// the file or an index outside the network.
template <class Node>
bool ReadNodeLinks(Stream& file, std::vector<Node>& network, Node& node)
{
    int32_t count = 0;
    if (!ReadRecordCount(file, 4, count)) {
        return false;
    }
    node.links.resize(static_cast<size_t>(count));
    for (auto& link : node.links) {
        int32_t index = 0;
        if (!ReadBlock(file, &index, 4) || !CheckIndex(file, index, static_cast<int32_t>(network.size()))) {
            return false;
        }
        link = &network[static_cast<size_t>(index)];
    }
    return true;
}
