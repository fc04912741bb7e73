#pragma once
// The two catalogues of vehicle kinds, built once during loading and kept for
// the whole run: the street vehicles of "Vehicles\*.TXC" and the traffic of
// "Vehicles\Traffic\*.TXC", each in listing order. Entry i of either list
// takes its display stats from the language texts 50000 + 100 i to
// 50005 + 100 i.

#include "game/vehicles/TrafficType.h"

#include <cstdint>
#include <memory>
#include <vector>

using TrafficTypeList = std::vector<std::unique_ptr<TrafficType>>;

TrafficTypeList& VehicleCatalogue();
TrafficTypeList& TrafficCatalogue();

// Fills each list that is still empty; a list with entries is left alone.
void BuildCatalogues();
// Empties both lists. Their models hold the video device: the program
// lets them go before the device goes.
void ReleaseCatalogues();
// The index in TrafficCatalogue of the first type with the hash; otherwise a
// random index when asked for one, else -1. An empty catalogue always gives -1.
int32_t FindTrafficType(int32_t nameHash, bool random);
