#pragma once
// The test-mode console commands that write the current sky back into its
// folder: SAVELIGHT (the static and dynamic lights with the fog) and
// FLARESAVE (the sun direction of the lens flare).

#include "engine/core/ConsoleCommand.h"

class MLP;
class SkySettings;
class World;

class SkySaveCommand : public ConsoleCommand {
public:
    using Save = bool (SkySettings::*)() const;

    SkySaveCommand(const char* name, World& world, Save save) : ConsoleCommand(name), world_(world), save_(save) {}

    // Nothing without a current sky.
    void Execute(const WideString& arguments) override;

private:
    World& world_;
    Save save_;
};

struct SkySaveCommands {
    explicit SkySaveCommands(World& world);
    void Register(MLP& module);

    SkySaveCommand saveLight;
    SkySaveCommand flareSave;
};
