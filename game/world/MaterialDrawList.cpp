#include "game/world/MaterialDrawList.h"

std::vector<MaterialDrawList>& MaterialDrawLists()
{
    static std::vector<MaterialDrawList> lists;
    return lists;
}
