#pragma once
// The settings files of a sky folder ("Skies\Day"), all "DC2" files:
//   "Flare.VKS"            magic, int32 (written 0x10000000, never read), the
//                          sun direction: 19 bytes
//   "Lighting.VKS"         magic, int32 version, three static lights, and in
//                          version 1 only the fog: 235 bytes (211 in others)
//   "DynamicLighting.VKS"  magic, int32 version (any), three dynamic lights:
//                          211 bytes; the writer appends the fog, which no
//                          reader takes
//   "CarLights.VKS"        a flag: only its presence counts
// A file that is missing counts as absent. One that is not a "DC2" file of
// at least 10 bytes, or is shorter than its version needs, counts as absent
// too, with one log line naming it; nothing is read from it.

#include "engine/files/WideString.h"
#include "engine/math/Vec3.h"
#include "game/world/SkyLighting.h"

inline constexpr wchar_t kFlareFile[] = L"Flare.VKS";
inline constexpr wchar_t kLightingFile[] = L"Lighting.VKS";
inline constexpr wchar_t kDynamicLightingFile[] = L"DynamicLighting.VKS";
inline constexpr wchar_t kCarLightsFile[] = L"CarLights.VKS";

// "<folder>\<file>".
WideString SkyFilePath(const WideString& folder, const wchar_t* file);

// Each reader fills its results only when it answers true.
bool ReadFlareFile(const WideString& path, Vec3& sunDirection);
// The lights of either lighting file. The fog is read only when asked for
// (not from the dynamic lighting file) and only from a version 1 file.
bool ReadLightingFile(const WideString& path, SkyLightSet& lights, SkyFog* fog);

// Each writer replaces the file whole or leaves the old one; false, logged,
// when it could not.
bool WriteFlareFile(const WideString& path, const Vec3& sunDirection);
bool WriteLightingFile(const WideString& path, const SkyLightSet& lights, const SkyFog& fog);
