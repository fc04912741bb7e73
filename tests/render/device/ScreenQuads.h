#pragma once
// Drawing for the device tests, before any shader file exists: an effect
// whose fragments draw with Direct3D's fixed-function pipeline, and
// rectangles in screen pixels (pre-transformed vertices) to draw with it.

#include "engine/video/Shader.h"
#include "render/device/D3D9Video.h"
#include "render/device/VertexBuffer.h"
#include "render/device/VertexFormat.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Each fragment fills with a flat colour (the texture factor) or, when
// textured, copies stage 0's texels.
class FixedFunctionEffect : public Shader {
public:
    explicit FixedFunctionEffect(D3D9Video& video, int32_t fragments = 1) : fragments(fragments), video_(video) {}

    int32_t FindStyle(int32_t styleKey) const override { return styleKey == 0 ? -2 : styleKey; }
    bool Validate(int32_t, int32_t) override
    {
        ++validations;
        return true;
    }
    int32_t GetFragmentCount(int32_t, int32_t) override { return fragments; }
    bool ApplyFragment(int32_t, int32_t fragment, int32_t) override
    {
        applied.push_back(fragment);
        video_.SetVertexShaderCached(nullptr);
        video_.SetPixelShaderCached(nullptr);
        video_.SetRenderStateCached(D3DRS_LIGHTING, FALSE);
        video_.SetRenderStateCached(D3DRS_ALPHABLENDENABLE, FALSE);
        video_.SetRenderStateCached(D3DRS_ZENABLE, depthTest ? D3DZB_TRUE : D3DZB_FALSE);
        video_.SetRenderStateCached(D3DRS_ZWRITEENABLE, depthTest);
        video_.SetRenderStateCached(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
        video_.SetRenderStateCached(D3DRS_TEXTUREFACTOR, color);
        const DWORD source = textured ? D3DTA_TEXTURE : D3DTA_TFACTOR;
        video_.SetTextureStageStateCached(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        video_.SetTextureStageStateCached(0, D3DTSS_COLORARG1, source);
        video_.SetTextureStageStateCached(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        video_.SetTextureStageStateCached(0, D3DTSS_ALPHAARG1, source);
        video_.SetTextureStageStateCached(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
        video_.SetTextureStageStateCached(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        return true;
    }

    uint32_t color = 0xFFFFFFFF;   // D3DCOLOR
    bool textured = false;
    bool depthTest = false;
    int32_t fragments;
    int32_t validations = 0;
    std::vector<int32_t> applied;

private:
    D3D9Video& video_;
};

struct ScreenVertex {
    float x, y, z, rhw;
    float u, v;
};

// Pixel rectangles as triangle strips of four vertices, one after another in
// one buffer; quad i starts at vertex 4 i.
class ScreenQuads {
public:
    ScreenQuads(D3D9Video& video, int32_t count)
        : format(video.CreateVertexFormat({
              {0, 0, D3DDECLTYPE_FLOAT4, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITIONT, 0},
              {0, 16, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
          }))
        , buffer(video.CreateVertexBuffer(sizeof(ScreenVertex), 4 * count, false, true))
    {
    }

    // Covers the pixels from (left, top) up to, not including, (right, bottom).
    void Set(int32_t quad, float left, float top, float right, float bottom, float z)
    {
        auto* corners = static_cast<ScreenVertex*>(buffer->Lock({4 * quad, 4}, 0));
        ASSERT_NE(corners, nullptr);
        // Pixel centres lie half a pixel in: the edges go half a pixel out.
        left -= 0.5f;
        top -= 0.5f;
        right -= 0.5f;
        bottom -= 0.5f;
        corners[0] = {left, top, z, 1.0f, 0.0f, 0.0f};
        corners[1] = {right, top, z, 1.0f, 1.0f, 0.0f};
        corners[2] = {left, bottom, z, 1.0f, 0.0f, 1.0f};
        corners[3] = {right, bottom, z, 1.0f, 1.0f, 1.0f};
        buffer->Unlock();
    }

    void Bind(VideoDevice& video)
    {
        video.SetVertexFormat(format.get());
        video.SetVertexStream(0, buffer.get());
    }

    void Draw(VideoDevice& video, int32_t quad) { video.Draw({4 * quad, 4}, kTriangleStrip); }

    std::unique_ptr<VertexFormat> format;
    std::unique_ptr<VertexBuffer> buffer;
};
