#include "game/world/DecoRouteNetwork.h"

std::unique_ptr<DecoRouteNetwork>& CurrentDecoRouteNetwork()
{
    static std::unique_ptr<DecoRouteNetwork> network;
    return network;
}
