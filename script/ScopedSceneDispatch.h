#pragma once
// A delivery under way in a scene, for its scope: receivers that leave the
// scene meanwhile are deleted only once the outermost delivery is over, so a
// node whose handler is still running is never freed beneath it.

#include "engine/core/Scene.h"

class ScopedSceneDispatch {
public:
    explicit ScopedSceneDispatch(Scene& scene) : scene_(scene) { scene_.EnterDispatch(); }
    ~ScopedSceneDispatch() { scene_.LeaveDispatch(); }
    ScopedSceneDispatch(const ScopedSceneDispatch&) = delete;
    ScopedSceneDispatch& operator=(const ScopedSceneDispatch&) = delete;

private:
    Scene& scene_;
};
