#include "render/shaders/ShaderFragment.h"

#include <cstdlib>
#include <initializer_list>
#include <string.h>

namespace {

struct ValueName {
    const char* name;
    int32_t value;
};

int32_t FindValue(const char* name, std::initializer_list<ValueName> names)
{
    for (const ValueName& candidate : names) {
        if (_stricmp(name, candidate.name) == 0) {
            return candidate.value;
        }
    }
    return kUnknownStateValue;
}

bool Flag(const char* value)
{
    return std::atoi(value) != 0;
}

uint8_t LowByte(const char* value)
{
    return static_cast<uint8_t>(std::atoi(value) & 0xFF);
}

float Decimal(const char* value)
{
    return static_cast<float>(std::atof(value));
}

// Other values leave the mode as it was.
void ApplyCulling(ShaderFragment& f, const char* value)
{
    const int32_t mode = FindValue(value, {{"CCW", D3DCULL_CCW}, {"CW", D3DCULL_CW}, {"None", D3DCULL_NONE}});
    if (mode != kUnknownStateValue) {
        f.cullMode = mode;
    }
}

struct FragmentAttribute {
    const char* name;
    void (*apply)(ShaderFragment& f, const char* value);
};

// The attributes of a Fragment element other than its programs; a later
// attribute overrides an earlier one for the same field.
const FragmentAttribute kFragmentAttributes[] = {
    {"ZWrite", [](ShaderFragment& f, const char* v) { f.zWrite = Flag(v); }},
    {"AlphaBlend", [](ShaderFragment& f, const char* v) { f.alphaBlend = Flag(v); }},
    {"SrcBlend", [](ShaderFragment& f, const char* v) { f.srcBlend = BlendValue(v); }},
    {"DestBlend", [](ShaderFragment& f, const char* v) { f.destBlend = BlendValue(v); }},
    // Spelled so in every style file.
    {"SeperateAlphaBlend", [](ShaderFragment& f, const char* v) { f.separateAlphaBlend = Flag(v); }},
    {"SrcBlendAlpha", [](ShaderFragment& f, const char* v) { f.srcBlendAlpha = BlendValue(v); }},
    {"DestBlendAlpha", [](ShaderFragment& f, const char* v) { f.destBlendAlpha = BlendValue(v); }},
    {"ZTest", [](ShaderFragment& f, const char* v) { f.zFunc = CompareValue(v); }},
    {"AlphaTest", [](ShaderFragment& f, const char* v) { f.alphaFunc = CompareValue(v); }},
    {"RefAlpha", [](ShaderFragment& f, const char* v) { f.refAlpha = LowByte(v); }},
    {"StencilEnable", [](ShaderFragment& f, const char* v) { f.stencilEnable = Flag(v); }},
    {"StencilFail", [](ShaderFragment& f, const char* v) { f.stencilFail = StencilOpValue(v); }},
    {"StencilZFail", [](ShaderFragment& f, const char* v) { f.stencilZFail = StencilOpValue(v); }},
    {"StencilPass", [](ShaderFragment& f, const char* v) { f.stencilPass = StencilOpValue(v); }},
    {"StencilTest", [](ShaderFragment& f, const char* v) { f.stencilFunc = CompareValue(v); }},
    {"StencilEnable2", [](ShaderFragment& f, const char* v) { f.twoSidedStencil = Flag(v); }},
    {"StencilFail2", [](ShaderFragment& f, const char* v) { f.ccwStencilFail = StencilOpValue(v); }},
    {"StencilZFail2", [](ShaderFragment& f, const char* v) { f.ccwStencilZFail = StencilOpValue(v); }},
    {"StencilPass2", [](ShaderFragment& f, const char* v) { f.ccwStencilPass = StencilOpValue(v); }},
    {"StencilTest2", [](ShaderFragment& f, const char* v) { f.ccwStencilFunc = CompareValue(v); }},
    {"RefStencil", [](ShaderFragment& f, const char* v) { f.stencilRef = LowByte(v); }},
    {"StencilMask", [](ShaderFragment& f, const char* v) { f.stencilMask = LowByte(v); }},
    {"StencilWriteMask", [](ShaderFragment& f, const char* v) { f.stencilWriteMask = LowByte(v); }},
    {"Culling", ApplyCulling},
    {"ZBias", [](ShaderFragment& f, const char* v) { f.depthBias = Decimal(v); }},
    {"TSS0", [](ShaderFragment& f, const char* v) { f.slopeBias = Decimal(v); }},
    {"ZSlopeBias", [](ShaderFragment& f, const char* v) { f.slopeBias = Decimal(v); }},
    // Present at all, whatever the value: the stage's coordinates are projected.
    {"TSSProject0", [](ShaderFragment& f, const char*) { f.textureTransformFlags[0] |= D3DTTFF_PROJECTED; }},
    {"TSSProject1", [](ShaderFragment& f, const char*) { f.textureTransformFlags[1] |= D3DTTFF_PROJECTED; }},
    {"TSSProject2", [](ShaderFragment& f, const char*) { f.textureTransformFlags[2] |= D3DTTFF_PROJECTED; }},
    {"TSSProject3", [](ShaderFragment& f, const char*) { f.textureTransformFlags[3] |= D3DTTFF_PROJECTED; }},
};

} // namespace

