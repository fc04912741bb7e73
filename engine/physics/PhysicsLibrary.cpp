#include "engine/physics/PhysicsLibrary.h"

#include "engine/core/LogHub.h"

#include <ode/ode.h>

void InitPhysicsLibrary()
{
    static bool initialised = false;
    if (initialised) {
        return;
    }
    initialised = true;
    if (!dInitODE2(0) || !dAllocateODEDataForThread(dAllocateMaskAll)) {
        LogHub::PrintError("Physics: ODE could not set up its collision data");
    }
}
