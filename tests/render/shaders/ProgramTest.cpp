#include "render/shaders/CompiledVertexProgram.h"
#include "render/shaders/ProgramCache.h"
#include "render/shaders/ShaderVariableRegistry.h"
#include "render/shaders/StyleFile.h"
#include "render/shaders/TextureStageDescription.h"
#include "render/shaders/dcShaderCompiler.h"
#include "tests/render/shaders/ShaderTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

namespace {

// A vertex fragment reading one constant of its own beside the position.
constexpr char kTintedVertices[] = R"(
float4 Tint;
float4 Extra[3];
struct Output { float4 position : POSITION; float4 color : COLOR0; };
Output main(float3 position : POSITION)
{
    Output result;
    result.position = float4(position, 1);
    result.color = Tint + Extra[1] + Extra[2] + Extra[0];
    return result;
}
)";

D3DMATRIX GetTransform(D3D9Video& video, D3DTRANSFORMSTATETYPE state)
{
    D3DMATRIX matrix{};
    video.GetDirect3DDevice()->GetTransform(state, &matrix);
    return matrix;
}

} // namespace

TEST(CompileTarget, IsHeldToTheRequestedVersion)
{
    struct Case {
        const char* source;
        const char* requested;
        const char* profile;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"float4 main() : COLOR { return 0; }", "ps_2_0", "ps_2_0"},
             {"#define COMPILE_TARGET ps_2_0\n", "ps_1_4", "ps_1_4"},
             {"#define COMPILE_TARGET ps_1_1\n", "ps_2_0", "ps_1_1"},
             {"// first\n#define COMPILE_TARGET vs_2_0", "vs_1_1", "vs_1_1"},
             {"#define COMPILE_TARGET\tps_1_3", "ps_2_0", "ps_1_3"},
         }) {
        EXPECT_EQ(SettleCompileTarget(c.source, c.requested, L"Fragment"), c.profile) << c.source;
    }
}

TEST(CompileTarget, AMalformedTargetIsReportedAndTheRequestedOneKept)
{
    ScopedCapture log(kLogError);
    for (const char* source : {"#define COMPILE_TARGET", "#define COMPILE_TARGET ", "#define COMPILE_TARGET ps_2",
                               "#define COMPILE_TARGET ps-2-0", "x #define COMPILE_TARGET psX2Y0"}) {
        EXPECT_EQ(SettleCompileTarget(source, "ps_2_0", L"Broken.psh"), "ps_2_0") << source;
    }
    EXPECT_EQ(log->lines.size(), 5u);
    EXPECT_TRUE(log->Contains(L"Broken.psh"));
}

TEST_F(ShaderDevice, ProgramsAreSharedByNameAndDefines)
{
    const WideString name = scratch.Write("Tinted.vsh", kTintedVertices);
    VertexProgram* a = GetVertexShader(video, name, {});
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(GetVertexShader(video, name, {}), a);
    EXPECT_EQ(a->GetUseCount(), 2);
    VertexProgram* defined = GetVertexShader(video, name, {{L"BRIGHT", L"1"}});
    ASSERT_NE(defined, nullptr);
    EXPECT_NE(defined, a);
    EXPECT_NE(GetVertexShader(video, name, {{L"BRIGHT", L"2"}}), defined);
    const int32_t cached = GetCachedVertexProgramCount();
    ReleaseProgram(a);
    EXPECT_EQ(GetCachedVertexProgramCount(), cached);
    ReleaseProgram(a);
    EXPECT_EQ(GetCachedVertexProgramCount(), cached - 1);
    ReleaseProgram(defined);
    ReleaseProgram(GetVertexShader(video, name, {{L"BRIGHT", L"2"}}));
    ReleaseProgram(GetVertexShader(video, name, {{L"BRIGHT", L"2"}}));
}

