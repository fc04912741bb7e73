#include "render/device/DepthSurface.h"
#include "render/device/IndexBuffer.h"
#include "render/device/VertexBuffer.h"
#include "render/device/VertexFormat.h"
#include "tests/render/device/WindowedDevice.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

namespace {

// What Direct3D itself holds.
std::vector<uint8_t> Direct3DContents(IDirect3DIndexBuffer9* buffer, size_t bytes)
{
    std::vector<uint8_t> contents(bytes);
    void* data = nullptr;
    if (SUCCEEDED(buffer->Lock(0, 0, &data, D3DLOCK_READONLY))) {
        std::memcpy(contents.data(), data, bytes);
        buffer->Unlock();
    }
    return contents;
}

D3DINDEXBUFFER_DESC Describe(IDirect3DIndexBuffer9* buffer)
{
    D3DINDEXBUFFER_DESC description{};
    buffer->GetDesc(&description);
    return description;
}

D3DVERTEXBUFFER_DESC Describe(IDirect3DVertexBuffer9* buffer)
{
    D3DVERTEXBUFFER_DESC description{};
    buffer->GetDesc(&description);
    return description;
}

} // namespace

TEST(BufferPlacement, DynamicBuffersLiveInVideoMemoryAndSoftwareOnesInSystemMemory)
{
    struct Case {
        bool dynamic;
        bool hardware;
        BufferPlacement placement;
    };
    for (const Case& c : std::initializer_list<Case>{
             {true, true, {D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, D3DPOOL_DEFAULT}},
             {false, true, {D3DUSAGE_WRITEONLY, D3DPOOL_MANAGED}},
             {true, false, {D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY | D3DUSAGE_SOFTWAREPROCESSING, D3DPOOL_SYSTEMMEM}},
             {false, false, {D3DUSAGE_WRITEONLY | D3DUSAGE_SOFTWAREPROCESSING, D3DPOOL_SYSTEMMEM}}}) {
        const BufferPlacement placement = ChooseBufferPlacement(c.dynamic, c.hardware);
        EXPECT_EQ(placement.usage, c.placement.usage) << c.dynamic << c.hardware;
        EXPECT_EQ(placement.pool, c.placement.pool) << c.dynamic << c.hardware;
    }
}

TEST_F(WindowedDevice, IndexWidthFollowsTheVertexCount)
{
    struct Case {
        int32_t vertices;
        bool is16Bit;
        D3DFORMAT format;
        UINT bytes;
    };
    for (const Case& c : std::initializer_list<Case>{{65536, true, D3DFMT_INDEX16, 2000},
                                                    {65537, false, D3DFMT_INDEX32, 4000},
                                                    {3, true, D3DFMT_INDEX16, 2000}}) {
        std::unique_ptr<IndexBuffer> indices = video.CreateIndexBuffer(1000, c.vertices, false, true);
        EXPECT_EQ(indices->Is16Bit(), c.is16Bit);
        const D3DINDEXBUFFER_DESC description = Describe(indices->GetDirect3DBuffer());
        EXPECT_EQ(description.Format, c.format);
        EXPECT_EQ(description.Size, c.bytes);
    }
}

TEST_F(WindowedDevice, SixteenBitIndicesAreWrittenAndReadAsThirtyTwoBitValues)
{
    std::unique_ptr<IndexBuffer> indices = video.CreateIndexBuffer(8, 100, false, false);
    ASSERT_NE(indices->Lock({0, 8}, 0), nullptr);
    for (int32_t i = 0; i < 8; ++i) {
        *indices->ElementPointer(i) = static_cast<uint32_t>(i * 10);
    }
    // Only the low 16 bits fit.
    *indices->ElementPointer(3) = 70000;
    indices->Unlock();
    EXPECT_EQ(indices->ElementPointer(0), nullptr);
    const std::vector<uint8_t> held = Direct3DContents(indices->GetDirect3DBuffer(), 16);
    uint16_t third = 0;
    std::memcpy(&third, &held[6], 2);
    EXPECT_EQ(third, 4464);

    // Read first, when asked: the old value of each element.
    ASSERT_NE(indices->Lock({2, 4}, kLockReadsOldValues), nullptr);
    EXPECT_EQ(*indices->ElementPointer(0), 20u);
    EXPECT_EQ(*indices->ElementPointer(1), 4464u);
    *indices->ElementPointer(2) = 7;
    indices->Unlock();
    std::memcpy(&third, &Direct3DContents(indices->GetDirect3DBuffer(), 16)[8], 2);
    EXPECT_EQ(third, 7);
}

