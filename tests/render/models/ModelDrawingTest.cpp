#include "render/models/Animation.h"
#include "render/models/Camera.h"
#include "render/models/MeshData.h"
#include "render/models/Model.h"
#include "render/models/SceneVariables.h"
#include "render/models/Skeleton.h"
#include "render/models/SkinnedMesh.h"
#include "render/models/SkinnedModel.h"

#include "engine/video/TextureResource.h"
#include "render/device/TextureLoader.h"
#include "render/device/TransformCache.h"
#include "render/device/VertexBuffer.h"
#include "render/shaders/FixedFunctionDescription.h"
#include "render/shaders/ShaderEffect.h"
#include "tests/engine/math/MathExpect.h"
#include "tests/render/device/WindowedDevice.h"
#include "tests/render/models/ModelSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr float kDegree = 3.1415927f / 180.0f;
// The pass the sample mesh shaders draw in.
constexpr int32_t kWorldPass = 1;


// The rectangle of pixels that are not the black background.
struct Silhouette {
    int32_t left = 1 << 30;
    int32_t top = 1 << 30;
    int32_t right = -1;
    int32_t bottom = -1;
    int32_t pixels = 0;

    explicit Silhouette(const Screenshot& shot)
    {
        for (int32_t y = 0; y < shot.height; ++y) {
            for (int32_t x = 0; x < shot.width; ++x) {
                if ((shot.pixels[y * shot.width + x] & 0x00F0F0F0) == 0) {
                    continue;
                }
                ++pixels;
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x);
                bottom = std::max(bottom, y);
            }
        }
    }
};

// A camera 4 units in front of the origin, 1 up, looking down -z.
Camera FrontCamera()
{
    Camera camera;
    camera.SetFov(60.0f * kDegree);
    camera.SetViewport({0, 0, 800, 600});
    camera.SetPosition({0.0f, 1.0f, 4.0f});
    camera.Update();
    return camera;
}

class ModelDrawing : public ModelFixture, public WindowedDevice {
protected:
    void SetUp() override
    {
        WindowedDevice::SetUp();
        RegisterTextureLoaders();
        ResetTransformCaches();
        ForgetFixedFunctionState();
        ReleaseSkinnedMeshes();
        scene.Aim(camera);
    }
    void TearDown() override { ReleaseSkinnedMeshes(); }

    template <class DrawFunction>
    Screenshot DrawFrame(DrawFunction draw)
    {
        video.BeginFrame();
        video.Clear(kClearTarget | kClearDepth | kClearStencil, {0.0f, 0.0f, 0.0f, 1.0f}, 1.0f, 0);
        draw();
        video.EndFrame();
        video.Present();
        video.SetShader(nullptr, 0, 0);
        return Screenshot(video);
    }

    // The silhouette lies inside the box's projection, within a pixel or two
    // of rounding, and fills at least the share asked of its height and width.
    void ExpectSilhouetteIn(const Screenshot& shot, const Rect& expected, float share)
    {
        ASSERT_TRUE(shot.taken);
        const Silhouette drawn(shot);
        ASSERT_GT(drawn.pixels, 0);
        EXPECT_GE(drawn.left, expected.min.x - 2.0f);
        EXPECT_GE(drawn.top, expected.min.y - 2.0f);
        EXPECT_LE(drawn.right, expected.max.x + 2.0f);
        EXPECT_LE(drawn.bottom, expected.max.y + 2.0f);
        EXPECT_GE(drawn.right - drawn.left, (expected.max.x - expected.min.x) * share);
        EXPECT_GE(drawn.bottom - drawn.top, (expected.max.y - expected.min.y) * share);
    }

    Camera camera = FrontCamera();
    SceneVariables scene;
};

} // namespace

TEST_F(ModelDrawing, DrawsAStaticMeshWhereItsBoxProjects)
{
    Model box(&video, L"Box.DCM", L"");
    box.SetParent(&scene);
    ASSERT_NE(box.GetPassMask(0) & PassBit(kWorldPass), 0);
    Matrix44 world;
    world.SetRow(3, {0.5f, 0.0f, 0.0f});
    const Screenshot shot = DrawFrame([&] { box.Render(world, kWorldPass, 0); });
    // A box's outline is the outline of its corners.
    const BoundingBox placed{box.GetBoundsCentre() + Vec3{0.5f, 0.0f, 0.0f}, box.GetBoundsHalfExtents()};
    ExpectSilhouetteIn(shot, camera.ScreenRectOfBox(placed), 0.95f);

    // Hidden, or drawn in a pass its materials do not serve, it draws nothing.
    box.FindNode(L"BOX")->hidden = true;
    EXPECT_EQ(Silhouette(DrawFrame([&] { box.Render(world, kWorldPass, 0); })).pixels, 0);
    box.FindNode(L"BOX")->hidden = false;
    EXPECT_EQ(Silhouette(DrawFrame([&] { box.Render(world, 0, 0); })).pixels, 0);
}

