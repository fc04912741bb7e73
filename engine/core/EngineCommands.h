#pragma once
// The engine's own console commands, registered on the engine by Start.

#include <memory>
#include <vector>

class ConsoleCommand;
class dcEngine;

std::vector<std::unique_ptr<ConsoleCommand>> MakeEngineCommands(dcEngine& engine);
