#pragma once
// A prop with a collision box that reacts when something hits it: it stays
// put, is knocked loose and tumbles, drops its leaves, or kills what touches
// it, by its behaviour. Lamps and hit sounds hang on its extension chain.

#include "engine/physics/BoxGeom.h"
#include "game/world/dcWorldObject.h"

#include <cstdint>

class RigidBody;
class WorldObjectExtension;

class dcDynamicObject : public dcWorldObject {
    DC_RECEIVER(dcDynamicObject, dcWorldObject)
public:
    dcDynamicObject();
    ~dcDynamicObject() override;

    // The extension becomes part of the chain: after the extensions that
    // pass on, before the one shared extension that ends it.
    void AddExtension(WorldObjectExtension* extension);
    WorldObjectExtension* GetExtensions() const { return extensions; }

    BoxGeom box{{0.5f, 0.5f, 0.5f}};
    RigidBody* body = nullptr;        // while loose; the pool's
    int32_t behaviour = 0;
    WorldObjectExtension* extensions = nullptr;
    float restTime = 0.0f;
    bool lit = false;                 // a lamp of it lights the ground
    bool detailOnly = false;          // drawn on the high-detail path only
    float fallTime = 0.0f;
    bool visible = false;             // the last visibility test's answer
};
