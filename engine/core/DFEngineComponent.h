#pragma once
// Loads the component "DFEngine.dll" beside the program and creates its object.

#include "platform/dfengine/DFEngine.h"

// nullptr when the DLL or its export is missing; callers then skip every call.
DFEngine* CreateDFEngineComponent();
