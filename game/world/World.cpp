#include "game/world/World.h"

#include "engine/core/FrameMessages.h"
#include "engine/core/LogHub.h"
#include "engine/core/MessageChannel.h"
#include "engine/core/dcEngine.h"
#include "engine/files/ArchiveList.h"
#include "engine/video/VideoDevice.h"
#include "game/weapons/DecalRing.h"
#include "game/world/DamageScaling.h"
#include "game/world/DecoRouteNetwork.h"
#include "game/world/GameModule.h"
#include "game/world/HitSoundTable.h"
#include "game/world/MaterialDrawList.h"
#include "game/world/SkySettings.h"
#include "game/world/dcDynamicObject.h"
#include "game/world/dcTLGroup.h"
#include "game/world/dcWorldGeometry.h"
#include "game/world/dcWorldRender.h"
#include "render/models/Camera.h"
#include "render/models/ModelFileReading.h"
#include "render/shaders/ShaderVariable.h"

namespace {

constexpr int32_t kWorldFileKind = 4;
// The magic and three int32: the smallest file that can hold a world.
constexpr int32_t kSmallestWorldFile = 10;

} // namespace

const std::array<World::LoadStage, World::kStageCount> World::kLoadStages = {
    &World::LoadHeader,         &World::LoadCollision,     &World::LoadPathNetworks,
    &World::LoadRenderGeometry, &World::LoadMaterials,     &World::LoadObjectMeshes,
    &World::LoadStaticObjects,  &World::LoadDynamicObjects, &World::LoadMarkers,
};

World::World()
    : geometry_(std::make_unique<dcWorldGeometry>())
    , render_(std::make_unique<dcWorldRender>(dcEngine::Instance().GetVideoDevice(), *this, geometryRecords_))
    , sky_(std::make_unique<SkySettings>())
{
    // Drawing objects set "World" themselves.
    AddVariable(L"World", kShaderMatrix, false);
    viewId_ = AddVariable(L"View", kShaderMatrix, false);
    projectionId_ = AddVariable(L"Proj", kShaderMatrix, false);
    physics_.SetGravity({0.0f, kPhysicsGravity, 0.0f});
    staticLighting_.SetParent(this);
    frameParameters_ = std::make_unique<WorldFrameParameters>(*this, staticLighting_);
    FillDamageFactors();
}

// The game module unloaded it, decorations and all, before its scene went.
World::~World()
{
    ReleaseDynamicObjects();
    MaterialDrawLists().clear();
    ClearHitSoundTable();
}

void World::Unload()
{
    file_.reset();
    failed_ = false;
    loadedName_.clear();
    box_ = {};
    if (geometry_->GetWorld()) {
        geometry_->RemoveFromPhysics(physics_);
    }
    geometry_->Vertices().clear();
    geometry_->Triangles().clear();
    ClearPathNetworks();
    CurrentDecoRouteNetwork().reset();
    if (GameModule* game = GameModule::Get()) {
        for (int32_t id : sceneEntityIds_) {
            game->GetScene().DeleteById(id);
        }
    }
    sceneEntityIds_.clear();
    markers_.clear();
    ReleaseDynamicObjects();
    ReleaseLights();
    staticObjects_.clear();
    meshes_.clear();
    render_->ClearStreamingGeometry();
    geometryRecords_.clear();
    geometrySizes_.clear();
    MaterialDrawLists().clear();
    materials_.clear();
}

void World::ResetSky()
{
    sky_ = std::make_unique<SkySettings>();
}

void World::LoadSky(const WideString& folder)
{
    auto sky = std::make_unique<SkySettings>();
    sky->Load(folder, this);
    sky_ = std::move(sky);
}

float World::LoadHeader(int32_t&)
{
    FillHitSoundTable();
    file_ = OpenFile(fileName_);
    if (file_->GetSize() < kSmallestWorldFile || !ReadDc2Magic(*file_)) {
        LogHub::PrintError("%s is not a valid world", fileName_.c_str());
        file_.reset();
        failed_ = true;
        return 1.0f;
    }
    file_->ReadInt32();
    const int32_t kind = file_->ReadInt32();
    file_->ReadInt32();
    if (kind != kWorldFileKind) {
        LogHub::PrintError("%s is not a world", fileName_.c_str());
        file_.reset();
        failed_ = true;
    }
    return 1.0f;
}

// The last stage: the markers are read, the file let go. Without a usable
// visibility cache every registered entity is tested each frame, over an
// empty grid.
float World::LoadMarkers(int32_t&)
{
    if (!file_ || failed_) {
        return 1.0f;
    }
    if (!ReadMarkers()) {
        return GiveUpFile();
    }
    file_.reset();
    physics_.FlushAndClean();
    loadedName_ = fileName_;
    if (!ReadVisibilityCache()) {
        for (dcWorldObject& object : staticObjects_) {
            visibility_.AddEntity(&object);
        }
        for (dcDynamicObject* object : dynamicObjects_) {
            visibility_.AddEntity(object);
        }
        visibility_.Build(box_);
    }
    NameDropPoints();
    return 1.0f;
}

std::optional<bool>& World::VisibilityCacheExisted()
{
    static std::optional<bool> existed;
    return existed;
}

bool World::ReadVisibilityCache()
{
    std::optional<bool>& existed = VisibilityCacheExisted();
    if (!existed) {
        existed = FileExists(VisibilityManager::kCacheFile);
    }
    if (!*existed || !visibility_.Load(VisibilityManager::kCacheFile) ||
        !visibility_.TakeWorldBox(VisibilityManager::kCacheFile, box_)) {
        return false;
    }
    LogHub::PrintVerbose("%s read: %d blocks", VisibilityManager::kCacheFile,
                         static_cast<int32_t>(visibility_.GetBlocks().size()));
    return true;
}

void World::FixedUpdate(float frameTime, MessageChannel& updates, MessageChannel& finalUpdates)
{
    stepClock_.BeginFrame(frameTime);
    while (stepClock_.StepDue()) {
        const float step = stepClock_.GetStepLength();
        dcEngine::Instance().PollInput(step);
        physics_.Collide();
        physics_.Step(step * physicsTimeFactor_);
        updates.Broadcast(dcUpdate{step});
        finalUpdates.Broadcast(dcFinalUpdate{step});
        stepClock_.EndStep(step);
    }
}

void World::AimShaders(const Camera& camera)
{
    view_ = Matrix44::Transpose(camera.GetView());
    projection_ = Matrix44::Transpose(camera.GetProjection());
    SetMatrix(viewId_, &view_.m[0][0]);
    SetMatrix(projectionId_, &projection_.m[0][0]);
}

void World::Render(const Camera& camera, int32_t firstPass, int32_t passCount)
{
    sky_->Draw(camera);
    geometry_->CullDecals(camera, TheDecalRing());
    const GameModule* game = GameModule::Get();
    const ShadowMap* shadow = game ? &game->GetShadowMap() : nullptr;
    const FrameLighting lighting{&sky_->GetStaticLights(), &sky_->GetDynamicLights(), &sky_->GetFog()};
    frameParameters_->Bind(camera, {lighting, box_, shadow ? &shadow->GetCamera() : nullptr,
                                    shadow ? shadow->GetTexture() : nullptr, dcEngine::Instance().GetFrameTime()});
    for (int32_t pass = firstPass; pass < firstPass + passCount; ++pass) {
        render_->RenderPass(camera, pass);
        visibility_.Render(camera, pass, 1);
    }
}
