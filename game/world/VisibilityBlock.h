#pragma once
// One column of the visibility grid and the entities that can be seen from
// anywhere inside it. An empty entry stands for an entity that is gone.

#include "engine/math/BoundingBox.h"

#include <vector>

class MessageReceiver;

struct VisibilityBlock {
    BoundingBox box;
    std::vector<MessageReceiver*> entities;
};
