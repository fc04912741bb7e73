#include "engine/physics/PhysicsLibrary.h"

#include "engine/core/LogHub.h"

#include <ode/ode.h>

namespace {

bool libraryReady = false;

} // namespace

void InitPhysicsLibrary()
{
    if (libraryReady) {
        return;
    }
    libraryReady = true;
    if (!dInitODE2(0) || !dAllocateODEDataForThread(dAllocateMaskAll)) {
        LogHub::PrintError("Physics: ODE could not set up its collision data");
    }
}

void ClosePhysicsLibrary()
{
    if (!libraryReady) {
        return;
    }
    libraryReady = false;
    dCloseODE();
}
