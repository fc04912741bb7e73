#include "game/vehicles/CarLinks.h"

CarLinks& GetCarLinks()
{
    static CarLinks links;
    return links;
}
