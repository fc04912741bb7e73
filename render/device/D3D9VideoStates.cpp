// Every state the renderer sets reaches Direct3D through these caches, and
// only when it differs from what Direct3D holds.

#include "render/device/D3D9Video.h"

#include "render/device/DFTexture.h"
#include "render/device/IndexBuffer.h"
#include "render/device/UserTexture.h"
#include "render/device/VertexBuffer.h"
#include "render/device/VertexFormat.h"
#include "render/shaders/ShaderVariable.h"

#include <bit>

namespace {

constexpr uint32_t kUncached = 0xFFFFFFFF;

} // namespace

void D3D9Video::SetRenderStateCached(D3DRENDERSTATETYPE state, DWORD value)
{
    if (device_ && renderStates_.Update(state, value)) {
        device_->SetRenderState(state, value);
    }
}

void D3D9Video::SetSamplerStateCached(DWORD sampler, D3DSAMPLERSTATETYPE state, DWORD value)
{
    const uint32_t entry = state < kSamplerStateSlots ? sampler * kSamplerStateSlots + state : kUncached;
    if (device_ && samplerStates_.Update(entry, value)) {
        device_->SetSamplerState(sampler, state, value);
    }
}

void D3D9Video::SetTextureStageStateCached(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value)
{
    const uint32_t entry = state < kTextureStageStateSlots ? stage * kTextureStageStateSlots + state : kUncached;
    if (device_ && textureStageStates_.Update(entry, value)) {
        device_->SetTextureStageState(stage, state, value);
    }
}

void D3D9Video::SetSoftwareVertexProcessingCached(bool on)
{
    const uint32_t value = on ? 1 : 0;
    if (device_ && softwareProcessing_ != value) {
        softwareProcessing_ = value;
        device_->SetSoftwareVertexProcessing(on);
    }
}

void D3D9Video::SetVertexShaderCached(IDirect3DVertexShader9* shader)
{
    if (device_ && vertexShader_ != shader) {
        vertexShader_ = shader;
        device_->SetVertexShader(shader);
    }
}

void D3D9Video::SetPixelShaderCached(IDirect3DPixelShader9* shader)
{
    if (device_ && pixelShader_ != shader) {
        pixelShader_ = shader;
        device_->SetPixelShader(shader);
    }
}

// Batches are drawn from the buffer's ring position as base vertex, so the
// byte offset of a stream stays 0.
void D3D9Video::SetVertexStream(int32_t stream, VertexBuffer* buffer)
{
    if (!device_ || stream < 0) {
        return;
    }
    if (!buffer) {
        for (size_t above = stream; above < streams_.size(); ++above) {
            if (streams_[above].buffer) {
                device_->SetStreamSource(static_cast<UINT>(above), nullptr, 0, 0);
            }
        }
        streams_.resize(static_cast<size_t>(stream), {nullptr, 0});
        return;
    }
    if (streams_.size() <= static_cast<size_t>(stream)) {
        streams_.resize(static_cast<size_t>(stream) + 1, {nullptr, 0});
    }
    StreamBinding& binding = streams_[stream];
    if (binding.buffer != buffer || binding.offset != 0) {
        device_->SetStreamSource(static_cast<UINT>(stream), buffer->GetDirect3DBuffer(), 0,
                                 static_cast<UINT>(buffer->GetStride()));
    }
    binding = {buffer, 0};
}

VertexBuffer* D3D9Video::GetVertexStream(int32_t stream) const
{
    if (stream < 0 || static_cast<size_t>(stream) >= streams_.size()) {
        return nullptr;
    }
    return streams_[stream].buffer;
}

void D3D9Video::SetIndexBuffer(IndexBuffer* buffer)
{
    if (!device_ || buffer == indexBuffer_) {
        return;
    }
    indexBuffer_ = buffer;
    device_->SetIndices(buffer ? buffer->GetDirect3DBuffer() : nullptr);
}

// Formats of one layout share a declaration, so switching between them costs nothing.
void D3D9Video::SetVertexFormat(const VertexFormat* format)
{
    const VertexDeclaration* declaration = format ? &format->GetDeclaration() : nullptr;
    if (!device_ || declaration == declaration_) {
        return;
    }
    declaration_ = declaration;
    device_->SetVertexDeclaration(declaration ? declaration->GetDirect3DDeclaration() : nullptr);
}

