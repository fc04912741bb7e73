#include "game/weapons/dcCarShadow.h"

#include "engine/video/TextureResource.h"
#include "engine/video/VideoDevice.h"
#include "render/device/TextureLookup.h"
#include "render/shaders/ShaderEffect.h"
#include "render/sprites/TexturedVertex.h"

namespace {

// Texture coordinates of the corners, in vertex order.
constexpr float kCornerU[4] = {0.0f, 0.0f, 1.0f, 1.0f};
constexpr float kCornerV[4] = {0.0f, 1.0f, 0.0f, 1.0f};

} // namespace

dcCarShadow::dcCarShadow(VideoDevice* device, ShaderVariableBlock* parent)
    : quads_(device, kRingVertices / EffectQuadBuffers::kVerticesPerQuad, *this, kTexturedEffectVertex)
{
    Handles<dcUpdate, &dcCarShadow::ClearQuads>();
    Handles<dcRender, &dcCarShadow::OnRender>();
    SetParent(parent);
    if (device) {
        texture_ = GetTexture(*device, L"CarShadow.DCT");
        shader_ = device->LoadShader(L"dcCarShadow.DCS");
        if (shader_) {
            shader_->SetParent(this);
        }
    }
    instance_ = this;
}

dcCarShadow::~dcCarShadow()
{
    CloseWindow();
    if (instance_ == this) {
        instance_ = nullptr;
    }
}

void dcCarShadow::OpenWindow()
{
    window_ = static_cast<TexturedVertex*>(quads_.Lock(kWindowQuads));
    windowOpen_ = true;
    quadCount_ = 0;
}

void dcCarShadow::CloseWindow()
{
    if (!windowOpen_) {
        return;
    }
    if (window_) {
        quads_.Unlock(quadCount_);
    } else if (quads_.HasRing()) {
        quadCount_ = 0;   // the lock failed: nothing was written to draw
    }
    windowOpen_ = false;
    window_ = nullptr;
}

void dcCarShadow::AddQuad(const std::array<Vec3, 4>& corners)
{
    if (!windowOpen_) {
        OpenWindow();
    }
    if (quadCount_ >= kWindowQuads) {
        return;
    }
    if (window_) {
        TexturedVertex* quad = window_ + EffectQuadBuffers::kVerticesPerQuad * quadCount_;
        for (size_t corner = 0; corner < corners.size(); ++corner) {
            quad[corner] = TexturedVertex::At(corners[corner], kCornerU[corner], kCornerV[corner]);
        }
    }
    ++quadCount_;
}

void dcCarShadow::OnRender(const dcRender& message)
{
    CloseWindow();
    if (!shader_ || quadCount_ == 0 || (static_cast<int32_t>(shader_->GetPassMask(0)) & message.passBit) == 0) {
        return;
    }
    quads_.Bind();
    quads_.Draw(shader_.get(), message.pass, texture_.get(), 0, quadCount_);
}
