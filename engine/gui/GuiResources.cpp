#include "engine/gui/GuiResources.h"

namespace {

GuiResources* installedResources = nullptr;

} // namespace

void SetGuiResources(GuiResources* resources)
{
    installedResources = resources;
}

GuiResources* GetGuiResources()
{
    return installedResources;
}
