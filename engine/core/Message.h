#pragma once
// A message is a type identity and a flat payload record; there are no message
// objects. A payload type names itself with DC_MESSAGE, which gives it the
// ClassIdentity of its type name:
//
//     struct dcUpdate {
//         DC_MESSAGE(dcUpdate)
//         float step;   // seconds
//     };
//
// Payloads cross the network as they are laid out in memory, so they hold
// plain little-endian fields only.

#include "engine/core/ClassIdentity.h"

#define DC_MESSAGE(Type) DC_IDENTITY(Type)
