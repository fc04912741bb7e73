#pragma once
// The scene "-TEST" shows until worlds load: the sample props turning on a
// line grid, and the sample figure walking, under a fixed camera and light,
// with the car's engine idling.

#include "engine/core/MLP.h"

#include <memory>

class TestScene : public MLP {
public:
    TestScene();
    ~TestScene() override;

    void Enter() override;
    void Leave() override;
    void Update() override;
    void Render() override;

private:
    struct Content;
    void DrawGrid();
    void StartEngineSound();

    std::unique_ptr<Content> content_;   // made on entry, once the video device exists
    float angle_ = 0.0f;
    class Voice* engineSound_ = nullptr;   // owned by the audio device
};
