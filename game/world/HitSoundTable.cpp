#include "game/world/HitSoundTable.h"

namespace {

const wchar_t* const kFamilies[kSurfaceKindCount] = {
    L"Hit_Wood", L"Hit_Phone", L"Hit_Light", L"Hit_Park", L"Hit_Metal", L"Hit_Traffic", L"Hit_Leafs", L"Hit_Cone",
};

struct SurfaceWord {
    const wchar_t* prefix;
    SurfaceKind kind;
};

// Tested in this order; the first that starts the name counts.
const SurfaceWord kSurfaceWords[] = {
    {L"DYNAMIC_BARREL_WOOD", kSurfaceWood}, {L"PAAL_WOOD", kSurfaceWood},     {L"DYNAMIC_PHONECELL", kSurfacePhone},
    {L"DYNAMIC_PARKMTRA", kSurfacePark},    {L"PION", kSurfaceCone},          {L"BARRICADE", kSurfaceMetal},
    {L"TRAFFICLITE", kSurfaceTraffic},      {L"DYNAMIC_LEAF", kSurfaceLeafs},
};

} // namespace

HitSoundSets& HitSoundTable()
{
    static HitSoundSets table;
    return table;
}

void FillHitSoundTable()
{
    for (int32_t kind = 0; kind < kSurfaceKindCount; ++kind) {
        HitSoundTable()[kind] = std::make_unique<HitSoundSet>(kFamilies[kind]);
    }
}

void ClearHitSoundTable()
{
    for (std::unique_ptr<HitSoundSet>& set : HitSoundTable()) {
        set.reset();
    }
}

SurfaceKind SurfaceKindOfObject(const WideString& upperCasedName)
{
    for (const SurfaceWord& word : kSurfaceWords) {
        if (upperCasedName.starts_with(word.prefix)) {
            return word.kind;
        }
    }
    return kSurfaceLight;
}
