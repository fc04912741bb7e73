#include "render/shaders/FixedFunctionDescription.h"
#include "render/shaders/ShaderVariableRegistry.h"
#include "render/shaders/TextureStageDescription.h"
#include "tests/render/shaders/ShaderTestSupport.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

class DclsFiles : public testing::Test {
protected:
    FixedFunctionDescription Vertices(const std::string& text)
    {
        return FixedFunctionDescription(video, scratch.Write("Vertices.DCLS", text));
    }
    TextureStage OneStage(const std::string& attributes)
    {
        TextureStageDescription stages(video, scratch.Write("Stages.DCLS", "<Root><Stage " + attributes + "/></Root>"));
        EXPECT_EQ(stages.GetStages().size(), 1u) << attributes;
        return stages.GetStages().empty() ? TextureStage{} : stages.GetStages()[0];
    }

    ShaderScratch scratch;
    D3D9Video video;
};

} // namespace

TEST_F(DclsFiles, ElementsMatchByTheirBeginningAndAttributesByTheKeywordsBeginning)
{
    const FixedFunctionDescription d = Vertices(R"(<RootOfAll LIGHTING="2">
        <Lights Type="Directional" Amb="SunAmbient" D="SunDiffuse" Dir="SunDirection" Directions="Ignored"/>
        <Light type="positional and more"/><Light Type="SPOT"/><Light Type="Ambient"/>
        <FoggingOn/><Spec/><Specular/></RootOfAll>)");
    EXPECT_TRUE(d.IsLighting());
    EXPECT_TRUE(d.IsFogging());
    EXPECT_TRUE(d.IsSpecular());
    ASSERT_EQ(d.GetLights().size(), 4u);
    const FixedFunctionLight& sun = d.GetLights()[0];
    EXPECT_EQ(sun.type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(sun.ambient, GetShaderVariableId(L"SunAmbient"));
    EXPECT_EQ(sun.diffuse, GetShaderVariableId(L"SunDiffuse"));
    EXPECT_EQ(sun.direction, GetShaderVariableId(L"SunDirection"));
    EXPECT_EQ(sun.specular, -1);
    EXPECT_EQ(d.GetLights()[1].type, D3DLIGHT_POINT);
    EXPECT_EQ(d.GetLights()[2].type, D3DLIGHT_SPOT);
    EXPECT_EQ(d.GetLights()[3].type, 0x7FFFFFFF);
}

TEST_F(DclsFiles, RootAloneDescribesUnlitUnfoggedVertices)
{
    const FixedFunctionDescription d = Vertices(R"(<Root Lighting="0"/>)");
    EXPECT_FALSE(d.IsLighting());
    EXPECT_FALSE(d.IsFogging());
    EXPECT_TRUE(d.GetLights().empty());
    EXPECT_TRUE(d.GetStages().empty());
}

TEST_F(DclsFiles, StagesTakeTheirCoordinatesFromTheirSource)
{
    const FixedFunctionDescription d = Vertices(R"(<Root>
        <Stage/><Stage TexCoordSource="2.SphereMap"/><Stage TexCoordSource="3"/>
        <Stage TexCoordSource="1.camspacereflection"/><Stage TexCoordSource="0.CamSpaceNormal"/>
        <Stage TexCoordSource="1.CamSpacePosition"/></Root>)");
    EXPECT_EQ(d.GetStages(), (std::vector<uint32_t>{0, D3DTSS_TCI_SPHEREMAP | 2, 3,
                                                    D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR | 1,
                                                    D3DTSS_TCI_CAMERASPACENORMAL,
                                                    D3DTSS_TCI_CAMERASPACEPOSITION | 1}));
}

TEST_F(DclsFiles, BrokenXmlKeepsTheStagesBeforeTheError)
{
    ScopedCapture log(kLogError);
    const WideString name = scratch.Write("Broken.DCLS", "<Root><Stage ColorOp=\"Add\"/><Stage></Root>");
    const TextureStageDescription stages(video, name);
    EXPECT_EQ(stages.GetStages().size(), 2u);
    EXPECT_TRUE(log->Contains(name + L" contains errors"));
}

TEST_F(DclsFiles, StageOperationsTakeTheLongestNameTheyBeginWith)
{
    struct Case {
        const char* op;
        int32_t value;
    };
    for (const Case& c : std::initializer_list<Case>{{"Add", 7},
                                                     {"AddSigned2x", 9},
                                                     {"AddSmooth", 11},
                                                     {"addsigned", 8},
                                                     {"Modulate2x", 5},
                                                     {"Modulate4xBright", 6},
                                                     {"Mad", 25},
                                                     {"DotProduct3", 24},
                                                     {"Ad", 0x7FFFFFFF}}) {
        EXPECT_EQ(OneStage(std::string("ColorOp=\"") + c.op + "\"").colorOp, c.value) << c.op;
    }
}

TEST_F(DclsFiles, StageArgumentsCarryTheirModifiers)
{
    struct Case {
        const char* attributes;
        int32_t (*read)(const TextureStage& stage);
        int32_t value;
    };
    const auto colorArg0 = [](const TextureStage& s) { return s.colorArg[0]; };
    const auto colorArg1 = [](const TextureStage& s) { return s.colorArg[1]; };
    const auto colorArg2 = [](const TextureStage& s) { return s.colorArg[2]; };
    const auto alphaArg2 = [](const TextureStage& s) { return s.alphaArg[2]; };
    const auto colorOp = [](const TextureStage& s) { return s.colorOp; };
    const auto resultArg = [](const TextureStage& s) { return s.resultArg; };
    for (const Case& c : std::initializer_list<Case>{
             {"ColorArg1=\"Texture.Alpha.Complement\"", colorArg1,
              D3DTA_TEXTURE | D3DTA_ALPHAREPLICATE | D3DTA_COMPLEMENT},
             {"ColorArg2=\"Diffuse.Complement.Alpha\"", colorArg2,
              D3DTA_DIFFUSE | D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE},
             {"ColorArg0=\"tfactor\"", colorArg0, D3DTA_TFACTOR},
             {"ColorArg1=\"Temporary\"", colorArg1, D3DTA_TEMP},
             {"ColorArg1=\"Nothing\"", colorArg1, 0x7FFFFFFF},
             {"AlphaArg2=\"Specular\"", alphaArg2, D3DTA_SPECULAR},
             {"Color=\"Subtract\"", colorOp, D3DTOP_SUBTRACT},
             {"ColorOperation=\"Subtract\"", colorOp, D3DTOP_MODULATE},
             {"Result=\"Temp\"", resultArg, D3DTA_TEMP},
         }) {
        EXPECT_EQ(c.read(OneStage(c.attributes)), c.value) << c.attributes;
    }
}

TEST_F(DclsFiles, AStageStartsFromTheModulatingDefaults)
{
    const TextureStage stage = OneStage("Texture=\"StageTexture\"");
    EXPECT_EQ(stage.texture, GetShaderVariableId(L"StageTexture"));
    EXPECT_EQ(stage.colorOp, D3DTOP_MODULATE);
    EXPECT_EQ(stage.alphaOp, D3DTOP_MODULATE);
    EXPECT_EQ(stage.resultArg, D3DTA_CURRENT);
    EXPECT_EQ(stage.colorArg[0], D3DTA_CURRENT);
    EXPECT_EQ(stage.colorArg[1], D3DTA_TEXTURE);
    EXPECT_EQ(stage.colorArg[2], D3DTA_DIFFUSE);
    EXPECT_EQ(OneStage("").texture, -1);
}
