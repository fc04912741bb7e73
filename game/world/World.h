#pragma once
// The loaded level inside the game module: what its world file describes,
// the physics world it is simulated in, its sky, and the visibility of the
// entities drawn in it. The world loads in nine resumable stages (header,
// collision geometry, path networks and decorations, render geometry,
// materials, object meshes, static objects, dynamic objects, markers), one
// bounded piece per call, so a loading screen can draw between the pieces.
// It simulates at a fixed step and draws in render passes 1 to 31.
//
// Its base is a block of shader values, so that the world's materials and
// models can take it as their parent.

#include "engine/files/Stream.h"
#include "engine/math/BoundingBox.h"
#include "engine/physics/PhysicsWorld.h"
#include "game/world/FixedStepClock.h"
#include "game/world/VisibilityManager.h"
#include "render/shaders/ShaderVariableBlock.h"

#include <array>
#include <cstdint>
#include <memory>

class Camera;
class MessageChannel;
class SkySettings;

class World : public ShaderVariableBlock {
public:
    // One stage of the load: runs its next piece with the stage's counter,
    // which it advances itself, and answers its progress; exactly 1.0 when done.
    using LoadStage = float (World::*)(int32_t& counter);
    static constexpr int32_t kStageCount = 9;
    static const std::array<LoadStage, kStageCount> kLoadStages;

    static constexpr float kPhysicsGravity = -275.0f;   // units per second squared, y

    World();
    ~World() override;

    float LoadHeader(int32_t& counter);
    float LoadCollision(int32_t& counter);
    float LoadPathNetworks(int32_t& counter);
    float LoadRenderGeometry(int32_t& counter);
    float LoadMaterials(int32_t& counter);
    float LoadObjectMeshes(int32_t& counter);
    float LoadStaticObjects(int32_t& counter);
    float LoadDynamicObjects(int32_t& counter);
    float LoadMarkers(int32_t& counter);

    // The fixed-step loop for one frame: each step polls the input (the game
    // module's input step sends dcUserInput), collides and steps the physics,
    // then sends dcUpdate and dcFinalUpdate with the step length.
    void FixedUpdate(float frameTime, MessageChannel& updates, MessageChannel& finalUpdates);
    // The sky, then each pass from first to first + count - 1.
    void Render(const Camera& camera, int32_t firstPass, int32_t passCount);
    // "View" and "Proj" for the shaders, from the camera's current matrices.
    void AimShaders(const Camera& camera);

    const WideString& GetFileName() const { return fileName_; }
    void SetFileName(const WideString& name) { fileName_ = name; }
    // The world file while the stages read it: from a valid header to the last stage.
    Stream* GetFile() const { return file_.get(); }

    PhysicsWorld& GetPhysics() { return physics_; }
    FixedStepClock& GetStepClock() { return stepClock_; }
    VisibilityManager& GetVisibility() { return visibility_; }
    // The area the world covers: centre and half extents.
    const BoundingBox& GetWorldBox() const { return worldBox_; }
    SkySettings* GetSky() const { return sky_.get(); }
    // A fresh sky replaces the current one.
    void ResetSky();
    float GetPhysicsTimeFactor() const { return physicsTimeFactor_; }

private:
    // A stage whose contents the loader does not build yet: its chunks are
    // left unread, and it is done at once.
    float NothingToLoad(int32_t& counter);

    WideString fileName_ = L"Maps\\World.DCW";
    std::unique_ptr<Stream> file_;
    BoundingBox worldBox_;
    PhysicsWorld physics_;
    float physicsTimeFactor_ = 1.0f;
    FixedStepClock stepClock_;
    std::unique_ptr<SkySettings> sky_;
    VisibilityManager visibility_;
    int32_t viewId_ = -1;
    int32_t projectionId_ = -1;
};
