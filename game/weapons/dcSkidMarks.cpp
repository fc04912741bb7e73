#include "game/weapons/dcSkidMarks.h"

#include "engine/core/dcEngine.h"
#include "engine/math/Matrix44.h"
#include "engine/video/TextureResource.h"
#include "engine/video/VideoDevice.h"
#include "game/world/GameModule.h"
#include "render/device/IndexBuffer.h"
#include "render/device/TextureLookup.h"
#include "render/device/VertexBuffer.h"
#include "render/device/VertexFormat.h"
#include "render/shaders/ShaderEffect.h"

#include <algorithm>
#include <cstring>

dcSkidMarks::dcSkidMarks(VideoDevice* device, ShaderVariableBlock* parent)
    : device_(device)
    , alphaVariable_(AddVariable(L"Alpha", kShaderValue, false))
{
    Handles<dcUpdate, &dcSkidMarks::OnUpdate>();
    Handles<dcRender, &dcSkidMarks::OnRender>();
    Handles<dcGameReset, &dcSkidMarks::OnGameReset>();
    // The points are written in world space.
    SetMatrix(AddVariable(L"World", kShaderMatrix, false), &kIdentityMatrix.m[0][0]);
    SetParent(parent);
    if (!device_) {
        return;
    }
    vertices_ = device_->CreateVertexBuffer(static_cast<int32_t>(sizeof(TexturedVertex)), SkidTrail::kVertexCapacity,
                                            true, true);
    indices_ = device_->CreateIndexBuffer(SkidTrail::kIndexCapacity, SkidTrail::kVertexCapacity, true, true);
    format_ = device_->CreateVertexFormat(TexturedVertexElements());
    texture_ = GetTexture(*device_, L"Skid.DCT");
    SetTexture(AddVariable(L"Tex0", kShaderTexture, false), texture_.get());
    shader_ = device_->LoadShader(L"dcSkidMarks.DCS");
    if (shader_) {
        shader_->SetParent(this);
    }
}

dcSkidMarks::~dcSkidMarks()
{
    std::erase(pool_, this);
}

dcSkidMarks* dcSkidMarks::Acquire()
{
    if (!pool_.empty()) {
        dcSkidMarks* marks = pool_.front();
        pool_.pop_front();
        return marks;
    }
    GameModule* game = GameModule::Get();
    if (!game) {
        return nullptr;
    }
    auto* marks = new dcSkidMarks(dcEngine::Instance().GetVideoDevice(), &game->GetWorld());
    game->GetScene().Add(marks);
    return marks;
}

void dcSkidMarks::Release(dcSkidMarks* marks)
{
    if (marks && std::find(pool_.begin(), pool_.end(), marks) == pool_.end()) {
        pool_.push_back(marks);
    }
}

float dcSkidMarks::AlphaForLife(float life)
{
    return life >= kFadeLife ? 1.0f : life / kFadeLife;
}

bool dcSkidMarks::TakesPoints() const
{
    return shader_ && shader_->GetPassMask(0) != 0 && vertices_ && indices_;
}

void dcSkidMarks::AddSegment(const Vec3& point, const Vec3& direction, const Vec3& normal, float offset)
{
    if (!TakesPoints()) {
        return;
    }
    Matrix44 orientation;
    orientation.FromUpForward(direction, normal);
    trail_.AddPoint(Vec3::Add(point, Vec3::Scale(direction, offset)), orientation.GetRow(0), *this);
}

void dcSkidMarks::WriteVertices(int32_t first, const TexturedVertex (&vertices)[2])
{
    void* at = vertices_->Lock({first, 2}, kLockNoOverwrite);
    if (!at) {
        return;
    }
    std::memcpy(at, vertices, sizeof vertices);
    vertices_->Unlock();
}

void dcSkidMarks::WriteIndices(int32_t first, const uint32_t (&indices)[6])
{
    if (!indices_->Lock({first, 6}, kLockNoOverwrite)) {
        return;
    }
    for (int32_t i = 0; i < 6; ++i) {
        *indices_->ElementPointer(i) = indices[i];
    }
    indices_->Unlock();
}

void dcSkidMarks::OnRender(const dcRender& message)
{
    if (!shader_ || (static_cast<int32_t>(shader_->GetPassMask(0)) & message.passBit) == 0) {
        return;
    }
    for (const SkidSegment& segment : trail_.GetSegments()) {
        if (segment.indexCount == 0) {
            continue;
        }
        device_->SetVertexStream(0, vertices_.get());
        device_->SetIndexBuffer(indices_.get());
        device_->SetVertexFormat(format_.get());
        SetFloat(alphaVariable_, AlphaForLife(segment.life));
        device_->SetShader(shader_.get(), message.pass, 0);
        device_->DrawIndexed({segment.firstIndex, segment.indexCount}, {segment.firstVertex, segment.vertexCount},
                             kTriangleList);
    }
}

void dcSkidMarks::OnGameReset(const dcGameReset& message)
{
    std::erase(pool_, this);
    MessageReceiver::Release();
}
