#include "game/world/dcDynamicObject.h"

#include "engine/core/LogHub.h"
#include "game/world/WorldObjectExtension.h"

dcDynamicObject::dcDynamicObject() = default;

dcDynamicObject::~dcDynamicObject() = default;

void dcDynamicObject::AddExtension(WorldObjectExtension* extension)
{
    if (!extensions) {
        extensions = extension;
    } else if (extensions->PassesOn()) {
        extensions->Append(extension);
    } else if (extension->PassesOn()) {
        extension->Append(extensions);
        extensions = extension;
    } else {
        LogHub::PrintVerbose("Extension loop not possible!!");
    }
}