TEST_F(ModelDrawing, ADetachedNodeIgnoresTheWorldMatrix)
{
    Model box(&video, L"Box.DCM", L"");
    box.SetParent(&scene);
    Matrix44 farAway;
    farAway.SetRow(3, {100.0f, 0.0f, 0.0f});
    EXPECT_EQ(Silhouette(DrawFrame([&] { box.Render(farAway, kWorldPass, 0); })).pixels, 0);
    box.FindNode(L"BOX")->attached = false;
    const Screenshot shot = DrawFrame([&] { box.Render(farAway, kWorldPass, 0); });
    ExpectSilhouetteIn(shot, camera.ScreenRectOfBox({box.GetBoundsCentre(), box.GetBoundsHalfExtents()}), 0.95f);
}

TEST_F(ModelDrawing, DrawsAnAnimatedFigureDeformedByItsSkeleton)
{
    SkinnedModel figure(&video, L"Models\\Figure.DCM");
    figure.SetParent(&scene);
    Skeleton skeleton(L"Models\\Figure.DCSK", &figure);
    const Animation walk(L"Models\\Walk.DCA", true);
    skeleton.AddAnimation(&walk);
    skeleton.PlayAnimation(&walk, 0.0f, -1, 0.0f, 1.0f);
    skeleton.Update(0.15f);
    EXPECT_GT(skeleton.ConsumeRootOffset().z, 0.0f);
    const Screenshot shot = DrawFrame([&] { skeleton.Render(Matrix44{}, kWorldPass, 0); });
    // Standing 1.72 high with its arms 0.32 out; the legs swing forward and back.
    const Rect reach = camera.ScreenRectOfBox({{0.0f, 0.86f, 0.0f}, {0.35f, 0.88f, 0.45f}});
    ExpectSilhouetteIn(shot, reach, 0.5f);

    // The skeleton's matrices reach the model: its variables point at them.
    EXPECT_NE(figure.FindVariable(skeleton.GetPaletteIds()[0]), nullptr);
    EXPECT_EQ(figure.FindVariable(skeleton.GetPaletteIds()[0])->size, 64u);

    // Moved by the world matrix, the figure is skinned again into its ring.
    Matrix44 aside;
    aside.SetRow(3, {-1.5f, 0.0f, 0.0f});
    const Screenshot moved = DrawFrame([&] { skeleton.Render(aside, kWorldPass, 0); });
    const Silhouette before(shot);
    const Silhouette after(moved);
    ASSERT_GT(after.pixels, 0);
    // The camera looks down -z: world -x is to its right.
    EXPECT_GT(after.left, before.right);
}

TEST_F(ModelDrawing, ASkeletonHandsItsMatricesTransposedOnlyToModelsSkinnedOnTheCard)
{
    Model box(&video, L"Box.DCM", L"");
    SkinnedModel figure(&video, L"Models\\Figure.DCM");
    const Animation walk(L"Models\\Walk.DCA", true);
    Matrix44 world;
    world.SetRow(3, {0.5f, 0.0f, 0.0f});
    struct Case { Model* model; bool transposed; };
    for (const Case& c : std::initializer_list<Case>{{&box, true}, {&figure, false}}) {
        c.model->SetParent(&scene);
        Skeleton skeleton(L"Models\\Figure.DCSK", c.model);
        skeleton.AddAnimation(&walk);
        skeleton.PlayAnimation(&walk, 0.0f, -1, 0.0f, 1.0f);
        skeleton.Update(0.15f);
        DrawFrame([&] { skeleton.Render(world, kWorldPass, 0); });
        const int32_t leg = skeleton.FindBone(L"LeftLeg")->index;
        Matrix44 expected = Matrix44::Multiply(skeleton.GetBoneMatrix(leg), world);
        if (c.transposed) {
            expected = Matrix44::Transpose(expected);
        }
        const ShaderVariable* palette = c.model->FindVariable(skeleton.GetPaletteIds()[leg]);
        ASSERT_NE(palette, nullptr);
        ASSERT_EQ(palette->size, 64u);
        Matrix44 handed;
        std::memcpy(&handed.m[0][0], palette->Data(), sizeof handed.m);
        EXPECT_TRUE(NearMatrix(handed, expected)) << c.transposed;
    }
}

TEST_F(ModelDrawing, ASkeletonWithoutBonesDrawsItsFigureInTheBindPose)
{
    SkinnedModel figure(&video, L"Models\\Figure.DCM");
    figure.SetParent(&scene);
    Skeleton broken(L"Models\\BadMagic.DCSK", &figure);
    ASSERT_EQ(broken.GetBoneCount(), 0);
    Matrix44 world;
    world.SetRow(3, {0.5f, 0.0f, 0.0f});
    const Screenshot shot = DrawFrame([&] { broken.Render(world, kWorldPass, 0); });
    // Standing 1.72 high with its arms 0.32 out, where the world matrix puts it.
    ExpectSilhouetteIn(shot, camera.ScreenRectOfBox({{0.5f, 0.86f, 0.0f}, {0.35f, 0.88f, 0.2f}}), 0.5f);
}

