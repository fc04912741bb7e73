// The frame operations of the Direct3D 9 device: the scene, clearing, render
// targets and viewports, the current effect and drawing. Their Direct3D
// results are not checked: a frame that fails to draw is followed by the
// next, and Present deals with a lost device.

#include "render/device/D3D9Video.h"

#include "engine/core/dcEngine.h"
#include "engine/video/Shader.h"
#include "render/device/CubeTexture.h"
#include "render/device/DFTexture.h"
#include "render/device/DepthSurface.h"
#include "render/device/IndexBuffer.h"
#include "render/device/PackedColor.h"
#include "render/device/RenderSurface.h"
#include "render/device/Texture2D.h"
#include "render/device/VertexBuffer.h"
#include "render/device/VertexFormat.h"

namespace {

// A vertex of the debug shapes, laid out as the line vertex format.
struct DebugVertex {
    float x;
    float y;
    float z;
    D3DCOLOR color;
};

} // namespace

void D3D9Video::BeginFrame()
{
    statistics_ = {};
    if (!device_) {
        return;
    }
    SetRenderStateCached(D3DRS_CULLMODE, D3DCULL_NONE);
    device_->BeginScene();
    SetRenderStateCached(D3DRS_FILLMODE, HasCapability(kCapabilityWireframe) ? D3DFILL_WIREFRAME : D3DFILL_SOLID);
}

// Direct3D refuses the whole clear when it names a buffer that is not there,
// so depth and stencil are asked for only where the depth surface has them.
void D3D9Video::Clear(uint32_t flags, const Color& color, float z, int32_t stencil)
{
    if (!device_) {
        return;
    }
    const D3DFORMAT depthFormat = CurrentDepthFormat();
    DWORD targets = (flags & kClearTarget) ? D3DCLEAR_TARGET : 0;
    if ((flags & kClearDepth) && depthFormat != D3DFMT_UNKNOWN) {
        targets |= D3DCLEAR_ZBUFFER;
    }
    if ((flags & kClearStencil) && depthFormat == D3DFMT_D24S8) {
        targets |= D3DCLEAR_STENCIL;
    }
    device_->Clear(0, nullptr, targets, PackColor(color), z, static_cast<DWORD>(stencil));
}

D3DFORMAT D3D9Video::CurrentDepthFormat() const
{
    if (depthSurface_) {
        return depthSurface_->GetSurface() ? depthSurface_->GetFormat() : D3DFMT_UNKNOWN;
    }
    return defaultDepthFormat_;
}

void D3D9Video::EndFrame()
{
    if (device_) {
        device_->EndScene();
    }
}

void D3D9Video::SetViewport(const ViewportRect& rect, float minZ, float maxZ)
{
    viewport_ = rect;
    viewportWidth_ = static_cast<int32_t>(rect.right - rect.left);
    viewportHeight_ = static_cast<int32_t>(rect.bottom - rect.top);
    if (!device_) {
        return;
    }
    D3DVIEWPORT9 viewport{static_cast<DWORD>(rect.left), static_cast<DWORD>(rect.top),
                          static_cast<DWORD>(viewportWidth_), static_cast<DWORD>(viewportHeight_), minZ, maxZ};
    device_->SetViewport(&viewport);
}

// A texture cannot be sampled while it is drawn into, so every stage is
// unbound. A target without a surface (its creation failed) leaves Direct3D
// drawing where it was, but is still the target the game asked for.
void D3D9Video::SetRenderTarget(TextureResource* target)
{
    if (!device_) {
        return;
    }
    UnbindTextureStages();
    if (IDirect3DSurface9* surface = TargetSurface(target)) {
        device_->SetRenderTarget(0, surface);
    }
    if (target) {
        SetViewport({0.0f, 0.0f, target->GetImageWidth(), target->GetImageHeight()}, 0.0f, 1.0f);
    } else {
        SetViewport({0.0f, 0.0f, static_cast<float>(backBufferSize_.width), static_cast<float>(backBufferSize_.height)},
                    0.0f, 1.0f);
    }
    renderTarget_ = target;
}

// The resource keeps its surface alive; the reference Direct3D hands out is
// given back at once.
IDirect3DSurface9* D3D9Video::TargetSurface(TextureResource* target)
{
    if (!target) {
        return backBuffer_;
    }
    ComRef<IDirect3DSurface9> surface;
    switch (target->GetKind()) {
    case kTextureKind2D:
        if (IDirect3DTexture9* texture = static_cast<Texture2D*>(target)->GetDeviceTexture()->GetTexture()) {
            texture->GetSurfaceLevel(0, surface.Receive());
        }
        break;
    case kTextureKindCubeFace: {
        const auto* face = static_cast<CubeFace*>(target);
        if (IDirect3DCubeTexture9* texture = face->GetOwner().GetTexture()) {
            texture->GetCubeMapSurface(static_cast<D3DCUBEMAP_FACES>(face->GetIndex()), 0, surface.Receive());
        }
        break;
    }
    case kTextureKindRenderSurface:
        return static_cast<RenderSurface*>(target)->GetSurface();
    default:
        break;
    }
    return surface.Get();
}