TEST_F(ShaderDevice, ADefineReachesOnlyTheFragmentsAfterIt)
{
    scratch.Write("Tinted.vsh", kTintedVertices);
    StyleFile file(video, scratch.Write("Defines.DCS", R"(<Shader><Style/><Technique/><Pass/>
        <Fragment VShader="Tinted.vsh" PShader="Flat.DCLS"/><Define BRIGHT="1"/>
        <Fragment VShader="Tinted.vsh" PShader="Flat.DCLS"/></Shader>)"));
    const std::vector<ShaderFragment>& fragments = file.GetStyles()[0].techniques[0].passes[0].fragments;
    ASSERT_NE(fragments[0].vertexProgram, nullptr);
    ASSERT_NE(fragments[1].vertexProgram, nullptr);
    EXPECT_TRUE(fragments[0].vertexProgram->GetDefines().empty());
    EXPECT_EQ(fragments[1].vertexProgram->GetDefines(), (ShaderDefines{{L"BRIGHT", L"1"}}));
    // A fixed-function description has no defines, and is shared only by fragments without.
    EXPECT_NE(fragments[0].pixelProgram, fragments[1].pixelProgram);
}

TEST_F(ShaderDevice, ArrayConstantsBindElementByElement)
{
    VertexProgram* program = GetVertexShader(video, scratch.Write("Tinted.vsh", kTintedVertices), {});
    ASSERT_NE(program, nullptr);
    std::vector<int32_t> ids;
    for (const ConstantBinding& binding : static_cast<CompiledVertexProgram*>(program)->GetBindings()) {
        ids.push_back(binding.variableId);
    }
    std::sort(ids.begin(), ids.end());
    std::vector<int32_t> expected{GetShaderVariableId(L"Tint"), GetShaderVariableId(L"Extra[0]"),
                                  GetShaderVariableId(L"Extra[1]"), GetShaderVariableId(L"Extra[2]")};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ids, expected);
    ReleaseProgram(program);
}

