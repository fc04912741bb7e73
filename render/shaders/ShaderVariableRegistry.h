#pragma once
// Shader variable names turned into ids once, so that drawing compares ids
// only. Ids are handed out 0, 1, 2, ... in the order names first appear and
// are never reused: objects keep them in static storage for the whole run.
// Names compare with case; "Name[0]" is the same variable as "Name".

#include "engine/files/WideString.h"

#include <cstdint>

// The id of a name, registering it when new; -1 for an empty name.
int32_t GetShaderVariableId(const WideString& name);
// The registered name of an id; empty for an id that names nothing.
WideString GetShaderVariableName(int32_t id);

// For the variable blocks: the id of a name, counted as one more user.
int32_t AddShaderVariableUse(const WideString& name);
// One user less; the name is forgotten when none is left.
void ReleaseShaderVariableUse(int32_t id);
// Users of the id's name; 0 once it is forgotten.
int32_t GetShaderVariableUseCount(int32_t id);