TEST_F(WindowedDevice, LocksOutsideTheBufferGiveNothing)
{
    std::unique_ptr<VertexBuffer> vertices = video.CreateVertexBuffer(16, 10, true, true);
    for (const ElementRange range : {ElementRange{-1, 2}, ElementRange{9, 2}, ElementRange{0, 0}, ElementRange{0, 11}}) {
        EXPECT_EQ(vertices->Lock(range, kLockDiscard), nullptr) << range.start << "+" << range.count;
        EXPECT_FALSE(vertices->IsLocked());
    }
    void* locked = vertices->Lock({8, 2}, kLockNoOverwrite);
    ASSERT_NE(locked, nullptr);
    EXPECT_EQ(vertices->ElementPointer(1), static_cast<uint8_t*>(locked) + 16);
    // Locked once at a time.
    EXPECT_EQ(vertices->Lock({0, 2}, 0), nullptr);
    vertices->Unlock();

    // Sizes no buffer can have make one that cannot be locked.
    for (const auto& size : {std::pair{0, 10}, std::pair{16, -1}, std::pair{0x10000, 0x10000}}) {
        std::unique_ptr<VertexBuffer> broken = video.CreateVertexBuffer(size.first, size.second, false, true);
        EXPECT_EQ(broken->GetDirect3DBuffer(), nullptr);
        EXPECT_EQ(broken->Lock({0, 1}, 0), nullptr);
    }
}

TEST_F(WindowedDevice, BoundBuffersMoveToSystemMemoryWithTheirContents)
{
    std::unique_ptr<VertexBuffer> vertices = video.CreateVertexBuffer(12, 4, false, true);
    std::unique_ptr<IndexBuffer> indices = video.CreateIndexBuffer(6, 70000, true, true);
    auto* floats = static_cast<float*>(vertices->Lock({0, 4}, 0));
    ASSERT_NE(floats, nullptr);
    for (int32_t i = 0; i < 12; ++i) {
        floats[i] = static_cast<float>(i);
    }
    vertices->Unlock();
    ASSERT_NE(indices->Lock({0, 6}, kLockDiscard), nullptr);
    for (int32_t i = 0; i < 6; ++i) {
        *indices->ElementPointer(i) = static_cast<uint32_t>(100000 + i);
    }
    indices->Unlock();
    video.SetVertexStream(1, vertices.get());
    video.SetIndexBuffer(indices.get());

    video.ConvertBoundBuffersToSoftware();
    EXPECT_TRUE(vertices->IsSoftware());
    EXPECT_EQ(vertices->GetPool(), D3DPOOL_SYSTEMMEM);
    EXPECT_EQ(Describe(vertices->GetDirect3DBuffer()).Pool, D3DPOOL_SYSTEMMEM);
    EXPECT_TRUE(indices->IsSoftware());
    const D3DINDEXBUFFER_DESC description = Describe(indices->GetDirect3DBuffer());
    EXPECT_EQ(description.Size, 24u);
    EXPECT_EQ(description.Format, D3DFMT_INDEX32);

    // The contents came along, and the device holds the new buffers.
    std::vector<uint8_t> held = Direct3DContents(indices->GetDirect3DBuffer(), 24);
    uint32_t last = 0;
    std::memcpy(&last, &held[20], 4);
    EXPECT_EQ(last, 100005u);
    IDirect3DVertexBuffer9* stream = nullptr;
    UINT offset = 0;
    UINT stride = 0;
    video.GetDirect3DDevice()->GetStreamSource(1, &stream, &offset, &stride);
    EXPECT_EQ(stream, vertices->GetDirect3DBuffer());
    EXPECT_EQ(stride, 12u);
    stream->Release();
    IDirect3DIndexBuffer9* current = nullptr;
    video.GetDirect3DDevice()->GetIndices(&current);
    EXPECT_EQ(current, indices->GetDirect3DBuffer());
    current->Release();
    void* data = nullptr;
    ASSERT_TRUE(SUCCEEDED(vertices->GetDirect3DBuffer()->Lock(0, 0, &data, D3DLOCK_READONLY)));
    EXPECT_EQ(static_cast<const float*>(data)[11], 11.0f);
    vertices->GetDirect3DBuffer()->Unlock();

    // Converted once for good.
    IDirect3DVertexBuffer9* converted = vertices->GetDirect3DBuffer();
    video.ConvertBoundBuffersToSoftware();
    EXPECT_EQ(vertices->GetDirect3DBuffer(), converted);
}

TEST_F(WindowedDevice, StreamTableGrowsToTheHighestBoundStreamAndShrinksOnUnbinding)
{
    std::unique_ptr<VertexBuffer> vertices = video.CreateVertexBuffer(16, 4, false, true);
    video.SetVertexStream(2, vertices.get());
    EXPECT_EQ(video.GetVertexStream(0), nullptr);
    EXPECT_EQ(video.GetVertexStream(2), vertices.get());
    video.SetVertexStream(0, nullptr);
    EXPECT_EQ(video.GetVertexStream(2), nullptr);
    IDirect3DVertexBuffer9* stream = nullptr;
    UINT offset = 0;
    UINT stride = 0;
    video.GetDirect3DDevice()->GetStreamSource(2, &stream, &offset, &stride);
    EXPECT_EQ(stream, nullptr);

    // A buffer that goes is unbound.
    video.SetVertexStream(0, vertices.get());
    vertices.reset();
    EXPECT_EQ(video.GetVertexStream(0), nullptr);
    video.GetDirect3DDevice()->GetStreamSource(0, &stream, &offset, &stride);
    EXPECT_EQ(stream, nullptr);
}