// A surface whose creation failed leaves Direct3D's depth surface as it was.
void D3D9Video::SetDepthStencil(DepthSurface* surface)
{
    if (!device_) {
        return;
    }
    if (!surface || surface->GetSurface()) {
        device_->SetDepthStencilSurface(surface ? surface->GetSurface() : defaultDepthSurface_);
    }
    depthSurface_ = surface;
}

void D3D9Video::SetShader(Shader* effect, int32_t passKey, int32_t styleKey)
{
    effect_ = effect;
    passKey_ = passKey;
    styleRow_ = effect ? effect->FindStyle(styleKey) : -2;
    ForgetBoundDFTextures();
}

template <typename DrawCall>
void D3D9Video::DrawFragments(int32_t vertexCount, int32_t primitives, const DrawCall& drawCall)
{
    statistics_.vertices += vertexCount;
    statistics_.primitives += primitives;
    if (effect_) {
        effect_->Validate(passKey_, styleRow_);
        const int32_t fragments = effect_->GetFragmentCount(passKey_, styleRow_);
        for (int32_t i = 0; i < fragments; ++i) {
            ++statistics_.drawCalls;
            effect_->ApplyFragment(passKey_, i, styleRow_);
            drawCall();
        }
    }
    ReportDFScreenAreas(*this, dcEngine::Instance().GetFrameCounter());
}

void D3D9Video::Draw(const ElementRange& vertices, int32_t type)
{
    const int32_t primitives = PrimitiveCount(type, vertices.count);
    if (!device_ || primitives == 0) {
        return;
    }
    const VertexBuffer* stream = GetVertexStream(0);
    const int32_t base = stream ? stream->GetRingPosition() : 0;
    DrawFragments(vertices.count, primitives, [&] {
        device_->DrawPrimitive(static_cast<D3DPRIMITIVETYPE>(type), static_cast<UINT>(base + vertices.start),
                               static_cast<UINT>(primitives));
    });
}

void D3D9Video::DrawIndexed(const ElementRange& indices, const ElementRange& vertices, int32_t type)
{
    const int32_t primitives = PrimitiveCount(type, indices.count);
    if (!device_ || primitives == 0) {
        return;
    }
    const VertexBuffer* stream = GetVertexStream(0);
    const int32_t base = stream ? stream->GetRingPosition() : 0;
    const int32_t firstIndex = (indexBuffer_ ? indexBuffer_->GetRingPosition() : 0) + indices.start;
    DrawFragments(vertices.count, primitives, [&] {
        device_->DrawIndexedPrimitive(static_cast<D3DPRIMITIVETYPE>(type), base, static_cast<UINT>(vertices.start),
                                      static_cast<UINT>(vertices.count), static_cast<UINT>(firstIndex),
                                      static_cast<UINT>(primitives));
    });
}

void D3D9Video::DrawPoint(const Vec3& position, const Color& color)
{
    DrawDebugShape(D3DPT_POINTLIST, &position, 1, color);
}

void D3D9Video::DrawLine(const Vec3& from, const Vec3& to, const Color& color)
{
    const Vec3 ends[] = {from, to};
    DrawDebugShape(D3DPT_LINELIST, ends, 2, color);
}

void D3D9Video::DrawTriangle(const Vec3& a, const Vec3& b, const Vec3& c, const Color& color)
{
    const Vec3 corners[] = {a, b, c};
    DrawDebugShape(D3DPT_TRIANGLELIST, corners, 3, color);
}

// Debug shapes count nothing and report no screen areas; they leave the line
// effect and format current and no vertex stream bound.
void D3D9Video::DrawDebugShape(D3DPRIMITIVETYPE type, const Vec3* positions, int32_t count, const Color& color)
{
    if (!device_) {
        return;
    }
    DebugVertex vertices[3];
    const D3DCOLOR packed = PackColor(color);
    for (int32_t i = 0; i < count; ++i) {
        vertices[i] = {positions[i].x, positions[i].y, positions[i].z, packed};
    }
    SetVertexStream(0, nullptr);
    SetVertexFormat(lineFormat_.get());
    SetShader(lineShader_.get(), 0, 0);
    if (!lineShader_) {
        return;
    }
    lineShader_->Validate(passKey_, 0);
    const int32_t fragments = lineShader_->GetFragmentCount(passKey_, 0);
    for (int32_t i = 0; i < fragments; ++i) {
        lineShader_->ApplyFragment(passKey_, i, 0);
        device_->DrawPrimitiveUP(type, 1, vertices, sizeof(DebugVertex));
    }
}
