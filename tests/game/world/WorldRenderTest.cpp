// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "game/world/MaterialDrawList.h"
#include "game/world/ObjectMesh.h"
#include "game/world/WorldFrameParameters.h"
#include "game/world/dcWorldObject.h"
#include "game/world/dcWorldRender.h"
#include "render/models/Camera.h"
#include "render/shaders/ShaderVariable.h"
#include "render/shaders/ShaderVariableBlock.h"
#include "render/device/VertexBuffer.h"
#include "tests/render/device/WindowedDevice.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace {

// Streaming data of the given size, and props whose meshes take ranges of it.
class WorldRenderTest : public testing::Test {
protected:
    WorldRenderTest() : render(nullptr, world, geometry)
    {
        render.StreamingVertices().resize(70000);
        render.StreamingIndices().resize(140000);
        MaterialDrawLists().assign(2, MaterialDrawList{});
    }
    ~WorldRenderTest() override { MaterialDrawLists().clear(); }

    // A prop whose one range takes vertices and indices of the streaming data (or of a record).
    dcWorldObject& Prop(int32_t vertices, int32_t indices, int32_t geometryIndex = kStreamingGeometry)
    {
        auto mesh = std::make_unique<ObjectMesh>();
        mesh->ranges.resize(1);
        mesh->ranges[0].vertexCount = vertices;
        mesh->ranges[0].indexCount = indices;
        mesh->ranges[0].geometry = geometryIndex;
        auto object = std::make_unique<dcWorldObject>();
        object->mesh = mesh.get();
        meshes.push_back(std::move(mesh));
        objects.push_back(std::move(object));
        return *objects.back();
    }

    static std::vector<int32_t> Packed(const MaterialDrawList& list)
    {
        return {list.packedVertexStart, list.packedVertexCount, list.packedIndexStart, list.packedIndexCount};
    }

    ShaderVariableBlock world;
    std::vector<GeometryBuffers> geometry;
    dcWorldRender render;
    std::vector<std::unique_ptr<ObjectMesh>> meshes;
    std::vector<std::unique_ptr<dcWorldObject>> objects;
};

const float* VariableData(ShaderVariableBlock& block, const wchar_t* name)
{
    const ShaderVariable* variable = block.FindVariable(block.AddVariable(name, kShaderValue, false));
    return variable ? static_cast<const float*>(variable->Data()) : nullptr;
}

} // namespace

TEST_F(WorldRenderTest, MovingPropsArePackedListByListAndOnlyStreamingRangesCount)
{
    std::vector<MaterialDrawList>& lists = MaterialDrawLists();
    dcWorldRender::AddDrawItem(lists[0], &Prop(4, 6), 0, 1.0f);
    dcWorldRender::AddDrawItem(lists[0], &Prop(3, 3), 0, 1.0f);
    dcWorldRender::AddDrawItem(lists[1], &Prop(100, 300, 0), 0, 1.0f);   // drawn from its record
    dcWorldRender::AddDrawItem(lists[1], &Prop(5, 9), 0, 1.0f);
    render.PackMovingGeometry();
    EXPECT_EQ(Packed(lists[0]), (std::vector<int32_t>{0, 7, 0, 9}));
    EXPECT_EQ(Packed(lists[1]), (std::vector<int32_t>{7, 5, 9, 9}));
    // Three props not stored in world space were carried through their pose.
    EXPECT_EQ(render.GetTransformedObjectCount(), 3);

    render.ClearDrawLists();
    EXPECT_TRUE(lists[0].items.empty());
    render.PackMovingGeometry();
    EXPECT_EQ(Packed(lists[0]), (std::vector<int32_t>{0, 0, 0, 0}));
    EXPECT_EQ(Packed(lists[1]), (std::vector<int32_t>{0, 0, 0, 0}));
}

