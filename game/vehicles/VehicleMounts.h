#pragma once
// Where a vehicle carries its weapons, boosters, driver, police lights and
// trails, read off the tapes of its first chassis model alike for the vehicle
// types and the catalogue's types. Car space: x to the side, y up, forward
// along -z.

#include "engine/files/WideString.h"
#include "engine/math/Vec3.h"

#include <cstdint>
#include <vector>

struct VehicleCopLight {
    Vec3 position;
    float length = 0.0f;   // from the node to its tape end
    int32_t colour = 0;    // 0 red, 1 blue
};

struct VehicleMount {
    Vec3 position;
    Vec3 direction;   // normalised; zero for a rocket number no tape supplied
};

struct VehicleMounts {
    // ROCKET_n tapes past this number are refused: the mount list is sized by them.
    static constexpr int32_t kMostRocketMounts = 16;

    // Applies every rule the upper-cased tape name matches; a tape can match
    // several. owner names the type in the log.
    void ReadMountTape(const WideString& upperName, const Vec3& position, const Vec3& tapeEnd,
                       const WideString& owner);
    // Rocket numbers no tape supplied leave a mount without a direction.
    void ReportMissingRocketTapes(const WideString& owner) const;

    std::vector<VehicleCopLight> copLights;
    std::vector<Vec3> trailNodes;
    Vec3 missileMount{0.0f, 10.0f, 0.0f};
    Vec3 missileDirection = DefaultMissileDirection();
    std::vector<VehicleMount> rocketMounts;   // entry n - 1 from the tape ROCKET_n
    std::vector<VehicleMount> flamerMounts;
    Vec3 chaingunMount;
    Vec3 chaingunEnd;   // the tape end, not normalised
    Vec3 mineMount{0.0f, 0.0f, 10.0f};
    std::vector<Vec3> boostNodes;
    Vec3 driverSeat;

private:
    static Vec3 DefaultMissileDirection();
    void ReadRocketTape(const WideString& upperName, const VehicleMount& mount, const WideString& owner);
};

// normalize(to - from).
Vec3 TapeDirection(const Vec3& from, const Vec3& to);
