#include "render/shaders/ProgramCache.h"
#include "render/shaders/ShaderEffect.h"
#include "render/shaders/StyleFile.h"
#include "tests/render/shaders/ShaderTestSupport.h"

#include <gtest/gtest.h>

#include <initializer_list>

TEST_F(ShaderDevice, ValidationCountsTheDetailLevelDownToATechniqueOfThatLevel)
{
    struct Case {
        int32_t level;
        int32_t technique;
    };
    ShaderEffect effect(video, WriteTechniques("Levels.DCS", {1, 2, 2, 5}));
    for (const Case& c : std::initializer_list<Case>{{0, 0}, {1, 0}, {2, 2}, {3, 2}, {4, 2}, {5, 3}}) {
        SetShaderDetailLevel(c.level);
        EXPECT_TRUE(effect.Validate(0, -2)) << c.level;
        EXPECT_EQ(effect.GetChosenTechnique(-2), c.technique) << c.level;
        EXPECT_EQ(effect.GetStyleState(0, 0), 1) << c.level;
    }
}

TEST_F(ShaderDevice, ChooseTechniqueTakesTheFirstAtLeastAsDetailedElseTheLast)
{
    struct Case {
        int32_t detail;
        int32_t technique;
    };
    ShaderEffect effect(video, WriteTechniques("Choice.DCS", {1, 3, 5}));
    for (const Case& c : std::initializer_list<Case>{{0, 0}, {1, 0}, {2, 1}, {5, 2}, {6, 2}}) {
        effect.ChooseTechnique(c.detail);
        EXPECT_EQ(effect.GetChosenTechnique(-2), c.technique) << c.detail;
    }
}

TEST_F(ShaderDevice, ATechniqueThatCannotRunGivesWayToTheNext)
{
    ScopedCapture log(kLogError);
    const WideString name = scratch.Write("Fallback.DCS", R"(<Shader>
        <Style Name="Falls"/><Technique DetailID="1"/><Pass/><Fragment VShader="Gone.vsh" PShader="Flat.DCLS"/>
        <Technique DetailID="2"/><Pass/><Fragment VShader="Plain.DCLS" PShader="Flat.DCLS"/>
        <Style Name="Broken"/><Technique/><Pass/><Fragment VShader="Plain.DCLS"/></Shader>)");
    ShaderEffect effect(video, name);
    EXPECT_EQ(effect.ValidateCurrent(), 1);
    EXPECT_EQ(effect.GetFragmentCount(0, -2), 1);

    ASSERT_TRUE(effect.SelectStyle(L"Broken"));
    EXPECT_FALSE(effect.Validate(0, -2));
    EXPECT_EQ(effect.GetChosenTechnique(-2), -1);
    EXPECT_EQ(effect.GetFragmentCount(0, -2), 0);
    EXPECT_FALSE(effect.ApplyFragment(0, 0, -2));
    EXPECT_EQ(effect.GetStyleState(0, 0), -1);
    EXPECT_TRUE(log->Contains(L"Shader '" + name + L"', style 'Broken' failed to validate"));
}

