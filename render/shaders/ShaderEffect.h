#pragma once
// What every drawing object holds instead of a raw shader: one loaded style
// file seen through a per-object state. The effect remembers its current
// style, the technique each style uses on this device, and what its
// programs' constants found along its variable chain. It is itself the first
// block of that chain: its own variables, then its parent's (the object
// drawing with it), and so on.
//
// The device asks the current effect, for every draw call, to validate its
// technique, to count the fragments of the pass and to apply them one by
// one, drawing once per fragment.

#include "engine/video/Shader.h"
#include "render/shaders/ShaderProgram.h"
#include "render/shaders/ShaderVariableBlock.h"

#include <cstdint>
#include <memory>
#include <vector>

class StyleFile;

class ShaderEffect : public ShaderVariableBlock, public Shader {
public:
    // Loads the style file by name from the shader folders, or shares it when
    // loaded already. A file that is not found has been reported by the
    // folders; the effect then draws nothing.
    ShaderEffect(D3D9Video& device, const WideString& name);
    ~ShaderEffect() override;

    // A new parent empties the binding caches: what they found was found
    // through the old chain.
    void SetParent(ShaderVariableBlock* parent) override;
    // Shares the style file; fresh caches, no parent, no variables of its own.
    std::unique_ptr<ShaderEffect> Clone() const;
    // The style file's resolved name; empty without one.
    WideString GetName() const;

    // Styles: by name (with case), by index, by key (the name's hash).
    bool SelectStyle(const WideString& name);
    bool SetStyleIndex(int32_t index);
    bool SelectStyleByKey(int32_t key);
    // -1 without a file or such a style; -2 for key 0, the current style.
    int32_t FindStyle(int32_t key) const override;

    // For the current style, the first technique at least as detailed as
    // asked, else the last.
    void ChooseTechnique(int32_t detail);
    // Validates the current style's technique; the one chosen, -1 for none.
    int32_t ValidateCurrent();
    // For the style of the key: 1 when any of its techniques validated, 0
    // when none yet, -1 when it cannot draw. The first argument is unused.
    int32_t GetStyleState(int32_t unused, int32_t key) const;
    // The pass keys the chosen technique of the key's style serves, one bit
    // per key (modulo 32).
    uint32_t GetPassMask(int32_t key) const;
    // Applies every fragment of every pass of the current style's technique.
    void ApplyAllFragments();

    // What the device calls for each draw; row -2 is the current style.
    bool Validate(int32_t passKey, int32_t row) override;
    int32_t GetFragmentCount(int32_t passKey, int32_t row) override;
    bool ApplyFragment(int32_t passKey, int32_t fragment, int32_t row) override;

    StyleFile* GetStyleFile() const { return file_; }
    int32_t GetCurrentStyle() const { return currentStyle_; }
    // The technique the row uses; -1 when it cannot draw.
    int32_t GetChosenTechnique(int32_t row) const;

private:
    struct FragmentCache {
        BindingCache vertex;
        BindingCache pixel;
    };
    struct PassCache {
        std::vector<FragmentCache> fragments;
    };
    struct TechniqueCache {
        std::vector<PassCache> passes;
    };
    struct StyleCache {
        std::vector<TechniqueCache> techniques;
        int32_t chosenTechnique = 0;
    };

    ShaderEffect(D3D9Video& device, StyleFile* file);
    void Attach(StyleFile* file);
    // The style row a drawing row stands for; -1 when it names none.
    int32_t ResolveRow(int32_t row) const;
    // The row's cache when it has a chosen technique; none otherwise.
    StyleCache* DrawableStyle(int32_t row);
    const StyleCache* DrawableStyle(int32_t row) const;

    D3D9Video& device_;
    StyleFile* file_ = nullptr;   // shared with every effect of the same file
    int32_t currentStyle_ = -1;
    std::vector<StyleCache> styles_;
};

// The detail level files loaded from now on validate for; files already
// loaded forget which techniques validated, so that effects choose again.
void SetShaderDetailLevel(int32_t level);
int32_t GetShaderDetailLevel();
// Style files loaded and shared, for the shader listing and tests.
int32_t GetLoadedStyleFileCount();
