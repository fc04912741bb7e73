#pragma once
// What the readers of meshes, skeletons and animations share.

#include "engine/math/Quaternion.h"
#include "engine/math/Vec3.h"

#include <cstdint>

class Stream;

// Files shorter than this cannot be one of ours.
inline constexpr int32_t kMinimumModelFileSize = 10;

// True when the next three bytes are the "DC2" magic.
bool ReadDc2Magic(Stream& in);
// The header meshes and skeletons share: "DC2", an int32 not read, the kind
// and the version. A file of another kind is logged, as not a valid or not a
// kindName, and false.
bool ReadModelFileHeader(Stream& in, int32_t kind, const wchar_t* kindName, int32_t& version);
// Three floats (x, y, z).
Vec3 ReadVec3(Stream& in);
// Four floats (x, y, z, w).
Quaternion ReadQuaternion(Stream& in);
