#pragma once
// A console command that keeps the arguments it was run with.

#include "engine/core/ConsoleCommand.h"

#include <vector>

class CountingCommand : public ConsoleCommand {
public:
    explicit CountingCommand(const char* name) : ConsoleCommand(name) {}
    void Execute(const WideString& arguments) override { received.push_back(arguments); }
    std::vector<WideString> received;
};
