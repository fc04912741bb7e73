#pragma once
// A loaded style description (".DCS"): named styles, each with techniques
// for different detail levels, each technique with passes keyed by a pass
// number, each pass with fragments that draw once each. Built from the
// file's start tags alone; elements attach by order, not by nesting, to the
// last style, technique or pass read. Shared by every effect naming the same
// file; immutable after loading but for the validated flags.

#include "render/shaders/ShaderFragment.h"
#include "render/shaders/ShaderProgram.h"

#include <cstdint>
#include <vector>

struct ShaderPass {
    int32_t index = 0;   // the pass key draws select it by
    std::vector<ShaderFragment> fragments;
};

struct ShaderTechnique {
    int32_t detailId = -1;
    bool validated = false;   // shared by every effect of the file
    ShaderDefines defines;
    std::vector<ShaderPass> passes;

    // The pass whose index is the key, else the first; none without passes.
    const ShaderPass* FindPass(int32_t passKey) const;
    int32_t FindPassIndex(int32_t passKey) const;
};

struct ShaderStyle {
    WideString name;
    int32_t key = 0;   // hash of the name: styles are selected by it when drawing
    std::vector<ShaderTechnique> techniques;
};

// The key a style of this name has.
int32_t StyleKey(const WideString& name);

class StyleFile {
public:
    // Loads the file; a file with errors keeps what was read before them.
    StyleFile(D3D9Video& device, const WideString& name);
    // Releases every fragment's programs.
    ~StyleFile();
    StyleFile(const StyleFile&) = delete;
    StyleFile& operator=(const StyleFile&) = delete;

    D3D9Video& GetDevice() const { return device_; }
    const WideString& GetName() const { return name_; }
    int32_t GetStyleCount() const { return static_cast<int32_t>(styles_.size()); }
    const std::vector<ShaderStyle>& GetStyles() const { return styles_; }

    // The effects using the file.
    int32_t useCount = 0;
    int32_t detailLevel = 0;
    // Every technique must validate again, for a new detail level.
    void ClearValidated();

    // Makes technique a validated one for the style, choosing it again when
    // it is not: by detail level, then onwards in file order. False, with the
    // technique -1 and the failure logged, when none validates.
    bool ValidateTechnique(int32_t row, int32_t& technique, int32_t passKey, ShaderVariableBlock* effect);
    // Binds the fragment's programs and sets its render states. False, with
    // nothing applied, when the fragment lacks a program.
    bool ApplyFragment(int32_t row, int32_t technique, int32_t passKey, int32_t fragment, ShaderVariableBlock* effect,
                       BindingCache& vertexCache, BindingCache& pixelCache);

private:
    static void OnStartElement(void* reader, const char* element, const char** attributes);
    void ReadStyle(const char** attributes);
    void ReadTechnique(const char** attributes);
    void ReadPass(const char** attributes);
    void ReadDefine(const char** attributes);
    void ReadFragment(const char** attributes);
    // Logs an element that came before the one it belongs to.
    void IgnoreOrphan(const wchar_t* element, const wchar_t* parent) const;
    ShaderTechnique* LastTechnique();
    VertexProgram* LoadVertexProgram(const char* value);
    PixelProgram* LoadPixelProgram(const char* value);
    // The resolved program file, or empty with the miss logged.
    WideString ResolveProgram(const char* value) const;

    // Validation of one technique: every fragment applies and the device accepts it.
    bool TryTechnique(ShaderTechnique& technique, int32_t row, int32_t index, int32_t passKey,
                      ShaderVariableBlock* effect);
    void SetRenderStates(const ShaderFragment& fragment);

    D3D9Video& device_;
    WideString name_;
    std::vector<ShaderStyle> styles_;
};
