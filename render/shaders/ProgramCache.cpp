#include "render/shaders/ProgramCache.h"

#include "render/device/D3D9Video.h"
#include "render/shaders/CompiledPixelProgram.h"
#include "render/shaders/CompiledVertexProgram.h"
#include "render/shaders/FixedFunctionDescription.h"
#include "render/shaders/TextureStageDescription.h"
#include "render/shaders/dcShaderCompiler.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Every vertex fragment compiles for the oldest profile, which every
// adapter with vertex shaders (or software processing) runs.
constexpr char kVertexProfile[] = "vs_1_1";

template <class Program>
using ProgramCache = std::vector<std::unique_ptr<Program>>;

// Never destroyed: effects held by static objects still release their
// programs after main.
ProgramCache<VertexProgram>& VertexProgramCache()
{
    static auto* cache = new ProgramCache<VertexProgram>;
    return *cache;
}

ProgramCache<PixelProgram>& PixelProgramCache()
{
    static auto* cache = new ProgramCache<PixelProgram>;
    return *cache;
}

bool IsFixedFunctionFile(const WideString& name)
{
    return WideStringEndsWith(name, L"DCLS");
}

// The game has one device; tests make several, one after another.
template <class Program>
Program* FindProgram(ProgramCache<Program>& cache, D3D9Video& device, const WideString& name,
                     const ShaderDefines& defines)
{
    for (const std::unique_ptr<Program>& program : cache) {
        if (&program->GetDevice() == &device && program->GetName() == name && program->GetDefines() == defines) {
            return program.get();
        }
    }
    return nullptr;
}

template <class Program>
Program* Share(ProgramCache<Program>& cache, std::unique_ptr<Program> program)
{
    if (!program) {
        return nullptr;
    }
    program->AddUse();
    cache.push_back(std::move(program));
    return cache.back().get();
}

template <class Program>
void Release(ProgramCache<Program>& cache, Program* program)
{
    if (!program || !program->ReleaseUse()) {
        return;
    }
    auto found = std::find_if(cache.begin(), cache.end(),
                              [program](const std::unique_ptr<Program>& cached) { return cached.get() == program; });
    if (found != cache.end()) {
        cache.erase(found);
    }
}

struct CompiledCode {
    ComRef<ID3DXBuffer> code;
    std::vector<ConstantBinding> bindings;

    const DWORD* Tokens() const { return static_cast<const DWORD*>(code->GetBufferPointer()); }
};

// profile: what the fragment compiles for, from the profile settled for it.
template <class ChooseProfile>
bool CompileFragment(const WideString& name, const ShaderDefines& defines, const std::string& requested,
                     ChooseProfile chooseProfile, CompiledCode& compiled)
{
    dcShaderCompiler compiler(name, requested);
    ComRef<ID3DXConstantTable> constants;
    if (!compiler.HasSource() || !compiler.Compile(defines, chooseProfile(compiler), compiled.code, constants)) {
        return false;
    }
    if (constants) {
        compiled.bindings = ReadConstantBindings(*constants.Get());
    }
    return true;
}

std::unique_ptr<VertexProgram> CompileVertexProgram(D3D9Video& device, const WideString& name,
                                                    const ShaderDefines& defines)
{
    CompiledCode compiled;
    const auto oldestProfile = [](const dcShaderCompiler&) { return std::string(kVertexProfile); };
    ComRef<IDirect3DVertexShader9> shader;
    IDirect3DDevice9* direct3d = device.GetDirect3DDevice();
    if (!direct3d || !CompileFragment(name, defines, kVertexProfile, oldestProfile, compiled) ||
        FAILED(direct3d->CreateVertexShader(compiled.Tokens(), shader.Receive()))) {
        return nullptr;
    }
    return std::make_unique<CompiledVertexProgram>(device, name, defines, std::move(shader),
                                                   std::move(compiled.bindings));
}

std::unique_ptr<PixelProgram> CompilePixelProgram(D3D9Video& device, const WideString& name,
                                                  const ShaderDefines& defines)
{
    CompiledCode compiled;
    const auto settledProfile = [](const dcShaderCompiler& compiler) { return compiler.GetProfile(); };
    ComRef<IDirect3DPixelShader9> shader;
    IDirect3DDevice9* direct3d = device.GetDirect3DDevice();
    if (!direct3d ||
        !CompileFragment(name, defines, WideStringToNarrow(device.GetPixelShaderProfile()), settledProfile,
                         compiled) ||
        FAILED(direct3d->CreatePixelShader(compiled.Tokens(), shader.Receive()))) {
        return nullptr;
    }
    return std::make_unique<CompiledPixelProgram>(device, name, defines, std::move(shader),
                                                  std::move(compiled.bindings));
}

} // namespace

VertexProgram* GetVertexShader(D3D9Video& device, const WideString& name, const ShaderDefines& defines)
{
    ProgramCache<VertexProgram>& cache = VertexProgramCache();
    if (VertexProgram* shared = FindProgram(cache, device, name, defines)) {
        shared->AddUse();
        return shared;
    }
    if (IsFixedFunctionFile(name)) {
        return Share<VertexProgram>(cache, std::make_unique<FixedFunctionDescription>(device, name));
    }
    return Share(cache, CompileVertexProgram(device, name, defines));
}

PixelProgram* GetPixelShader(D3D9Video& device, const WideString& name, const ShaderDefines& defines)
{
    ProgramCache<PixelProgram>& cache = PixelProgramCache();
    if (PixelProgram* shared = FindProgram(cache, device, name, defines)) {
        shared->AddUse();
        return shared;
    }
    if (IsFixedFunctionFile(name)) {
        auto description = std::make_unique<TextureStageDescription>(device, name);
        if (!description->FitsDevice()) {
            return nullptr;
        }
        return Share<PixelProgram>(cache, std::move(description));
    }
    return Share(cache, CompilePixelProgram(device, name, defines));
}

void ReleaseProgram(VertexProgram* program)
{
    Release(VertexProgramCache(), program);
}

void ReleaseProgram(PixelProgram* program)
{
    Release(PixelProgramCache(), program);
}

int32_t GetCachedVertexProgramCount()
{
    return static_cast<int32_t>(VertexProgramCache().size());
}

int32_t GetCachedPixelProgramCount()
{
    return static_cast<int32_t>(PixelProgramCache().size());
}
