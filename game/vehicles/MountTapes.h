#pragma once
// The tapes of a chassis model that place a vehicle's weapons, boosters,
// driver, police lights and trails, read alike for the vehicle types and the
// catalogue's types. A type reads them into its members of the same names;
// a tape can match several rules. Names are upper-cased first; "ROCKET_n"
// fills mount n - 1, and numbers past kMostRocketMounts are refused: the
// list is sized by them.

#include "engine/core/LogHub.h"
#include "engine/files/WideString.h"
#include "engine/math/Vec3.h"
#include "game/vehicles/VehicleType.h"

#include <cstdint>

// normalize(to - from).
Vec3 TapeDirection(const Vec3& from, const Vec3& to);
// The decimal number of the leading digits from the offset; 0 without
// digits. Stops once past the limit, so a long number cannot overflow.
int32_t LeadingNumber(const WideString& text, size_t offset, int32_t limit);

template <class Type>
void ReadRocketTape(Type& type, const WideString& upperName, const VehicleMount& mount)
{
    constexpr size_t kPrefixLength = 7;   // ROCKET_
    const int32_t number = LeadingNumber(upperName, kPrefixLength, VehicleType::kMostRocketMounts);
    if (number > VehicleType::kMostRocketMounts) {
        LogHub::PrintError("Tape %s in %s: no more than %d rocket mounts", upperName.c_str(), type.name.c_str(),
                           VehicleType::kMostRocketMounts);
        return;
    }
    if (number < 1) {
        return;
    }
    if (type.rocketMounts.size() < static_cast<size_t>(number)) {
        type.rocketMounts.resize(static_cast<size_t>(number));
    }
    type.rocketMounts[static_cast<size_t>(number - 1)] = mount;
}

template <class Type>
void ReadMountTape(Type& type, const WideString& upperName, const Vec3& position, const Vec3& tapeEnd)
{
    const VehicleMount mount{position, TapeDirection(position, tapeEnd)};
    if (upperName == L"MISSILE") {
        type.missileMount = position;
        type.missileDirection = mount.direction;
    }
    if (WideStringStartsWith(upperName, L"ROCKET_")) {
        ReadRocketTape(type, upperName, mount);
    }
    if (WideStringStartsWith(upperName, L"FLAMER")) {
        type.flamerMounts.push_back(mount);
    }
    if (upperName == L"CHAINGUN") {
        type.chaingunMount = position;
        type.chaingunEnd = tapeEnd;
    }
    if (upperName == L"MINE") {
        type.mineMount = position;
    }
    if (upperName == L"DRIVER") {
        type.driverSeat = position;
    }
    if (WideStringStartsWith(upperName, L"BOOST")) {
        type.boostNodes.push_back(position);
    }
    const float tapeLength = (tapeEnd - position).Length();
    if (WideStringStartsWith(upperName, L"COP_RED")) {
        type.copLights.push_back({position, tapeLength, 0});
    }
    if (WideStringStartsWith(upperName, L"COP_BLUE")) {
        type.copLights.push_back({position, tapeLength, 1});
    }
    if (WideStringStartsWith(upperName, L"TRAIL")) {
        type.trailNodes.push_back(position);
    }
}

// Rocket numbers no tape supplied leave a mount without a direction.
template <class Type>
void ReportMissingRocketTapes(const Type& type)
{
    for (size_t i = 0; i < type.rocketMounts.size(); ++i) {
        if (type.rocketMounts[i].direction.Length() == 0.0f) {
            LogHub::PrintError("Missing tape Rocket_%d in %s", static_cast<int32_t>(i + 1), type.name.c_str());
        }
    }
}