TEST_F(ShaderDevice, PassKeysSelectPassesAndMakeTheMask)
{
    ShaderEffect effect(video, scratch.Write("Passes.DCS", R"(<Shader><Style Name="S"/><Technique/>
        <Pass Index="0"/><Fragment VShader="Plain.DCLS" PShader="Flat.DCLS"/>
        <Pass Index="5"/><Fragment VShader="Plain.DCLS" PShader="Flat.DCLS"/><Fragment VShader="Plain.DCLS" PShader="Flat.DCLS"/>
        <Pass Index="37"/></Shader>)"));
    EXPECT_EQ(effect.GetPassMask(0), 0x21u);
    EXPECT_EQ(effect.GetPassMask(StyleKey(L"S")), 0x21u);
    EXPECT_EQ(effect.GetPassMask(StyleKey(L"None")), 0u);
    EXPECT_EQ(effect.GetFragmentCount(5, -2), 2);
    // A key the technique has no pass for draws its first pass.
    EXPECT_EQ(effect.GetFragmentCount(9, -2), 1);
    EXPECT_EQ(effect.GetFragmentCount(37, -2), 0);
    EXPECT_TRUE(effect.ApplyFragment(5, 1, -2));
    EXPECT_FALSE(effect.ApplyFragment(5, 2, -2));
}

TEST_F(ShaderDevice, StylesAreSelectedByNameIndexAndKey)
{
    ShaderEffect effect(video, scratch.Write("Styles.DCS", R"(<Shader><Style Name="Day"/><Style Name="Night"/></Shader>)"));
    EXPECT_EQ(effect.FindStyle(0), -2);
    EXPECT_EQ(effect.FindStyle(StyleKey(L"Night")), 1);
    EXPECT_EQ(effect.FindStyle(StyleKey(L"night")), -1);
    EXPECT_FALSE(effect.SelectStyle(L"night"));
    EXPECT_TRUE(effect.SelectStyle(L"Night"));
    EXPECT_EQ(effect.GetCurrentStyle(), 1);
    EXPECT_TRUE(effect.SelectStyleByKey(StyleKey(L"Day")));
    EXPECT_EQ(effect.GetCurrentStyle(), 0);
    EXPECT_TRUE(effect.SetStyleIndex(1));
    EXPECT_FALSE(effect.SetStyleIndex(2));
    EXPECT_FALSE(effect.SetStyleIndex(-1));
    EXPECT_EQ(effect.GetCurrentStyle(), 1);
}

TEST_F(ShaderDevice, FilesWithoutStylesOrTechniquesDrawNothingSafely)
{
    ScopedCapture log(kLogError);
    const WideString empty = scratch.Write("Empty.DCS", "<Shader/>");
    const WideString bare = scratch.Write("Bare.DCS", R"(<Shader><Style Name="Bare"/></Shader>)");
    for (const WideString& name : {empty, bare, WideString(L"Absent.DCS")}) {
        ShaderEffect effect(video, name);
        EXPECT_FALSE(effect.Validate(0, -2));
        EXPECT_FALSE(effect.Validate(0, 0));
        EXPECT_EQ(effect.ValidateCurrent(), -1);
        EXPECT_EQ(effect.GetFragmentCount(0, -2), 0);
        EXPECT_FALSE(effect.ApplyFragment(0, 0, -2));
        EXPECT_EQ(effect.GetPassMask(0), 0u);
        EXPECT_EQ(effect.GetStyleState(0, 0), -1);
        effect.ChooseTechnique(0);
        effect.ApplyAllFragments();
        EXPECT_EQ(effect.Clone()->GetName(), effect.GetName());
    }
    EXPECT_FALSE(ShaderEffect(video, empty).SetStyleIndex(0));
    EXPECT_TRUE(log->Contains(L"D3D9Video: " + empty + L" has no styles"));
    EXPECT_TRUE(log->Contains(L"D3D9Video: " + bare + L", style 'Bare' has no techniques"));
}

TEST_F(ShaderDevice, EffectsShareTheirFileAndItsProgramsUntilTheLastGoes)
{
    const int32_t filesBefore = GetLoadedStyleFileCount();
    const int32_t programsBefore = GetCachedVertexProgramCount();
    const WideString name = WriteTechniques("Shared.DCS", {1});
    auto first = std::make_unique<ShaderEffect>(video, name);
    std::unique_ptr<ShaderEffect> clone = first->Clone();
    ShaderEffect second(video, name);
    EXPECT_EQ(first->GetStyleFile(), second.GetStyleFile());
    EXPECT_EQ(clone->GetStyleFile(), second.GetStyleFile());
    EXPECT_EQ(second.GetStyleFile()->useCount, 3);
    EXPECT_EQ(GetLoadedStyleFileCount(), filesBefore + 1);
    EXPECT_EQ(GetCachedVertexProgramCount(), programsBefore + 1);
    first.reset();
    clone.reset();
    EXPECT_EQ(GetLoadedStyleFileCount(), filesBefore + 1);
    EXPECT_TRUE(second.Validate(0, -2));
    {
        ShaderEffect last(video, name);
        // The file validated for the other effect already.
        EXPECT_EQ(last.GetStyleState(0, 0), 1);
    }
}

TEST_F(ShaderDevice, TheLastEffectOfAFileReleasesItsPrograms)
{
    const int32_t filesBefore = GetLoadedStyleFileCount();
    const int32_t vertexBefore = GetCachedVertexProgramCount();
    const int32_t pixelBefore = GetCachedPixelProgramCount();
    {
        ShaderEffect effect(video, WriteTechniques("Released.DCS", {1, 2}));
        EXPECT_EQ(GetCachedPixelProgramCount(), pixelBefore + 1);
    }
    EXPECT_EQ(GetLoadedStyleFileCount(), filesBefore);
    EXPECT_EQ(GetCachedVertexProgramCount(), vertexBefore);
    EXPECT_EQ(GetCachedPixelProgramCount(), pixelBefore);
}
