#include "game/world/WorldObjectExtension.h"

#include "engine/core/LogHub.h"

void WorldObjectExtension::Append(WorldObjectExtension* extension)
{
    WorldObjectExtension* before = nullptr;
    WorldObjectExtension* last = this;
    while (last->next_) {
        before = last;
        last = last->next_;
    }
    if (last->passesOn_) {
        last->next_ = extension;
        return;
    }
    if (!extension->passesOn_ || !before) {
        LogHub::Printf("Extension loop not possible!!");
        return;
    }
    extension->Append(last);
    before->next_ = extension;
}

void WorldObjectExtension::CallOnVisible()
{
    for (WorldObjectExtension* extension = this; extension; extension = extension->next_) {
        extension->OnVisible();
    }
}

void WorldObjectExtension::CallOnHit(const Vec3& position)
{
    for (WorldObjectExtension* extension = this; extension; extension = extension->next_) {
        extension->PrepareHit();
        extension->OnHit(position);
    }
}
