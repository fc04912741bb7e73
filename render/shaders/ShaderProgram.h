#pragma once
// The programs a style fragment draws with: a vertex program and a pixel
// program, each either HLSL compiled for the device or a fixed-function
// description ("DCLS" files). They are shared by every fragment that names
// the same file with the same defines, and counted by those fragments.
//
// At draw time a program binds itself for one fragment, taking its values
// from the shader variables of the chain that starts at the drawing effect.
// What each binding found is kept in the fragment's binding cache, so that a
// draw searches no names or ids after the first.

#include "engine/files/WideString.h"

#include <cstdint>
#include <vector>

class D3D9Video;
class ShaderVariableBlock;
class TextureResource;
struct ShaderVariable;

// A macro handed to the HLSL compiler: a technique's Define attribute.
struct WideStringPair {
    WideString name;
    WideString value;

    bool operator==(const WideStringPair&) const = default;
};
using ShaderDefines = std::vector<WideStringPair>;

// What one binding of a program found along the variable chain.
struct ResolvedBinding {
    enum State : uint8_t {
        kUnresolved,
        kMissing,
        kFound,
    };
    State state = kUnresolved;
    ShaderVariable* variable = nullptr;
};
// One entry per binding of the program; emptied when the chain changes.
using BindingCache = std::vector<ResolvedBinding>;

class ShaderProgram {
public:
    ShaderProgram(D3D9Video& device, const WideString& name, const ShaderDefines& defines)
        : device_(device)
        , name_(name)
        , defines_(defines)
    {
    }
    virtual ~ShaderProgram() = default;
    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    const WideString& GetName() const { return name_; }
    const ShaderDefines& GetDefines() const { return defines_; }
    D3D9Video& GetDevice() const { return device_; }
    // The fragments that received the program.
    int32_t GetUseCount() const { return useCount_; }
    void AddUse() { ++useCount_; }
    // True when the last user let go.
    bool ReleaseUse() { return --useCount_ <= 0; }

protected:
    D3D9Video& device_;

private:
    WideString name_;
    ShaderDefines defines_;
    int32_t useCount_ = 0;
};

// chain: the drawing effect, where the variable search starts; none binds the
// program without constants.
class VertexProgram : public ShaderProgram {
public:
    using ShaderProgram::ShaderProgram;
    virtual void Bind(ShaderVariableBlock* chain, BindingCache& cache) = 0;
    // Logs what the program is, for the shader listing.
    virtual void Describe(ShaderVariableBlock* chain, BindingCache& cache) {}
};

class PixelProgram : public ShaderProgram {
public:
    using ShaderProgram::ShaderProgram;
    virtual void Bind(ShaderVariableBlock* chain, BindingCache& cache) = 0;
    // Moves the textures the program samples into video memory ahead of use.
    virtual void PreloadTextures(ShaderVariableBlock* chain, BindingCache& cache) = 0;
    virtual void Describe(ShaderVariableBlock* chain, BindingCache& cache) {}
};

// Grows the cache to count entries; new ones are unresolved.
void GrowBindingCache(BindingCache& cache, size_t count);
// The variable of a cached binding: resolved on first use and remembered,
// found or missing. A miss is reported once with missingFormat, which takes
// the variable's name; without one it goes unreported.
ShaderVariable* ResolveBinding(ShaderVariableBlock& chain, int32_t id, ResolvedBinding& entry,
                               const char* missingFormat);

// Where vertex processing runs for a program: on the adapter when it can
// run the program's kind, else in software, with the bound buffers moved
// where software processing can read them.
void ChooseVertexProcessing(D3D9Video& device, bool hardware);

// The texture a variable was last set to; none when it was last set to
// anything else, or never.
TextureResource* VariableTexture(const ShaderVariable& variable);