namespace {

WideString Upper(WideString text)
{
    WideStringToUpper(text);
    return text;
}

// The textures a material's effect holds, by variable name.
std::vector<std::pair<WideString, const void*>> EffectTextures(const MeshMaterial& material)
{
    std::vector<std::pair<WideString, const void*>> textures;
    for (const auto& variable : material.effect->GetVariables()) {
        if (variable->kind == kShaderTexture) {
            textures.emplace_back(variable->name, variable->value.pointer);
        }
    }
    return textures;
}

} // namespace

TEST_F(ModelDrawing, MaterialsBindTheirTexturesAndValues)
{
    Model plain(&video, L"Tiny.DCM", L"");
    std::vector<MeshMaterial>& materials = plain.GetMesh()->GetMaterials();
    ASSERT_EQ(materials.size(), 2u);
    ASSERT_NE(materials[0].effect, nullptr);
    ASSERT_EQ(materials[0].textures.size(), 2u);
    EXPECT_EQ(materials[0].textures[0]->GetName(), L"TEXTURES\\WOOD.DCT");
    EXPECT_EQ(materials[0].textures[1]->GetName(), L"TEXTURES\\WOOD_S.DCT");
    using Binding = std::pair<WideString, const void*>;
    EXPECT_EQ(EffectTextures(materials[0]), (std::vector<Binding>{{L"DiffuseTex", materials[0].textures[0].get()},
                                                                  {L"ShininessTex", materials[0].textures[1].get()}}));
    const ShaderVariable& tint = *materials[1].effect->GetVariables().front();
    EXPECT_EQ(tint.name, L"Tint");
    EXPECT_EQ(tint.size, 16u);
    EXPECT_EQ(static_cast<const float*>(tint.value.pointer)[1], 0.5f);
    EXPECT_EQ(materials[1].name, L"DCGLASS.DCS");

    // A suffix picks the suffixed texture where one exists.
    Model red(&video, L"Tiny.DCM", L"_Red");
    std::vector<MeshMaterial>& redMaterials = red.GetMesh()->GetMaterials();
    ASSERT_EQ(redMaterials[0].textures.size(), 2u);
    EXPECT_EQ(redMaterials[0].textures[0]->GetName(), L"TEXTURES\\WOOD_RED.DCT");
    EXPECT_EQ(redMaterials[0].textures[1]->GetName(), L"TEXTURES\\WOOD_S.DCT");
}

TEST_F(ModelDrawing, SkinnedMaterialsDrawWithTheSoftwareSkinningShaders)
{
    SkinnedModel figure(&video, L"Models\\SkinTiny.DCM");
    std::vector<MeshMaterial>& materials = figure.GetMesh()->GetMaterials();
    ASSERT_EQ(materials.size(), 3u);
    EXPECT_EQ(Upper(materials[0].effect->GetName()), L"SHADERS\\DCSOFTSKIN.DCS");
    EXPECT_EQ(Upper(materials[1].effect->GetName()), L"SHADERS\\DCSOFTSKIN_ALPHA.DCS");
    EXPECT_EQ(materials[2].effect->GetName(), L"");
    EXPECT_EQ(materials[0].name, L"DCSKIN.DCS");
    // Skinned textures are taken as named: no "Skin.DCT" stands in for "Skin.TGA".
    ASSERT_EQ(materials[0].textures.size(), 1u);
    EXPECT_EQ(materials[0].textures[0]->GetName().find(L"SKIN.DCT"), WideString::npos);
}

TEST_F(ModelDrawing, SkinningAppendsToTheRingUntilItIsFull)
{
    SkinnedModel figure(&video, L"Models\\SkinTiny.DCM");
    SkinStream& stream = static_cast<SkinnedMesh*>(figure.GetMesh())->GetGeometry()[0].streams[0];
    const Matrix44 identity;
    struct Case { int32_t position; int32_t drawnFrom; int32_t next; };
    for (const Case& c : std::initializer_list<Case>{
             {0, 0, 4}, {4, 4, 8}, {kSkinRingCapacity - 5, kSkinRingCapacity - 5, kSkinRingCapacity - 1},
             // Filling the rest of the ring exactly starts it over.
             {kSkinRingCapacity - 4, 0, 4}}) {
        stream.ringPosition = c.position;
        static_cast<SkinnedMesh*>(figure.GetMesh())->Skin(&identity, 1);
        EXPECT_EQ(stream.ring->GetRingPosition(), c.drawnFrom) << c.position;
        EXPECT_EQ(stream.ringPosition, c.next) << c.position;
    }
}
