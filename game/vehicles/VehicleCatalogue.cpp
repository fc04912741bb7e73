#include "game/vehicles/VehicleCatalogue.h"

#include "engine/core/dcEngine.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/LanguageTable.h"

#include <cstdlib>

namespace {

constexpr int32_t kFirstStatKey = 50000;
constexpr int32_t kStatKeyStride = 100;

void ReadStats(TrafficType& type, int32_t index)
{
    LanguageTable& language = dcEngine::Instance().GetLanguage();
    const int32_t key = kFirstStatKey + kStatKeyStride * index;
    type.statInt = WideStringToInt(language.GetText(key), 0);
    for (int32_t i = 0; i < TrafficType::kStatCount; ++i) {
        type.statValues[static_cast<size_t>(i)] = WideStringToFloat(language.GetText(key + 1 + i), 0);
    }
}

void BuildCatalogue(TrafficTypeList& list, const wchar_t* pattern, bool traffic)
{
    if (!list.empty()) {
        return;
    }
    const std::vector<WideString> files = ListFiles(pattern);
    for (size_t i = 0; i < files.size(); ++i) {
        list.push_back(std::make_unique<TrafficType>(files[i], traffic));
        ReadStats(*list.back(), static_cast<int32_t>(i));
    }
}

} // namespace

TrafficTypeList& VehicleCatalogue()
{
    static TrafficTypeList list;
    return list;
}

TrafficTypeList& TrafficCatalogue()
{
    static TrafficTypeList list;
    return list;
}

void BuildCatalogues()
{
    BuildCatalogue(VehicleCatalogue(), L"Vehicles\\*.TXC", false);
    BuildCatalogue(TrafficCatalogue(), L"Vehicles\\Traffic\\*.TXC", true);
}

void ReleaseCatalogues()
{
    VehicleCatalogue().clear();
    TrafficCatalogue().clear();
}

int32_t FindTrafficType(int32_t nameHash, bool random)
{
    const TrafficTypeList& list = TrafficCatalogue();
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i]->nameHash == nameHash) {
            return static_cast<int32_t>(i);
        }
    }
    if (!random || list.empty()) {
        return -1;
    }
    return std::rand() % static_cast<int32_t>(list.size());
}