// The binding holds what was resolved, so a frame list bound again always
// counts as a switch: its current frame may have moved on.
void D3D9Video::SetTexture(int32_t stage, TextureResource* texture)
{
    if (!device_ || stage < 0 || stage >= kTextureStages) {
        return;
    }
    if (DFTexture* entry = texture ? DFEntryOf(*texture) : nullptr) {
        NoteBoundDFTexture(*entry);
    }
    if (textureBindings_[stage] == texture) {
        return;
    }
    ++statistics_.textureSwitches;
    TextureResource* current = texture ? texture->GetCurrent() : nullptr;
    textureBindings_[stage] = current;
    if (!current || !IsUserTexture(*current)) {
        device_->SetTexture(static_cast<DWORD>(stage), nullptr);
        return;
    }
    const auto& bound = static_cast<const UserTexture&>(*current);
    device_->SetTexture(static_cast<DWORD>(stage), bound.GetDirect3DTexture());
    SendSamplerStates(stage, bound);
}

void D3D9Video::SendSamplerStates(int32_t stage, const UserTexture& texture)
{
    const SamplerStates& states = texture.GetSamplerStates();
    const DWORD sampler = static_cast<DWORD>(stage);
    SetSamplerStateCached(sampler, D3DSAMP_ADDRESSU, states.addressU);
    SetSamplerStateCached(sampler, D3DSAMP_ADDRESSV, states.addressV);
    SetSamplerStateCached(sampler, D3DSAMP_ADDRESSW, states.addressW);
    SetSamplerStateCached(sampler, D3DSAMP_MINFILTER, states.minFilter);
    SetSamplerStateCached(sampler, D3DSAMP_MAGFILTER, states.magFilter);
    SetSamplerStateCached(sampler, D3DSAMP_MIPFILTER, states.mipFilter);
    SetSamplerStateCached(sampler, D3DSAMP_MIPMAPLODBIAS, std::bit_cast<uint32_t>(states.mipLodBias));
    SetSamplerStateCached(sampler, D3DSAMP_MAXANISOTROPY, states.maxAnisotropy);
    SetSamplerStateCached(sampler, D3DSAMP_MAXMIPLEVEL, static_cast<DWORD>(maxMipLevel_));
}

TextureResource* D3D9Video::GetBoundTexture(int32_t stage) const
{
    return stage >= 0 && stage < kTextureStages ? textureBindings_[stage] : nullptr;
}

void D3D9Video::SetVertexShaderConstants(const ElementRange& registers, const ShaderVariable& variable)
{
    if (device_ && vertexConstants_.Update(registers, variable, statistics_)) {
        device_->SetVertexShaderConstantF(static_cast<UINT>(registers.start),
                                          vertexConstants_.Registers(registers.start),
                                          static_cast<UINT>(registers.count));
    }
}

void D3D9Video::SetPixelShaderConstants(const ElementRange& registers, const ShaderVariable& variable)
{
    if (device_ && pixelConstants_.Update(registers, variable, statistics_)) {
        device_->SetPixelShaderConstantF(static_cast<UINT>(registers.start),
                                         pixelConstants_.Registers(registers.start),
                                         static_cast<UINT>(registers.count));
    }
}

// A converted buffer is bound again, since the stream or the device still
// holds the Direct3D buffer it replaced.
void D3D9Video::ConvertBoundBuffersToSoftware()
{
    for (size_t stream = 0; stream < streams_.size(); ++stream) {
        VertexBuffer* buffer = streams_[stream].buffer;
        if (buffer && buffer->ConvertToSoftware()) {
            streams_[stream] = {nullptr, 0};
            SetVertexStream(static_cast<int32_t>(stream), buffer);
        }
    }
    if (indexBuffer_ && indexBuffer_->ConvertToSoftware()) {
        IndexBuffer* buffer = indexBuffer_;
        indexBuffer_ = nullptr;
        SetIndexBuffer(buffer);
    }
}
