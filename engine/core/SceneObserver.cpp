#include "engine/core/SceneObserver.h"

#include "engine/core/Scene.h"

SceneObserver::~SceneObserver()
{
    if (scene_) {
        scene_->RemoveObserver(this);
    }
}
