#include "render/models/Model.h"

#include "render/models/Mesh.h"
#include "render/models/Skeleton.h"
#include "render/models/SkinnedMesh.h"
#include "render/models/SkinnedModel.h"
#include "tests/engine/math/MathExpect.h"
#include "tests/render/models/ModelSupport.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Models without a device: their meshes keep the records but no buffers or effects.
class ModelInstances : public ModelFixture, public testing::Test {};

int32_t CachedWithKey(const WideString& key)
{
    const std::vector<Mesh*>& cache = MeshCache();
    return static_cast<int32_t>(
        std::count_if(cache.begin(), cache.end(), [&key](const Mesh* mesh) { return mesh->GetKey() == key; }));
}

} // namespace

TEST_F(ModelInstances, ShareOneMeshPerNameAndSuffix)
{
    const size_t cachedBefore = MeshCache().size();
    {
        Model first(nullptr, L"Tiny.DCM", L"");
        Model second(nullptr, L"Tiny.DCM", L"");
        Model suffixed(nullptr, L"Tiny.DCM", L"_Red");
        ASSERT_EQ(first.GetMesh(), second.GetMesh());
        EXPECT_NE(first.GetMesh(), suffixed.GetMesh());
        EXPECT_EQ(first.GetMesh()->referenceCount, 2);
        EXPECT_EQ(first.GetMesh()->GetKey(), L"MODELS\\TINY.DCM");
        EXPECT_EQ(suffixed.GetMesh()->GetKey(), L"MODELS\\TINY.DCM_Red");
        EXPECT_EQ(MeshCache().size(), cachedBefore + 2);
    }
    EXPECT_EQ(MeshCache().size(), cachedBefore);
}

TEST_F(ModelInstances, CopyTheNodesAndBoundTheirWorldBoxes)
{
    Model model(nullptr, L"Tiny.DCM", L"");
    ASSERT_EQ(model.GetNodes().size(), 3u);
    // FRONT spans x 10 to 11, BACK x -3 to 3, y 3 to 7 and z -1 to 1, FRONT_2 lies at z -4.
    EXPECT_TRUE(NearVec(model.GetBoundsCentre(), {4.0f, 3.5f, -1.5f}));
    EXPECT_TRUE(NearVec(model.GetBoundsHalfExtents(), {7.0f, 3.5f, 2.5f}));
    model.FindNode(L"BACK")->hidden = true;
    model.FindNode(L"BACK")->position = {9.0f, 9.0f, 9.0f};
    EXPECT_FALSE(model.GetMesh()->GetNodes()[1].hidden);
    EXPECT_TRUE(NearVec(model.GetMesh()->GetNodes()[1].position, {0.0f, 5.0f, 0.0f}));
    ASSERT_NE(model.FindTape(L"Rocket_1"), nullptr);
    EXPECT_TRUE(NearVec(model.FindTape(L"Rocket_1")->position, {1.0f, 2.0f, 3.0f}));
    EXPECT_EQ(model.FindTape(L"Rocket_2"), nullptr);
    EXPECT_EQ(model.FindNode(L"WHEEL_1"), nullptr);
    EXPECT_GE(model.GetWorldVariable(), 0);
    EXPECT_FALSE(model.IsSoftwareSkinned());
}

TEST_F(ModelInstances, AMissingMeshGivesAnEmptyModel)
{
    ScopedCapture log;
    const size_t cachedBefore = MeshCache().size();
    Model model(nullptr, L"Nowhere.DCM", L"");
    EXPECT_TRUE(log->Contains(L"Nowhere.DCM"));
    EXPECT_EQ(MeshCache().size(), cachedBefore);
    EXPECT_EQ(model.GetPassMask(0), 0);
    EXPECT_TRUE(model.GetNodes().empty());
    EXPECT_TRUE(NearVec(model.GetBoundsCentre(), kZeroVector));
    EXPECT_TRUE(NearVec(model.GetBoundsHalfExtents(), {-1e8f, -1e8f, -1e8f}, 1.0f));
    model.Render(Matrix44{}, 3, 0);
}

TEST_F(ModelInstances, ARefusedMeshIsCachedEmptyAndNotReadAgain)
{
    ScopedCapture log;
    {
        Model first(nullptr, L"BadIndexValue.DCM", L"");
        Model second(nullptr, L"BadIndexValue.DCM", L"");
        EXPECT_EQ(first.GetMesh(), second.GetMesh());
        EXPECT_EQ(CachedWithKey(L"MODELS\\BADINDEXVALUE.DCM"), 1);
        EXPECT_TRUE(first.GetNodes().empty());
        EXPECT_EQ(log->Count(L"contains errors"), 1);
    }
    EXPECT_EQ(CachedWithKey(L"MODELS\\BADINDEXVALUE.DCM"), 0);
}

