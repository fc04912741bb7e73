#include "game/world/SkySaveCommands.h"

#include "engine/core/MLP.h"
#include "game/world/SkySettings.h"
#include "game/world/World.h"

void SkySaveCommand::Execute(const WideString&)
{
    if (SkySettings* sky = world_.GetSky()) {
        (sky->*save_)();
    }
}

SkySaveCommands::SkySaveCommands(World& world)
    : saveLight("SAVELIGHT", world, &SkySettings::SaveLighting),
      flareSave("FLARESAVE", world, &SkySettings::SaveFlare)
{
}

void SkySaveCommands::Register(MLP& module)
{
    module.AddCommand(&saveLight);
    module.AddCommand(&flareSave);
}
