#include "render/shaders/StyleFile.h"
#include "tests/render/shaders/ShaderTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

namespace {

class StyleFiles : public testing::Test {
protected:
    // A file of one style, technique and pass whose one fragment has the attributes.
    ShaderFragment ParseFragment(const std::string& attributes)
    {
        StyleFile file(video, scratch.Write("Fragment.DCS", "<Shader><Style Name=\"A\"><Technique><Pass><Fragment " +
                                                                attributes + "/></Pass></Technique></Style></Shader>"));
        EXPECT_EQ(file.GetStyleCount(), 1);
        if (file.GetStyleCount() != 1) {
            return {};
        }
        return file.GetStyles()[0].techniques[0].passes[0].fragments[0];
    }

    ShaderScratch scratch;
    D3D9Video video;   // never made: no program compiles here
};

// Styles, techniques, passes and fragments as counts and numbers, for comparing layouts.
std::string Layout(const StyleFile& file)
{
    std::string layout;
    for (const ShaderStyle& style : file.GetStyles()) {
        layout += "S" + WideStringToNarrow(style.name);
        for (const ShaderTechnique& technique : style.techniques) {
            layout += " T" + std::to_string(technique.detailId) + "/" + std::to_string(technique.defines.size());
            for (const ShaderPass& pass : technique.passes) {
                layout += " P" + std::to_string(pass.index) + "x" + std::to_string(pass.fragments.size());
            }
        }
        layout += ";";
    }
    return layout;
}

} // namespace

TEST_F(StyleFiles, SiblingElementsLoadLikeNestedOnes)
{
    const WideString nested = scratch.Write("Nested.DCS", R"(<Shader>
        <Style Name="Day"><Technique DetailID="1"><Define FOG="1"/><Pass Index="2"><Fragment/><Fragment/></Pass>
          <Pass Index="5"><Fragment/></Pass></Technique><Technique DetailID="3"><Pass><Fragment/></Pass></Technique></Style>
        <Style Name="Night"><Technique DetailID="2"><Pass Index="7"><Fragment/></Pass></Technique></Style></Shader>)");
    const WideString siblings = scratch.Write("Siblings.DCS", R"(<Shader>
        <Style Name="Day"/><Technique DetailID="1"/><Define FOG="1"/><Pass Index="2"/><Fragment/><Fragment/>
        <Pass Index="5"/><Fragment/><Technique DetailID="3"/><Pass/><Fragment/>
        <Style Name="Night"/><Technique DetailID="2"/><Pass Index="7"/><Fragment/></Shader>)");
    const StyleFile a(video, nested);
    const StyleFile b(video, siblings);
    EXPECT_EQ(Layout(a), "SDay T1/1 P2x2 P5x1 T3/0 P0x1;SNight T2/0 P7x1;");
    EXPECT_EQ(Layout(b), Layout(a));
}

