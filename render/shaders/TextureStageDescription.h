#pragma once
// A pixel program that is no program: a "DCLS" description of Direct3D's
// fixed-function texture-stage cascade. Binding it turns the pixel shader
// off, sets each described stage's colour and alpha operations and
// arguments, binds each stage's texture from a shader variable and disables
// the stage after the last.

#include "render/shaders/ShaderProgram.h"

#include <d3d9.h>

#include <cstdint>
#include <vector>

struct TextureStage {
    int32_t texture = -1;   // shader-variable id; -1: the stage has no texture
    int32_t resultArg = D3DTA_CURRENT;
    int32_t colorOp = D3DTOP_MODULATE;
    int32_t colorArg[3] = {D3DTA_CURRENT, D3DTA_TEXTURE, D3DTA_DIFFUSE};
    int32_t alphaOp = D3DTOP_MODULATE;
    int32_t alphaArg[3] = {D3DTA_CURRENT, D3DTA_TEXTURE, D3DTA_DIFFUSE};
};

class TextureStageDescription : public PixelProgram {
public:
    // Loads the file; a file with errors keeps the stages read before them.
    TextureStageDescription(D3D9Video& device, const WideString& name);

    // Whether the device can run the cascade: one blend stage must stay free
    // to end it, and every textured stage needs a texture unit.
    bool FitsDevice() const;

    void Bind(ShaderVariableBlock* chain, BindingCache& cache) override;
    void PreloadTextures(ShaderVariableBlock* chain, BindingCache& cache) override;

    // In Direct3D stage order.
    const std::vector<TextureStage>& GetStages() const { return stages_; }

private:
    static void OnStartElement(void* reader, const char* element, const char** attributes);
    // Misses are reported on every call and not remembered: a texture
    // variable may be added later. A stage without a texture looks for none.
    ShaderVariable* FindTexture(ShaderVariableBlock* chain, BindingCache& cache, size_t stage);

    std::vector<TextureStage> stages_;
};
