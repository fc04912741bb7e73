#include "render/shaders/dcShaderCompiler.h"

#include "engine/core/LogHub.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/ResourceFactory.h"
#include "engine/files/Stream.h"
#include "render/shaders/ShaderFile.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <vector>

namespace {

constexpr char kCompileTargetLine[] = "#define COMPILE_TARGET";
// The target follows the line's keyword after one separating character.
constexpr size_t kTargetOffset = sizeof kCompileTargetLine;
constexpr size_t kProfileLength = 6;   // "ps_2_0"

// "vs_1_1", "ps_2_0": a family, then major and minor version digits.
bool IsProfile(const std::string& profile)
{
    return profile.size() == kProfileLength && profile[2] == '_' && profile[4] == '_' &&
           std::isdigit(static_cast<unsigned char>(profile[3])) &&
           std::isdigit(static_cast<unsigned char>(profile[5]));
}

int32_t ProfileVersion(const std::string& profile)
{
    return 10 * (profile[3] - '0') + (profile[5] - '0');
}

} // namespace

std::string SettleCompileTarget(const std::string& source, const std::string& requested, const WideString& name)
{
    const size_t line = source.find(kCompileTargetLine);
    if (line == std::string::npos) {
        return requested;
    }
    const size_t start = line + kTargetOffset;
    const std::string target = start < source.size() ? source.substr(start, kProfileLength) : std::string();
    if (!IsProfile(target)) {
        LogHub::PrintError("dcShaderCompiler: %s names no compile target after COMPILE_TARGET", name.c_str());
        return requested;
    }
    if (!IsProfile(requested)) {
        return target;
    }
    const int32_t version = std::min(ProfileVersion(target), ProfileVersion(requested));
    std::string settled = target;
    settled[3] = static_cast<char>('0' + version / 10);
    settled[5] = static_cast<char>('0' + version % 10);
    return settled;
}

dcShaderCompiler::dcShaderCompiler(const WideString& name, const std::string& requestedProfile)
    : name_(name)
    , source_(ReadShaderFile(name))
    , profile_(SettleCompileTarget(source_, requestedProfile, name))
{
}

bool dcShaderCompiler::Compile(const ShaderDefines& defines, const std::string& profile, ComRef<ID3DXBuffer>& code,
                               ComRef<ID3DXConstantTable>& constants)
{
    std::vector<std::string> texts;
    texts.reserve(defines.size() * 2);
    for (const WideStringPair& define : defines) {
        texts.push_back(WideStringToNarrow(define.name));
        texts.push_back(WideStringToNarrow(define.value));
    }
    std::vector<D3DXMACRO> macros;
    for (size_t i = 0; i < texts.size(); i += 2) {
        macros.push_back({texts[i].c_str(), texts[i + 1].c_str()});
    }
    macros.push_back({nullptr, nullptr});
    ComRef<ID3DXBuffer> messages;
    const HRESULT result =
        D3DXCompileShader(source_.c_str(), static_cast<UINT>(source_.size() + 1), macros.data(), this, "main",
                          profile.c_str(), 0, code.Receive(), messages.Receive(), constants.Receive());
    if (FAILED(result) || !code) {
        code.Reset();
        constants.Reset();
        return false;
    }
    return true;
}

HRESULT dcShaderCompiler::Open(D3DXINCLUDE_TYPE type, const char* fileName, const void* parentData,
                               const void** data, UINT* bytes)
{
    *data = nullptr;
    *bytes = 0;
    const WideString included = WideStringFromChars(fileName, -1);
    const WideString resolved = ShaderFactory().Resolve(included, true);
    if (resolved.empty()) {
        LogHub::Printf("dcShaderCompiler: %s is not found while compiling %s", included.c_str(), name_.c_str());
        return E_FAIL;
    }
    std::unique_ptr<Stream> stream = OpenFile(resolved);
    if (stream->GetSize() < 0) {
        return E_FAIL;
    }
    auto buffer = std::make_unique<char[]>(static_cast<size_t>(stream->GetSize()) + 1);
    *bytes = static_cast<UINT>(stream->Read(buffer.get(), stream->GetSize()));
    *data = buffer.release();
    return S_OK;
}

HRESULT dcShaderCompiler::Close(const void* data)
{
    delete[] static_cast<const char*>(data);
    return S_OK;
}
