#include "game/vehicles/VehicleMounts.h"

#include "engine/core/LogHub.h"

#include <cwctype>

namespace {

constexpr size_t kRocketPrefixLength = 7;   // ROCKET_

// The decimal number of the leading digits from the offset; 0 without
// digits. Stops once past the limit, so a long number cannot overflow.
int32_t LeadingNumber(const WideString& text, size_t offset, int32_t limit)
{
    int32_t number = 0;
    for (size_t i = offset; i < text.size() && std::iswdigit(text[i]) && number <= limit; ++i) {
        number = number * 10 + (text[i] - L'0');
    }
    return number;
}

} // namespace

Vec3 TapeDirection(const Vec3& from, const Vec3& to)
{
    Vec3 direction = to - from;
    direction.Normalize();
    return direction;
}

Vec3 VehicleMounts::DefaultMissileDirection()
{
    return TapeDirection(kZeroVector, {0.0f, 0.1f, -1.0f});
}

void VehicleMounts::ReadMountTape(const WideString& upperName, const Vec3& position, const Vec3& tapeEnd,
                                  const WideString& owner)
{
    const VehicleMount mount{position, TapeDirection(position, tapeEnd)};
    if (upperName == L"MISSILE") {
        missileMount = position;
        missileDirection = mount.direction;
    }
    if (WideStringStartsWith(upperName, L"ROCKET_")) {
        ReadRocketTape(upperName, mount, owner);
    }
    if (WideStringStartsWith(upperName, L"FLAMER")) {
        flamerMounts.push_back(mount);
    }
    if (upperName == L"CHAINGUN") {
        chaingunMount = position;
        chaingunEnd = tapeEnd;
    }
    if (upperName == L"MINE") {
        mineMount = position;
    }
    if (upperName == L"DRIVER") {
        driverSeat = position;
    }
    if (WideStringStartsWith(upperName, L"BOOST")) {
        boostNodes.push_back(position);
    }
    const float tapeLength = (tapeEnd - position).Length();
    if (WideStringStartsWith(upperName, L"COP_RED")) {
        copLights.push_back({position, tapeLength, 0});
    }
    if (WideStringStartsWith(upperName, L"COP_BLUE")) {
        copLights.push_back({position, tapeLength, 1});
    }
    if (WideStringStartsWith(upperName, L"TRAIL")) {
        trailNodes.push_back(position);
    }
}

void VehicleMounts::ReadRocketTape(const WideString& upperName, const VehicleMount& mount, const WideString& owner)
{
    const int32_t number = LeadingNumber(upperName, kRocketPrefixLength, kMostRocketMounts);
    if (number > kMostRocketMounts) {
        LogHub::PrintError("Tape %s in %s: no more than %d rocket mounts", upperName.c_str(), owner.c_str(),
                           kMostRocketMounts);
        return;
    }
    if (number < 1) {
        return;
    }
    if (rocketMounts.size() < static_cast<size_t>(number)) {
        rocketMounts.resize(static_cast<size_t>(number));
    }
    rocketMounts[static_cast<size_t>(number - 1)] = mount;
}

void VehicleMounts::ReportMissingRocketTapes(const WideString& owner) const
{
    for (size_t i = 0; i < rocketMounts.size(); ++i) {
        if (rocketMounts[i].direction.Length() == 0.0f) {
            LogHub::PrintError("Missing tape Rocket_%d in %s", static_cast<int32_t>(i + 1), owner.c_str());
        }
    }
}
