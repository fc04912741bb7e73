#pragma once
// Missions from file into the game's scene: read as the menus need them
// (the start nodes' settings alone) or loaded and started.

#include "engine/files/WideString.h"

#include <cstdint>
#include <vector>

class Scene;

// Reads the dump into the scene with every factory of the registry; false
// when nothing was read (see DumpReader::ReadDump).
bool ReadScriptDump(Scene& scene, const WideString& path, std::vector<int32_t>& rootIds, bool fullLoad);

// The start nodes of a mission, with their settings but without links, made
// in the scene and left there for the caller. Empty for a missing file.
std::vector<int32_t> LoadScriptRoots(Scene& scene, const WideString& path);

// Loads the mission into the scene and fires its roots with sender 0. A root
// start node that allows starting records the mission as reached first.
void LoadScriptFile(Scene& scene, const WideString& path);

// For the game mode's script host: reads the whole mission into the scene
// and appends its root ids, without firing them.
void ReadScript(const WideString& path, Scene& scene, std::vector<int32_t>& rootIds);
