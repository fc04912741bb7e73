#pragma once
// The registry of the mission node classes a mission file may hold: one
// factory per class, in a fixed order, built on first use and kept for the
// whole run. Classes the game does not have yet keep their place under
// their name and refuse, by name, to be made.

#include <vector>

class DumpReader;
class ScriptFactory;

void BuildScriptFactories();
// In registry order; empty before BuildScriptFactories.
const std::vector<ScriptFactory*>& GetScriptFactories();
// Builds the registry and offers the reader every factory, in order.
void AddScriptFactories(DumpReader& reader);
