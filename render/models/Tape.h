#pragma once
// A named attachment point of a mesh ("Rocket_1", a muzzle, an exhaust).

#include "engine/files/WideString.h"
#include "engine/math/Vec3.h"

struct Tape {
    WideString name;
    Vec3 position;
    Vec3 second;   // a second point or direction, as the exporter wrote it
};