TEST_F(WorldRenderTest, AFrameTooLargeForTheRingsDrawsNothingFromThem)
{
    std::vector<MaterialDrawList>& lists = MaterialDrawLists();
    dcWorldRender::AddDrawItem(lists[0], &Prop(4, 6), 0, 1.0f);
    render.PackMovingGeometry();
    ASSERT_EQ(lists[0].packedIndexCount, 6);

    struct Case {
        int32_t vertices;
        int32_t indices;
    };
    for (const Case& c : std::initializer_list<Case>{{dcWorldRender::kRingVertices + 1, 3},
                                                     {3, dcWorldRender::kRingIndices + 3}}) {
        render.ClearDrawLists();
        dcWorldRender::AddDrawItem(lists[0], &Prop(4, 6), 0, 1.0f);
        dcWorldRender::AddDrawItem(lists[1], &Prop(c.vertices, c.indices), 0, 1.0f);
        render.PackMovingGeometry();
        // Last frame's ranges may have been overwritten: none is drawn again.
        EXPECT_EQ(Packed(lists[0]), (std::vector<int32_t>{0, 0, 0, 0})) << c.vertices;
        EXPECT_EQ(Packed(lists[1]), (std::vector<int32_t>{0, 0, 0, 0})) << c.vertices;
    }
    // A range past the end of the streaming data is never packed.
    render.ClearDrawLists();
    dcWorldObject& beyond = Prop(10, 10);
    meshes.back()->ranges[0].firstVertex = 69995;
    dcWorldRender::AddDrawItem(lists[0], &beyond, 0, 1.0f);
    render.PackMovingGeometry();
    EXPECT_EQ(Packed(lists[0]), (std::vector<int32_t>{0, 0, 0, 0}));
}

class WorldRenderDeviceTest : public WindowedDevice {};