TEST_F(ModelInstances, LoadingAgainLetsGoOfThePreviousMesh)
{
    const size_t cachedBefore = MeshCache().size();
    {
        Model model(nullptr, L"Tiny.DCM", L"");
        {
            Model sharing(nullptr, L"Tiny.DCM", L"");
            model.LoadMesh(L"Car.DCM", L"");
            EXPECT_EQ(sharing.GetMesh()->referenceCount, 1);
            EXPECT_EQ(CachedWithKey(L"MODELS\\TINY.DCM"), 1);
        }
        // Its last model gone, the first mesh leaves the cache.
        EXPECT_EQ(CachedWithKey(L"MODELS\\TINY.DCM"), 0);
        EXPECT_NE(model.FindNode(L"WHEEL_1"), nullptr);

        model.AttachMesh(model.GetMesh());
        EXPECT_EQ(model.GetMesh()->referenceCount, 1);

        ScopedCapture log;
        model.LoadMesh(L"Nowhere.DCM", L"");
        EXPECT_EQ(CachedWithKey(L"MODELS\\CAR.DCM"), 0);
        EXPECT_TRUE(model.GetNodes().empty());
        // An empty mesh gives way to another, and to a mesh that loads.
        model.LoadMesh(L"Nowhere.DCM", L"");
        model.LoadMesh(L"Tiny.DCM", L"");
        EXPECT_EQ(model.GetNodes().size(), 3u);
        EXPECT_EQ(model.GetMesh()->referenceCount, 1);
    }
    EXPECT_EQ(MeshCache().size(), cachedBefore);
}

TEST_F(ModelInstances, TheSampleCarHasItsWheelsAndTapes)
{
    Model car(nullptr, L"Car.DCM", L"");
    for (const wchar_t* name : {L"BODY", L"WHEEL_1", L"WHEEL_2", L"WHEEL_3", L"WHEEL_4"}) {
        EXPECT_NE(car.FindNode(name), nullptr) << WideStringToNarrow(name);
    }
    EXPECT_NE(car.FindTape(L"Rocket_1"), nullptr);
    EXPECT_NE(car.FindTape(L"Rocket_2"), nullptr);
    EXPECT_EQ(car.GetMesh()->GetMaterials().size(), 2u);
    EXPECT_EQ(car.GetMesh()->GetMaterials()[0].name, L"DCMESH.DCS");
}

TEST_F(ModelInstances, SkinnedModelsOfOneFileShareTheirMesh)
{
    // The skinned-model factory has no folders: the name is taken as given.
    SkinnedModel first(nullptr, L"Models\\SkinTiny.DCM");
    SkinnedModel second(nullptr, L"Models\\SkinTiny.DCM");
    EXPECT_EQ(first.GetMesh(), second.GetMesh());
    EXPECT_TRUE(first.IsSoftwareSkinned());
    EXPECT_EQ(first.GetMesh()->GetKey(), L"Models\\SkinTiny.DCM");
    auto& geometry = static_cast<SkinnedMesh*>(first.GetMesh())->GetGeometry();
    ASSERT_EQ(geometry.size(), 1u);
    EXPECT_EQ(geometry[0].streams[0].source.size(), 4u);

    ScopedCapture log;
    SkinnedModel missing(nullptr, L"SkinTiny.DCM");
    EXPECT_TRUE(missing.GetNodes().empty());
    EXPECT_TRUE(log->Contains(L"SkinTiny.DCM"));
}

TEST_F(ModelInstances, ASkeletonBindsItsPaletteOnItsModel)
{
    SkinnedModel figure(nullptr, L"Models\\SkinTiny.DCM");
    const Skeleton skeleton(L"Models\\Chain.DCSK", &figure);
    const int32_t* ids = skeleton.GetPaletteIds();
    for (int32_t i = 0; i < kMaxBones; ++i) {
        ASSERT_NE(figure.FindVariable(ids[i]), nullptr) << i;
        EXPECT_TRUE(figure.FindVariable(ids[i])->localOnly);
    }
    // The first element is the array's own name.
    EXPECT_EQ(figure.FindVariable(ids[0])->name, L"WorldArray");
    EXPECT_EQ(figure.FindVariable(ids[7])->name, L"WorldArray[7]");
    EXPECT_NE(ids[1], ids[2]);
}
