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
// plain little-endian fields only, and a type that crosses it declares its
// layout with DC_FIXED_LAYOUT.

#include "engine/core/ClassIdentity.h"
#include "engine/core/FixedLayout.h"

#define DC_MESSAGE(Type) DC_IDENTITY(Type)

// A message type that never crosses the network, because its payload holds
// pointers or it stands for an event only this machine may raise (a client
// joining, an object entering a scene). Network links drop such frames. The
// static member makes the identity record during start-up construction and
// enters it into the local-only set, so a link refuses the type even before
// this program first uses it. Declare such types at namespace scope.
#define DC_LOCAL_MESSAGE(Type)                   \
    DC_IDENTITY(Type)                            \
    static constexpr bool kLocalOnly = true;     \
    static inline const bool localOnlyEntered_ = RegisterLocalOnlyMessage(Identity().Id());

// Whether a message type was declared with DC_LOCAL_MESSAGE.
template <class Msg>
concept LocalOnlyMessage = Msg::kLocalOnly;
