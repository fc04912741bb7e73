#pragma once
// LOADSCRIPT name: the mission "Scripts\<name>.dcScript" on the default
// world, through a loading screen. The front end offers it on the main menu
// in test mode.

#include "engine/core/ConsoleCommand.h"

class LoadScriptCommand : public ConsoleCommand {
public:
    LoadScriptCommand() : ConsoleCommand("LOADSCRIPT") {}

    void Execute(const WideString& arguments) override;
};