TEST_F(StyleFiles, FragmentAttributesSetTheirStates)
{
    struct Case {
        std::string attributes;
        std::function<bool(const ShaderFragment&)> holds;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"", [](const ShaderFragment& f) { return f.zWrite && f.cullMode == 3 && f.refAlpha == 255; }},
             {"zwrite=\"0\"", [](const ShaderFragment& f) { return !f.zWrite; }},
             {"ZWRITE=\"0\"", [](const ShaderFragment& f) { return !f.zWrite; }},
             {"ZWrite2=\"0\"", [](const ShaderFragment& f) { return f.zWrite; }},
             {"RefAlpha=\"300\"", [](const ShaderFragment& f) { return f.refAlpha == 44; }},
             {"Culling=\"cw\"", [](const ShaderFragment& f) { return f.cullMode == 2; }},
             {"Culling=\"NONE\"", [](const ShaderFragment& f) { return f.cullMode == 1; }},
             {"Culling=\"Sideways\"", [](const ShaderFragment& f) { return f.cullMode == 3; }},
             {"TSSProject2=\"0\"",
              [](const ShaderFragment& f) { return f.textureTransformFlags[2] == 256 && f.textureTransformFlags[0] == 0; }},
             {"SrcBlend=\"BothInvSrcAlpha\" DestBlend=\"Lots\"",
              [](const ShaderFragment& f) { return f.srcBlend == 13 && f.destBlend == 0x7FFFFFFF; }},
             {"ZTest=\"greaterequal\" AlphaTest=\"NotEqual\"",
              [](const ShaderFragment& f) { return f.zFunc == 7 && f.alphaFunc == 6; }},
             {"StencilEnable=\"5\" StencilPass=\"Set\" StencilFail2=\"IncrSat\" StencilTest2=\"Never\"",
              [](const ShaderFragment& f) {
                  return f.stencilEnable && f.stencilPass == 3 && f.ccwStencilFail == 4 && f.ccwStencilFunc == 1;
              }},
             {"RefStencil=\"257\" StencilWriteMask=\"15\"",
              [](const ShaderFragment& f) { return f.stencilRef == 1 && f.stencilWriteMask == 15; }},
             {"ZBias=\" -2.75\" TSS0=\"0.5\" ZSlopeBias=\"1.25e1\"",
              [](const ShaderFragment& f) { return f.depthBias == -2.75f && f.slopeBias == 12.5f; }},
             {"SeperateAlphaBlend=\"1\" SrcBlendAlpha=\"DestColor\"",
              [](const ShaderFragment& f) { return f.separateAlphaBlend && f.srcBlendAlpha == 9; }},
             {"AlphaBlend=\"1\" alphablend=\"0\"", [](const ShaderFragment& f) { return !f.alphaBlend; }},
         }) {
        EXPECT_TRUE(c.holds(ParseFragment(c.attributes))) << c.attributes;
    }
}

TEST_F(StyleFiles, TheLastNameOfAStyleGivesItsKey)
{
    const StyleFile file(video, scratch.Write("Names.DCS", R"(<Shader><Style Name="First" name="Second"/><Style/></Shader>)"));
    ASSERT_EQ(file.GetStyleCount(), 2);
    EXPECT_EQ(file.GetStyles()[0].name, L"Second");
    EXPECT_EQ(file.GetStyles()[0].key, StyleKey(L"Second"));
    EXPECT_NE(StyleKey(L"Second"), StyleKey(L"First"));
    EXPECT_EQ(file.GetStyles()[1].key, StyleKey(L""));
}

TEST_F(StyleFiles, ElementsBeforeTheirParentAreIgnoredAndReported)
{
    ScopedCapture log(kLogError);
    const WideString name = scratch.Write("Orphans.DCS", R"(<Shader>
        <Technique/><Pass/><Fragment/><Define A="1"/>
        <Style Name="S"/><Pass/><Fragment/><Define B="2"/><Technique/><Fragment/><Pass/><Fragment/></Shader>)");
    const StyleFile file(video, name);
    EXPECT_EQ(Layout(file), "SS T-1/0 P0x1;");
    EXPECT_TRUE(log->Contains(name + L": Technique before any Style ignored"));
    EXPECT_TRUE(log->Contains(name + L": Pass before any Technique ignored"));
    EXPECT_TRUE(log->Contains(name + L": Fragment before any Pass ignored"));
    EXPECT_TRUE(log->Contains(name + L": Define before any Technique ignored"));
}

TEST_F(StyleFiles, BrokenXmlKeepsWhatCameBeforeTheError)
{
    ScopedCapture log(kLogError);
    const WideString name = scratch.Write("Broken.DCS", R"(<Shader><Style Name="Kept"/><Technique></Shader>)");
    const StyleFile file(video, name);
    EXPECT_EQ(Layout(file), "SKept T-1/0;");
    EXPECT_TRUE(log->Contains(L"D3D9Video: " + name + L" contains errors"));
}

TEST_F(StyleFiles, AProgramFileThatDoesNotResolveIsReportedAndLeftOut)
{
    ScopedCapture log(kLogMessage);
    const WideString name = scratch.Write("Missing.DCS", R"(<Shader><Style/><Technique/><Pass/><Fragment VShader="Gone.vsh"/></Shader>)");
    const StyleFile file(video, name);
    EXPECT_EQ(file.GetStyles()[0].techniques[0].passes[0].fragments[0].vertexProgram, nullptr);
    EXPECT_TRUE(log->Contains(L"ShaderFactory: Shader ^1Gone.vsh^7 not found while compiling " + name + L"!"));
}
