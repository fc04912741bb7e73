#include "game/world/dcDecoObject.h"

#include <algorithm>

WideString dcDecoObject::ModelName(int32_t letterIndex)
{
    return L"Models\\" + WideString(1, static_cast<wchar_t>(L'A' + letterIndex)) + L".DCM";
}

bool dcDecoObject::HasUsableRoute(int32_t nodeCount) const
{
    const int32_t last = std::min(kLastRouteIndex, nodeCount - 1);
    return static_cast<int32_t>(route_.size()) >= kShortestRoute &&
           std::all_of(route_.begin(), route_.end(), [last](int32_t index) { return index >= 0 && index <= last; });
}
