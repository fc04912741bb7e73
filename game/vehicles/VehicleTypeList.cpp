#include "game/vehicles/VehicleType.h"

#include "engine/core/ClassIdentity.h"
#include "engine/files/ArchiveList.h"

#include <cstdlib>

std::vector<std::unique_ptr<VehicleType>>& VehicleTypes()
{
    static std::vector<std::unique_ptr<VehicleType>> types;
    return types;
}

void LoadVehicleTypes()
{
    std::vector<std::unique_ptr<VehicleType>>& types = VehicleTypes();
    if (!types.empty()) {
        return;
    }
    for (const WideString& file : ListFiles(L"Vehicles\\*.DCC")) {
        auto type = std::make_unique<VehicleType>();
        if (type->Load(file)) {
            types.push_back(std::move(type));
        }
    }
}

void ReleaseVehicleTypes()
{
    VehicleTypes().clear();
}

int32_t FindVehicleTypeIndex(int32_t nameHash, bool randomFallback)
{
    const std::vector<std::unique_ptr<VehicleType>>& types = VehicleTypes();
    for (size_t i = 0; i < types.size(); ++i) {
        if (types[i]->nameHash == nameHash) {
            return static_cast<int32_t>(i);
        }
    }
    if (!randomFallback || types.empty()) {
        return -1;
    }
    return std::rand() % static_cast<int32_t>(types.size());
}

int32_t FindVehicleTypeIndexByName(const WideString& name, bool randomFallback)
{
    return FindVehicleTypeIndex(HashNameNoCase(name), randomFallback);
}

int32_t HashNameNoCase(const WideString& name)
{
    WideString upper = name;
    WideStringToUpper(upper);
    std::vector<uint8_t> bytes;
    bytes.reserve(upper.size() * 2);
    for (wchar_t character : upper) {
        const auto unit = static_cast<uint16_t>(character);
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return static_cast<int32_t>(Crc32XorLength(0, bytes.data(), static_cast<int32_t>(bytes.size())));
}
