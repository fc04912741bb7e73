#include "engine/files/ArchiveList.h"
#include "render/device/ComRef.h"
#include "render/shaders/ShaderEffect.h"
#include "render/shaders/ShaderFile.h"
#include "render/shaders/StyleFile.h"
#include "tests/render/shaders/ShaderTestSupport.h"

#include <d3dx9.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

// The compiler's own messages: this platform's compiler may report a
// feature it lacks and still hand out code, which would draw wrongly.
std::string CompileMessages(const std::string& source, const char* profile, bool& compiled)
{
    ComRef<ID3DXBuffer> code;
    ComRef<ID3DXBuffer> messages;
    compiled = SUCCEEDED(D3DXCompileShader(source.c_str(), static_cast<UINT>(source.size() + 1), nullptr, nullptr,
                                           "main", profile, 0, code.Receive(), messages.Receive(), nullptr)) &&
               code;
    if (!messages) {
        return {};
    }
    return std::string(static_cast<const char*>(messages->GetBufferPointer()), messages->GetBufferSize());
}

} // namespace

TEST_F(SampleShaderDevice, EveryProgramCompilesWithoutComplaint)
{
    struct Kind {
        const wchar_t* pattern;
        const char* profile;
    };
    int32_t programs = 0;
    for (const Kind& kind : {Kind{L"Shaders\\*.vsh", "vs_1_1"}, Kind{L"Shaders\\*.psh", "ps_2_0"}}) {
        for (const WideString& file : ListFiles(kind.pattern)) {
            bool compiled = false;
            const std::string messages = CompileMessages(ReadShaderFile(L"Shaders\\" + file), kind.profile, compiled);
            EXPECT_TRUE(compiled) << WideStringToNarrow(file) << ": " << messages;
            EXPECT_EQ(messages.find_first_not_of(std::string(1, '\0')), std::string::npos)
                << WideStringToNarrow(file) << ": " << messages;
            ++programs;
        }
    }
    EXPECT_GT(programs, 0);
}

// Each style draws with its first technique on this device, and with its
// fixed-function one at the lowest detail.
TEST_F(SampleShaderDevice, EveryStyleFileLoadsAndValidatesAtEveryDetailLevel)
{
    const std::vector<WideString> files = ListFiles(L"Shaders\\*.DCS");
    for (const wchar_t* expected : {L"DCLINE.DCS", L"DCSPRITE_SOLID.DCS", L"DCSPRITE_ALPHA.DCS", L"DCSPRITE_ADD.DCS",
                                    L"DCMESH.DCS", L"DCSOFTSKIN.DCS", L"DCSOFTSKIN_ALPHA.DCS"}) {
        EXPECT_TRUE(std::any_of(files.begin(), files.end(), [expected](const WideString& file) {
            WideString upper = file;
            WideStringToUpper(upper);
            return upper == expected;
        })) << WideStringToNarrow(expected);
    }
    SampleVariables variables(video);
    for (int32_t level : {0, 3}) {
        SetShaderDetailLevel(level);
        for (const WideString& file : files) {
            ScopedCapture log(kLogWarning);
            LogHub::Instance().RecomputeLevel();
            ShaderEffect effect(video, file);
            effect.SetParent(&variables);
            ASSERT_NE(effect.GetStyleFile(), nullptr) << WideStringToNarrow(file);
            for (int32_t style = 0; style < effect.GetStyleFile()->GetStyleCount(); ++style) {
                const ShaderTechnique& first = effect.GetStyleFile()->GetStyles()[style].techniques.front();
                const int32_t passKey = first.passes.front().index;
                EXPECT_TRUE(effect.Validate(passKey, style)) << WideStringToNarrow(file) << " level " << level;
                EXPECT_EQ(effect.GetChosenTechnique(style), level == 0 ? 0 : 1) << WideStringToNarrow(file);
            }
            EXPECT_TRUE(log->lines.empty()) << WideStringToNarrow(file) << ": " << WideStringToNarrow(log->lines.front());
        }
    }
}
