#pragma once
// Compiles one HLSL fragment (entry point "main") with D3DX. It reads the
// fragment, settles the profile from the one the device asks for and the
// fragment's own "#define COMPILE_TARGET" line, and resolves the fragment's
// includes through the shader folders. Lives for one compilation.

#include "engine/files/WideString.h"
#include "render/device/ComRef.h"
#include "render/shaders/ShaderProgram.h"

#include <d3dx9.h>

#include <string>

// The profile a fragment compiles for: the requested one, or the target its
// "#define COMPILE_TARGET" line names (family from the line, version held to
// the requested one). A line without a well-formed target after it is
// reported and the requested profile kept. Profiles read like "ps_2_0".
std::string SettleCompileTarget(const std::string& source, const std::string& requested, const WideString& name);

class dcShaderCompiler : public ID3DXInclude {
public:
    dcShaderCompiler(const WideString& name, const std::string& requestedProfile);
    virtual ~dcShaderCompiler() = default;
    dcShaderCompiler(const dcShaderCompiler&) = delete;
    dcShaderCompiler& operator=(const dcShaderCompiler&) = delete;

    // Empty when the fragment could not be read.
    bool HasSource() const { return !source_.empty(); }
    const std::string& GetProfile() const { return profile_; }

    // False, with nothing handed out, when D3DX refuses the fragment; its
    // messages are dropped.
    bool Compile(const ShaderDefines& defines, const std::string& profile, ComRef<ID3DXBuffer>& code,
                 ComRef<ID3DXConstantTable>& constants);

    // The include handler D3DX calls: the buffer Open hands out goes with Close.
    STDMETHOD(Open)(D3DXINCLUDE_TYPE type, const char* fileName, const void* parentData, const void** data,
                    UINT* bytes) override;
    STDMETHOD(Close)(const void* data) override;

private:
    WideString name_;
    std::string source_;   // the file's bytes; D3DX is handed them with a terminating 0
    std::string profile_;
};
