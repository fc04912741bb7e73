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
#include "game/world/PathNetwork.h"
#include "game/world/VisibilityManager.h"
#include "game/world/WorldFrameParameters.h"
#include "game/world/ObjectMesh.h"
#include "game/world/WorldMaterial.h"
#include "game/world/WorldObjectExtension.h"
#include "game/world/dcWorldObject.h"
#include "render/models/Mesh.h"
#include "render/models/Tape.h"
#include "render/shaders/ShaderVariableBlock.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class Camera;
class LampDecal;
class MessageChannel;
class RayGeom;
class SkySettings;
class dcDynamicObject;
class dcLightCallback;
class dcTLGroup;
class dcWorldGeometry;
class dcWorldRender;

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

    // The world named is not the one loaded whole: the stages must run again,
    // from an empty world (Unload).
    bool NeedsLoading() const { return fileName_ != loadedName_; }
    // Back to no world: collision, networks, decorations, render geometry,
    // materials, draw lists and the props go.
    void Unload();
    // A stage gave the file up as broken; the remaining stages read nothing.
    bool HasFailed() const { return failed_; }

    const WideString& GetFileName() const { return fileName_; }
    void SetFileName(const WideString& name) { fileName_ = name; }
    // The world file while the stages read it: from a valid header to the last stage.
    Stream* GetFile() const { return file_.get(); }

    const BoundingBox& GetBox() const { return box_; }
    dcWorldGeometry& GetGeometry() { return *geometry_; }
    dcWorldRender& GetRender() { return *render_; }
    const std::vector<GeometryBuffers>& GetGeometryRecords() const { return geometryRecords_; }
    const std::vector<Material>& GetMaterials() const { return materials_; }
    const std::vector<ObjectMesh>& GetMeshes() const { return meshes_; }
    std::vector<dcWorldObject>& GetStaticObjects() { return staticObjects_; }
    // The movable props, in file order; they live in the game scene.
    const std::vector<dcDynamicObject*>& GetDynamicObjects() const { return dynamicObjects_; }
    const std::vector<std::unique_ptr<dcTLGroup>>& GetTrafficLightGroups() const { return trafficLightGroups_; }
    // The named points of the world; delivery points carry their road's name.
    const std::vector<Tape>& GetMarkers() const { return markers_; }
    // Scene ids of the entities this world put into the game scene:
    // decorations and ambient sounds.
    const std::vector<int32_t>& GetSceneEntityIds() const { return sceneEntityIds_; }
    // The static lights' block; its parent is the World.
    ShaderVariableBlock& GetStaticLighting() { return staticLighting_; }

    PhysicsWorld& GetPhysics() { return physics_; }
    FixedStepClock& GetStepClock() { return stepClock_; }
    VisibilityManager& GetVisibility() { return visibility_; }
    SkySettings* GetSky() const { return sky_.get(); }
    // A fresh sky replaces the current one.
    void ResetSky();
    // The sky of the folder ("Skies\Day") replaces the current one.
    void LoadSky(const WideString& folder);
    float GetPhysicsTimeFactor() const { return physicsTimeFactor_; }

    // Whether the visibility cache existed at the run's first world load:
    // unknown until then, and kept for the rest of the run.
    static std::optional<bool>& VisibilityCacheExisted();

private:
    // The file is broken (the stream has reported it): let it go.
    float GiveUpFile();
    bool ReadRoadNetwork(PathNetwork<PathNode>& network);
    bool ReadPedestrianNetwork();
    bool ReadDecoRouteNetwork();
    bool ReadDecorations();
    bool ReadStreamingGeometry();
    // What a geometry record holds, known with or without a device.
    struct GeometryRecordSize {
        int32_t vertices = 0;
        int32_t indices = 0;
    };

    bool ReadGeometryRecord(GeometryBuffers& record, GeometryRecordSize& size);
    bool ReadVertexStreams(GeometryBuffers& record, int32_t vertexCount);
    bool ReadIndices(GeometryBuffers& record, int32_t vertexCount, int32_t& indexCount);
    float ReadMaterialBatch(int32_t& counter);
    float ReadMeshBatch(int32_t& counter);
    bool ReadMesh(ObjectMesh& mesh);
    bool ReadDrawRange(MeshDrawRange& range);
    // Whether the range lies within the data it names.
    bool CheckDrawRange(const MeshDrawRange& range);
    float ReadStaticObjectBatch(int32_t& counter);
    bool ReadStaticObject(dcWorldObject& object);
    // The pose, the mesh and the box read for an object of either kind.
    bool ReadPlacement(dcWorldObject& object);
    bool ReadMarkers();
    void AddAmbientSound(const Tape& marker);
    void NameDropPoints();
    float ReadDynamicObjectBatch(int32_t& counter);
    bool ReadDynamicObject(dcDynamicObject& object);
    bool ReadCollisionBox(dcDynamicObject& object, int32_t collisionKind);
    // What the words of a prop's name make of it.
    void ApplyNameWords(dcDynamicObject& object);
    // A street lamp's or traffic light's light on the prop.
    void AddLamp(dcDynamicObject& object);
    void AddTrafficLight(dcDynamicObject& object);
    // The ground a light's probe meets straight down from the point.
    bool ProbeLightGround(dcLightCallback& callback, RayGeom& ray, const Vec3& from);
    // The group of the crossing with the key, made and added to the scene
    // the first time.
    dcTLGroup& TrafficLightGroup(const WideString& key);
    void HideCrowdedLampPools();
    void ReleaseLights();
    // The props' space joins the physics and the renderer the scene.
    void FinishDynamicObjects();
    // The props leave the scene; their space, bodies and active list go.
    void ReleaseDynamicObjects();
    // Leaf ranges get their own triangles, each vertex with the random pair of its triangle.
    void BuildLeafVertices(MeshDrawRange& range);
    // The grid from the visibility cache, when there was one at the run's
    // first world load and it fits this world.
    bool ReadVisibilityCache();

    WideString fileName_ = L"Maps\\World.DCW";
    WideString loadedName_;   // of the world loaded whole; empty before
    std::unique_ptr<Stream> file_;
    bool failed_ = false;
    BoundingBox box_{};
    PhysicsWorld physics_;
    std::unique_ptr<dcWorldGeometry> geometry_;
    std::vector<GeometryBuffers> geometryRecords_;
    std::vector<GeometryRecordSize> geometrySizes_;
    std::vector<Material> materials_;
    std::vector<ObjectMesh> meshes_;
    std::vector<dcWorldObject> staticObjects_;   // in the game scene, by their own address
    std::vector<dcDynamicObject*> dynamicObjects_;   // in the game scene; released by the World
    std::vector<std::unique_ptr<WorldObjectExtension>> lights_;   // on the props' chains
    std::vector<LampDecal*> lampDecals_;
    std::vector<std::unique_ptr<dcTLGroup>> trafficLightGroups_;   // in the game scene
    std::unique_ptr<dcWorldRender> render_;   // reads the geometry records
    std::vector<int32_t> sceneEntityIds_;   // in the game scene
    std::vector<Tape> markers_;
    ShaderVariableBlock staticLighting_;
    std::unique_ptr<WorldFrameParameters> frameParameters_;
    float physicsTimeFactor_ = 1.0f;
    FixedStepClock stepClock_;
    std::unique_ptr<SkySettings> sky_;
    VisibilityManager visibility_;
    int32_t viewId_ = -1;
    int32_t projectionId_ = -1;
    // The shaders read these where they lie, transposed.
    Matrix44 view_;
    Matrix44 projection_;
};