bool ApplyFragmentAttribute(ShaderFragment& fragment, const char* name, const char* value)
{
    for (const FragmentAttribute& attribute : kFragmentAttributes) {
        if (_stricmp(name, attribute.name) == 0) {
            attribute.apply(fragment, value);
            return true;
        }
    }
    return false;
}

int32_t BlendValue(const char* name)
{
    return FindValue(name, {{"Zero", D3DBLEND_ZERO},
                            {"One", D3DBLEND_ONE},
                            {"SrcColor", D3DBLEND_SRCCOLOR},
                            {"InvSrcColor", D3DBLEND_INVSRCCOLOR},
                            {"SrcAlpha", D3DBLEND_SRCALPHA},
                            {"InvSrcAlpha", D3DBLEND_INVSRCALPHA},
                            {"DestAlpha", D3DBLEND_DESTALPHA},
                            {"InvDestAlpha", D3DBLEND_INVDESTALPHA},
                            {"DestColor", D3DBLEND_DESTCOLOR},
                            {"InvDestColor", D3DBLEND_INVDESTCOLOR},
                            {"SrcAlphaSat", D3DBLEND_SRCALPHASAT},
                            {"BothSrcAlpha", D3DBLEND_BOTHSRCALPHA},
                            {"BothInvSrcAlpha", D3DBLEND_BOTHINVSRCALPHA},
                            {"BlendFactor", D3DBLEND_BLENDFACTOR},
                            {"InvBlendFactor", D3DBLEND_INVBLENDFACTOR}});
}

int32_t CompareValue(const char* name)
{
    return FindValue(name, {{"Never", D3DCMP_NEVER},
                            {"Less", D3DCMP_LESS},
                            {"Equal", D3DCMP_EQUAL},
                            {"LessEqual", D3DCMP_LESSEQUAL},
                            {"Greater", D3DCMP_GREATER},
                            {"NotEqual", D3DCMP_NOTEQUAL},
                            {"GreaterEqual", D3DCMP_GREATEREQUAL},
                            {"Always", D3DCMP_ALWAYS}});
}

int32_t StencilOpValue(const char* name)
{
    return FindValue(name, {{"Keep", D3DSTENCILOP_KEEP},
                            {"Zero", D3DSTENCILOP_ZERO},
                            {"Set", D3DSTENCILOP_REPLACE},
                            {"IncrSat", D3DSTENCILOP_INCRSAT},
                            {"DecrSat", D3DSTENCILOP_DECRSAT},
                            {"Invert", D3DSTENCILOP_INVERT},
                            {"Incr", D3DSTENCILOP_INCR},
                            {"Decr", D3DSTENCILOP_DECR}});
}