TEST_F(ShaderDevice, AMissingConstantIsReportedOnceUntilTheParentChanges)
{
    scratch.Write("Tinted.vsh", kTintedVertices);
    ShaderEffect effect(video, scratch.Write("Tinted.DCS", R"(<Shader><Style/><Technique/><Pass/>
        <Fragment VShader="Tinted.vsh" PShader="Flat.DCLS"/></Shader>)"));
    ShaderVariableBlock parent;
    const int32_t tint = parent.AddVariable(L"Tint", kShaderData, false);
    const float colour[4] = {0.25f, 0.5f, 0.75f, 1.0f};
    parent.SetValue(tint, colour, sizeof colour);
    effect.SetParent(&parent);
    ScopedCapture log(kLogWarning);
    LogHub::Instance().RecomputeLevel();
    const auto missing = [&log] {
        return std::count(log->lines.begin(), log->lines.end(), L"VertexShader Constant Extra not found");
    };
    ASSERT_TRUE(effect.ApplyFragment(0, 0, -2));
    EXPECT_TRUE(effect.ApplyFragment(0, 0, -2));
    EXPECT_EQ(missing(), 1);
    effect.SetParent(&parent);
    EXPECT_TRUE(effect.ApplyFragment(0, 0, -2));
    EXPECT_EQ(missing(), 1);
    effect.SetParent(nullptr);
    EXPECT_TRUE(effect.ApplyFragment(0, 0, -2));
    EXPECT_EQ(missing(), 2);
    // The found constant went to its registers.
    effect.SetParent(&parent);
    EXPECT_TRUE(effect.ApplyFragment(0, 0, -2));
    EXPECT_EQ(video.GetFrameStatistics().constantUploads, 1);
}

TEST_F(ShaderDevice, TextureStagesMustLeaveAStageToEndTheCascade)
{
    const D3DCAPS9& caps = video.GetCaps();
    const auto stages = [&](uint32_t count, uint32_t textured) {
        std::string text = "<Root>";
        for (uint32_t i = 0; i < count; ++i) {
            text += i < textured ? "<Stage Texture=\"Tex0\"/>" : "<Stage/>";
        }
        return TextureStageDescription(video, scratch.Write("Stages.DCLS", text + "</Root>")).FitsDevice();
    };
    const uint32_t blend = caps.MaxTextureBlendStages;
    const uint32_t textures = caps.MaxSimultaneousTextures;
    ASSERT_GE(blend, 2u);
    EXPECT_FALSE(stages(blend, 0));
    EXPECT_TRUE(stages(blend - 1, std::min(blend - 1, textures)));
    EXPECT_TRUE(stages(2, 1));
    if (textures < blend - 1) {
        EXPECT_FALSE(stages(blend - 1, textures + 1));
    }
}

TEST_F(ShaderDevice, TextureStagesEndTheCascadeAndLookForLateTextures)
{
    TextureStageDescription stages(
        video, scratch.Write("Two.DCLS", "<Root><Stage Texture=\"LateTexture\"/><Stage ColorOp=\"Add\"/></Root>"));
    ShaderVariableBlock chain;
    BindingCache cache;
    ScopedCapture log(kLogWarning);
    LogHub::Instance().RecomputeLevel();
    stages.Bind(&chain, cache);
    stages.Bind(&chain, cache);
    EXPECT_EQ(std::count(log->lines.begin(), log->lines.end(), L"PixelShader Constant LateTexture not found"), 2);
    const TextureStageStateCache& states = video.GetTextureStageStates();
    EXPECT_EQ(states.Get(0 * kTextureStageStateSlots + D3DTSS_COLOROP), D3DTOP_MODULATE);
    EXPECT_EQ(states.Get(1 * kTextureStageStateSlots + D3DTSS_COLOROP), D3DTOP_ADD);
    EXPECT_EQ(states.Get(2 * kTextureStageStateSlots + D3DTSS_COLOROP), D3DTOP_DISABLE);
    EXPECT_EQ(states.Get(2 * kTextureStageStateSlots + D3DTSS_ALPHAOP), D3DTOP_DISABLE);

    std::unique_ptr<TextureResource> texture =
        video.CreateTexture({kTextureArgb32, kTextureKind2D, 4, 4, 4, 4, 1, false, false, false});
    chain.SetTexture(chain.AddVariable(L"LateTexture", kShaderTexture, false), texture.get());
    stages.Bind(&chain, cache);
    EXPECT_EQ(video.GetBoundTexture(0), texture.get());
    video.SetTexture(0, nullptr);
}

TEST_F(ShaderDevice, FixedFunctionVerticesWithoutVariablesUseIdentityAndNoLighting)
{
    FixedFunctionDescription description(video, scratch.Write("Root.DCLS", "<Root Lighting=\"0\"/>"));
    ShaderVariableBlock chain;
    BindingCache cache;
    const float translated[16] = {1, 0, 0, 5, 0, 1, 0, 6, 0, 0, 1, 7, 0, 0, 0, 1};   // as shader constants take it
    const int32_t world = chain.AddVariable(L"World", kShaderMatrix, false);
    chain.SetMatrix(world, translated);
    description.Bind(&chain, cache);
    EXPECT_EQ(GetTransform(video, D3DTS_WORLD)._41, 5.0f);
    EXPECT_EQ(GetTransform(video, D3DTS_WORLD)._14, 0.0f);

    ShaderVariableBlock empty;
    BindingCache fresh;
    description.Bind(&empty, fresh);
    const D3DMATRIX identity = GetTransform(video, D3DTS_WORLD);
    EXPECT_EQ(identity._41, 0.0f);
    EXPECT_EQ(identity._11, 1.0f);
    EXPECT_EQ(GetTransform(video, D3DTS_VIEW)._22, 1.0f);
    EXPECT_EQ(video.GetRenderStates().Get(D3DRS_LIGHTING), static_cast<uint32_t>(FALSE));
    EXPECT_EQ(video.GetRenderStates().Get(D3DRS_FOGENABLE), static_cast<uint32_t>(FALSE));
}

TEST_F(ShaderDevice, FixedFunctionFogAndLightsComeFromTheirVariables)
{
    FixedFunctionDescription description(video, scratch.Write("Lit.DCLS", R"(<Root Lighting="1"><Fogging/>
        <Light Type="Directional" Diffuse="SunColour" Specular="SunColour" Direction="SunDirection"/>
        <Light Type="Directional" Diffuse="SunColour" Specular="SunColour" Direction="SunDirection"/></Root>)"));
    ShaderVariableBlock chain;
    BindingCache cache;
    const float fog[4] = {1.0f, 0.5f, 0.0f, 1.0f};
    const float colour[4] = {0.25f, 0.5f, 0.75f, 1.0f};
    const float direction[4] = {0.0f, 1.0f, 0.0f, 0.0f};
    chain.SetValue(chain.AddVariable(L"FogColor", kShaderData, false), fog, sizeof fog);
    chain.SetValue(chain.AddVariable(L"SunColour", kShaderData, false), colour, sizeof colour);
    chain.SetValue(chain.AddVariable(L"SunDirection", kShaderData, false), direction, sizeof direction);
    description.Bind(&chain, cache);
    EXPECT_EQ(video.GetRenderStates().Get(D3DRS_FOGCOLOR), 0xFFFF7F00u);
    EXPECT_EQ(video.GetRenderStates().Get(D3DRS_LIGHTING), static_cast<uint32_t>(TRUE));
    D3DLIGHT9 first{};
    D3DLIGHT9 second{};
    video.GetDirect3DDevice()->GetLight(0, &first);
    video.GetDirect3DDevice()->GetLight(1, &second);
    EXPECT_EQ(first.Diffuse.b, 0.75f);
    EXPECT_EQ(first.Specular.b, 1.5f);
    EXPECT_EQ(second.Specular.b, 0.0f);
    EXPECT_EQ(first.Direction.y, -1.0f);
}

TEST_F(ShaderDevice, FragmentsIncludeFilesFromTheShaderFolder)
{
    scratch.Write("Tint.h", "float4 Tint;\n");
    const WideString including = scratch.Write("Including.psh", R"(#include "Tint.h"
float4 main(float4 color : COLOR0) : COLOR0 { return color * Tint; })");
    PixelProgram* program = GetPixelShader(video, including, {});
    ASSERT_NE(program, nullptr);
    ReleaseProgram(program);

    ScopedCapture log(kLogMessage);
    const WideString missing = scratch.Write("Missing.psh", R"(#include "Absent.h"
float4 main(float4 color : COLOR0) : COLOR0 { return color; })");
    ReleaseProgram(GetPixelShader(video, missing, {}));
    EXPECT_TRUE(log->Contains(L"ShaderFactory: Shader ^1Absent.h^7 not found!"));
    EXPECT_TRUE(log->Contains(L"dcShaderCompiler: Absent.h is not found while compiling " + missing));
}

TEST_F(ShaderDevice, ProgramsDescribeThemselvesAndPreloadWhatTheySample)
{
    const WideString tinting = scratch.Write("Tinting.psh", R"(float4 Tint;
float4 main(float4 color : COLOR0) : COLOR0 { return color * Tint; })");
    const WideString tinted = scratch.Write("Tinted.vsh", kTintedVertices);
    const WideString staging = scratch.Write("Stage.DCLS", "<Root><Stage Texture=\"Decal\"/></Root>");
    PixelProgram* compiled = GetPixelShader(video, tinting, {});
    VertexProgram* vertices = GetVertexShader(video, tinted, {});
    PixelProgram* stages = GetPixelShader(video, staging, {});
    VertexProgram* fixed = GetVertexShader(video, ShaderFactory().Resolve(L"Plain.DCLS", false), {});
    ASSERT_NE(compiled, nullptr);
    ASSERT_NE(vertices, nullptr);
    ASSERT_NE(stages, nullptr);
    ASSERT_NE(fixed, nullptr);
    ShaderVariableBlock chain;
    BindingCache pixelCache;
    BindingCache vertexCache;
    BindingCache stageCache;

    // The listing names each compiled program and what its pixel side lacks;
    // the descriptions say nothing.
    {
        ScopedCapture log(kLogMessage);
        vertices->Describe(&chain, vertexCache);
        compiled->Describe(&chain, pixelCache);
        fixed->Describe(&chain, vertexCache);
        stages->Describe(&chain, stageCache);
        EXPECT_EQ(log->lines, (std::vector<WideString>{L"VShader = " + tinted, L"PShader = " + tinting,
                                                        L"PixelShader Constant Tint not found"}));
    }

    // Preloading reports a missing texture every time, and leaves the lookup
    // to the next bind: a texture added in between is found.
    {
        ScopedCapture log(kLogWarning);
        LogHub::Instance().RecomputeLevel();
        stages->PreloadTextures(&chain, stageCache);
        stages->PreloadTextures(&chain, stageCache);
        compiled->PreloadTextures(&chain, pixelCache);
        compiled->PreloadTextures(&chain, pixelCache);
        EXPECT_EQ(std::count(log->lines.begin(), log->lines.end(), L"PixelShader Constant Decal not found"), 2);
        EXPECT_EQ(std::count(log->lines.begin(), log->lines.end(), L"PixelShader Constant Tint not found"), 2);
    }
    std::unique_ptr<TextureResource> decal =
        video.CreateTexture({kTextureArgb32, kTextureKind2D, 4, 4, 4, 4, 1, false, false, false});
    chain.SetTexture(chain.AddVariable(L"Decal", kShaderTexture, false), decal.get());
    const float tint[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    chain.SetValue(chain.AddVariable(L"Tint", kShaderData, false), tint, sizeof tint);
    {
        ScopedCapture log(kLogWarning);
        LogHub::Instance().RecomputeLevel();
        stages->PreloadTextures(&chain, stageCache);
        compiled->PreloadTextures(&chain, pixelCache);
        stages->Bind(&chain, stageCache);
        compiled->Bind(&chain, pixelCache);
        EXPECT_TRUE(log->lines.empty());
        EXPECT_EQ(video.GetBoundTexture(0), decal.get());
        EXPECT_EQ(video.GetFrameStatistics().constantUploads, 1);
    }
    video.SetTexture(0, nullptr);
    ReleaseProgram(compiled);
    ReleaseProgram(vertices);
    ReleaseProgram(stages);
    ReleaseProgram(fixed);
}