TEST_F(WindowedDevice, DynamicBuffersStartOverAfterAReset)
{
    std::unique_ptr<VertexBuffer> ring = video.CreateVertexBuffer(16, 64, true, true);
    std::unique_ptr<VertexBuffer> fixed = video.CreateVertexBuffer(16, 64, false, true);
    std::unique_ptr<IndexBuffer> indices = video.CreateIndexBuffer(64, 64, true, true);
    ring->SetRingPosition(40);
    indices->SetRingPosition(12);
    IDirect3DVertexBuffer9* managed = fixed->GetDirect3DBuffer();
    ASSERT_NE(ring->Lock({40, 4}, kLockNoOverwrite), nullptr);
    ASSERT_TRUE(video.Create(nullptr, {640, 480}, {}));
    EXPECT_FALSE(ring->IsLocked());
    EXPECT_EQ(ring->GetRingPosition(), 0);
    EXPECT_EQ(indices->GetRingPosition(), 0);
    ASSERT_NE(ring->GetDirect3DBuffer(), nullptr);
    EXPECT_EQ(Describe(ring->GetDirect3DBuffer()).Pool, D3DPOOL_DEFAULT);
    EXPECT_EQ(fixed->GetDirect3DBuffer(), managed);
    EXPECT_NE(ring->Lock({0, 64}, kLockDiscard), nullptr);
    ring->Unlock();
}

TEST_F(WindowedDevice, EqualLayoutsShareOneDeclaration)
{
    const std::vector<VertexElement> layout{
        {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
        {0, 12, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    };
    const size_t before = video.GetResources().declarations.size();
    std::unique_ptr<VertexFormat> first = video.CreateVertexFormat(layout);
    std::unique_ptr<VertexFormat> second = video.CreateVertexFormat(layout);
    EXPECT_EQ(&first->GetDeclaration(), &second->GetDeclaration());
    EXPECT_NE(first->GetDeclaration().GetDirect3DDeclaration(), nullptr);
    EXPECT_EQ(video.GetResources().declarations.size(), before + 1);

    // Switching between the two costs nothing: Direct3D never hears of the second.
    video.SetVertexFormat(first.get());
    video.GetDirect3DDevice()->SetVertexDeclaration(nullptr);
    video.SetVertexFormat(second.get());
    IDirect3DVertexDeclaration9* current = nullptr;
    video.GetDirect3DDevice()->GetVertexDeclaration(&current);
    EXPECT_EQ(current, nullptr);

    first.reset();
    EXPECT_EQ(video.GetResources().declarations.size(), before + 1);
    second.reset();
    EXPECT_EQ(video.GetResources().declarations.size(), before);
}

TEST_F(WindowedDevice, DepthSurfacesTakeTheNearestFormatAndComeBackAfterAReset)
{
    std::unique_ptr<DepthSurface> depth = video.CreateDepthStencil({256, 128, kTextureD24S8, false, nullptr});
    ASSERT_NE(depth->GetSurface(), nullptr);
    EXPECT_EQ(depth->GetFormat(), video.ChooseDepthFormat(D3DFMT_A8R8G8B8, D3DFMT_D24S8));
    EXPECT_EQ(depth->GetWidth(), 256);
    ASSERT_TRUE(video.Create(nullptr, kMenuSize, {}));
    EXPECT_NE(depth->GetSurface(), nullptr);

    ScopedCapture log;
    std::unique_ptr<DepthSurface> refused = video.CreateDepthStencil({-5, 128, kTextureD16, true, nullptr});
    EXPECT_EQ(refused->GetSurface(), nullptr);
    EXPECT_TRUE(log->Contains(L"D3D9Video: Failed creating DepthStencil surface"));
    EXPECT_TRUE(log->Contains(L"D3D9Video: Size = -5, 128"));
    EXPECT_TRUE(log->Contains(L"D3D9Video: AutoDiscard = 1"));
    // Set all the same, it leaves Direct3D's depth surface as it was.
    video.SetDepthStencil(depth.get());
    video.SetDepthStencil(refused.get());
    IDirect3DSurface9* current = nullptr;
    video.GetDirect3DDevice()->GetDepthStencilSurface(&current);
    EXPECT_EQ(current, depth->GetSurface());
    current->Release();
    EXPECT_EQ(video.GetDepthStencil(), refused.get());
    video.SetDepthStencil(nullptr);
}
