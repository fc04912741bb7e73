#pragma once
// One draw of a style's pass: the vertex and pixel programs it runs and the
// render states it sets, as a style file's Fragment element describes them.

#include <d3d9.h>

#include <cstdint>

class PixelProgram;
class VertexProgram;

struct ShaderFragment {
    // Shared programs (ProgramCache); a fragment without both never draws.
    VertexProgram* vertexProgram = nullptr;
    PixelProgram* pixelProgram = nullptr;

    int32_t cullMode = D3DCULL_CCW;
    float depthBias = 0.0f;
    float slopeBias = 0.0f;
    bool zWrite = true;
    int32_t zFunc = D3DCMP_LESSEQUAL;
    int32_t alphaFunc = D3DCMP_ALWAYS;   // Always: no alpha test
    uint8_t refAlpha = 255;

    bool stencilEnable = false;
    int32_t stencilFail = D3DSTENCILOP_KEEP;
    int32_t stencilZFail = D3DSTENCILOP_KEEP;
    int32_t stencilPass = D3DSTENCILOP_KEEP;
    int32_t stencilFunc = D3DCMP_ALWAYS;
    bool twoSidedStencil = false;
    int32_t ccwStencilFail = D3DSTENCILOP_KEEP;
    int32_t ccwStencilZFail = D3DSTENCILOP_KEEP;
    int32_t ccwStencilPass = D3DSTENCILOP_KEEP;
    int32_t ccwStencilFunc = D3DCMP_ALWAYS;
    uint8_t stencilRef = 255;
    uint8_t stencilMask = 255;
    uint8_t stencilWriteMask = 255;

    bool alphaBlend = false;
    int32_t srcBlend = D3DBLEND_SRCALPHA;
    int32_t destBlend = D3DBLEND_INVSRCALPHA;
    bool separateAlphaBlend = false;
    int32_t srcBlendAlpha = D3DBLEND_ONE;
    int32_t destBlendAlpha = D3DBLEND_ZERO;
    int32_t blendOp = D3DBLENDOP_ADD;

    int32_t textureTransformFlags[4] = {0, 0, 0, 0};   // D3DTTFF_PROJECTED or 0, stages 0 to 3
};

// Applies one Fragment attribute other than the program names; the name
// compares ignoring case and must match whole. False for a name that is
// none of the render-state attributes.
bool ApplyFragmentAttribute(ShaderFragment& fragment, const char* name, const char* value);

// Value names of the attributes, ignoring case; kUnknownStateValue for others.
constexpr int32_t kUnknownStateValue = 0x7FFFFFFF;
int32_t BlendValue(const char* name);
int32_t CompareValue(const char* name);
int32_t StencilOpValue(const char* name);