TEST_F(WorldRenderDeviceTest, PackedPropsAreMovedByTheirPoseUnlessStoredInWorldSpace)
{
    ShaderVariableBlock world;
    std::vector<GeometryBuffers> geometry;
    dcWorldRender render(&video, world, geometry);
    for (int32_t i = 0; i < 4; ++i) {
        render.StreamingVertices().push_back({{static_cast<float>(i), 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, 0.5f, 0.25f});
    }
    render.StreamingIndices() = {0, 1, 2, 1, 2, 3};
    MaterialDrawLists().assign(1, MaterialDrawList{});

    ObjectMesh placed;   // vertices 1 to 3, already in world space
    placed.worldSpace = 1;
    placed.ranges.resize(1);
    placed.ranges[0].firstVertex = 1;
    placed.ranges[0].vertexCount = 3;
    placed.ranges[0].firstIndex = 3;
    placed.ranges[0].indexCount = 3;
    ObjectMesh moved;    // vertices 0 to 2 in the object's frame
    moved.ranges.resize(1);
    moved.ranges[0].vertexCount = 3;
    moved.ranges[0].indexCount = 3;
    dcWorldObject first;
    first.mesh = &placed;
    dcWorldObject second;
    second.mesh = &moved;
    second.position = {10.0f, 0.0f, 0.0f};
    second.rotation = Quaternion::FromAxisAngle({0.0f, 1.0f, 0.0f}, 1.5707963f);
    dcWorldRender::AddDrawItem(MaterialDrawLists()[0], &first, 0, 1.0f);
    dcWorldRender::AddDrawItem(MaterialDrawLists()[0], &second, 0, 1.0f);
    render.PackMovingGeometry();

    Camera camera;
    render.RenderPass(camera, 3);
    VertexBuffer* ring = video.GetVertexStream(0);
    ASSERT_NE(ring, nullptr);
    const auto* packed = static_cast<const StreamingVertex*>(ring->Lock({ring->GetRingPosition(), 6}, kLockNoOverwrite));
    ASSERT_NE(packed, nullptr);
    // The last item first: turned a quarter about y, then moved to x = 10.
    EXPECT_NEAR(packed[1].position.x, 10.0f, 1e-5f);
    EXPECT_NEAR(std::abs(packed[1].position.z), 1.0f, 1e-5f);
    EXPECT_NEAR(std::abs(packed[1].normal.z), 1.0f, 1e-5f);
    EXPECT_EQ(packed[1].u, 0.5f);
    // Then the world-space item as it is stored.
    EXPECT_EQ(packed[3].position.x, 1.0f);
    EXPECT_EQ(packed[5].position.x, 3.0f);
    EXPECT_EQ(packed[5].normal.x, 1.0f);
    ring->Unlock();
    EXPECT_EQ(render.GetTransformedObjectCount(), 1);
    MaterialDrawLists().clear();
}

TEST(WorldFrameParameters, FogExtentsAndLightsReachTheirBlocks)
{
    ShaderVariableBlock world;
    ShaderVariableBlock staticLighting;
    staticLighting.SetParent(&world);
    WorldFrameParameters parameters(world, staticLighting);
    Camera camera;
    camera.SetFarPlane(1000.0f);
    camera.SetPosition({1.0f, 2.0f, 3.0f});

    SkyLightSet staticLights;
    SkyLightSet dynamicLights;
    SkyFog fog;
    staticLights[0].intensity = 2.0f;   // counts as 1
    staticLights[1].intensity = 0.5f;
    staticLights[2].intensity = 0.0f;
    std::copy_n(std::array{0.1f, 0.2f, 0.3f, 0.0f}.data(), 4, staticLights[0].ambient);
    std::copy_n(std::array{0.2f, 0.2f, 0.2f, 0.0f}.data(), 4, staticLights[1].ambient);
    std::copy_n(std::array{1.0f, 0.5f, 0.0f, 1.0f}.data(), 4, staticLights[1].diffuse);
    dynamicLights[0].intensity = 0.25f;
    fog.range = 0.5f;
    std::copy_n(std::array{1.0f, 0.5f, 0.25f, 1.0f}.data(), 4, fog.colour);
    fog.intensity = 0.5f;
    const FrameLighting lighting{&staticLights, &dynamicLights, &fog};
    const BoundingBox box{{10.0f, 0.0f, -20.0f}, {50.0f, 5.0f, 100.0f}};
    parameters.Bind(camera, {lighting, box, nullptr, nullptr, 0.5f});
    parameters.Bind(camera, {lighting, box, nullptr, nullptr, 0.25f});

    EXPECT_FLOAT_EQ(*VariableData(world, L"FogNear"), 750.0f * 750.0f);
    EXPECT_FLOAT_EQ(*VariableData(world, L"FogFar"), 1000000.0f);
    EXPECT_FLOAT_EQ(*VariableData(world, L"InvFogRange"), 1.0f / (1000000.0f - 562500.0f));
    EXPECT_FLOAT_EQ(*VariableData(world, L"FogRange"), 1.0f / 500.0f);
    EXPECT_FLOAT_EQ(VariableData(world, L"FogColor")[1], 0.25f);
    EXPECT_FLOAT_EQ(*VariableData(world, L"MinX"), -40.0f);
    EXPECT_FLOAT_EQ(*VariableData(world, L"MinZ"), -120.0f);
    EXPECT_FLOAT_EQ(*VariableData(world, L"InvExtentsX"), -0.01f);
    EXPECT_FLOAT_EQ(*VariableData(world, L"InvExtentsZ"), -0.005f);
    EXPECT_FLOAT_EQ(*VariableData(world, L"Timer"), 0.75f);
    EXPECT_FLOAT_EQ(VariableData(world, L"CamPos")[2], 3.0f);
    EXPECT_FLOAT_EQ(*VariableData(world, L"RangeScale"), 0.001f);

    // (0, 0, 0, 1) plus each light's ambient times its intensity, at most 1.
    const float* ambient = VariableData(staticLighting, L"LightAmbient");
    EXPECT_FLOAT_EQ(ambient[0], 0.1f + 0.1f);
    EXPECT_FLOAT_EQ(ambient[2], 0.3f + 0.1f);
    EXPECT_FLOAT_EQ(ambient[3], 1.0f);
    EXPECT_FLOAT_EQ(VariableData(staticLighting, L"LightDiffuse[1]")[1], 0.25f);
    EXPECT_FLOAT_EQ(VariableData(staticLighting, L"LightDiffuse")[0], 1.0f);
    // An unturned light shines along z.
    EXPECT_FLOAT_EQ(VariableData(staticLighting, L"LightDir")[2], 1.0f);
    // The World block carries the dynamic lights.
    EXPECT_FLOAT_EQ(VariableData(world, L"LightDiffuse")[0], 0.25f);
}
