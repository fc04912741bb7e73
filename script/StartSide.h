#pragma once
// One group of players of a multiplayer mission, as its start node stores
// it: the side's colour, the language key of its name and the vehicle types
// (".TXC" names under "Vehicles") its players may choose from.

#include "engine/files/WideString.h"

#include <cstdint>
#include <vector>

class DumpReader;
class DumpWriter;

struct StartSide {
    enum Colour : int32_t {
        kRed = 0,
        kBlue = 1,
        kGreen = 2,
        kGold = 3,
    };

    int32_t SideIndex = kRed;
    int32_t SideName = 0;
    std::vector<WideString> SideVehicles;

    void Save(DumpWriter& out) const;
    void Load(DumpReader& in);
};
