#include "engine/core/dcEngine.h"
#include "engine/core/dcWindow.h"
#include "engine/files/ResourceFactory.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <windows.h>

// What exists before the program starts is empty: the engine fills it, and
// empties it again as it shuts down.
TEST(StaticObjects, FactoriesHaveFoldersOnlyWhileTheEngineRuns)
{
    struct Case {
        ResourceFactory& factory;
        const wchar_t* name;
        const wchar_t* kind;
        std::vector<WideString> foldersAfterInit;
    };
    const std::vector<Case> cases = {
        {TextureFactory(), L"TextureFactory", L"Texture", {L"Textures", L"Menu"}},
        {ShaderFactory(), L"ShaderFactory", L"Shader", {L"Shaders"}},
        {SoundFactory(), L"SoundFactory", L"Sound", {L"Audio"}},
        {ModelResourceFactory(), L"ResourceFactory", L"Resource", {L"Models"}},
        {SkinnedModelResourceFactory(), L"ResourceFactory", L"Resource", {}},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(c.factory.Folders().empty()) << WideStringToNarrow(c.name);
        EXPECT_EQ(c.factory.Name(), c.name);
        EXPECT_EQ(c.factory.Kind(), c.kind);
    }

    ScratchFolder scratch;
    dcEngine& engine = dcEngine::Instance();
    engine.Init(0);
    for (const Case& c : cases) {
        EXPECT_EQ(c.factory.Folders(), c.foldersAfterInit) << WideStringToNarrow(c.name);
    }
    engine.Shutdown();
    for (const Case& c : cases) {
        EXPECT_TRUE(c.factory.Folders().empty()) << WideStringToNarrow(c.name);
    }
}

TEST(StaticObjects, TheGameWindowCarriesTheEnginesClassName)
{
    dcWindow window(L"Varnholt", {0, 0, 320, 240}, false);
    wchar_t className[64] = {};
    GetClassNameW(window.GetHandle(), className, 64);
    EXPECT_STREQ(className, L"dcEngine Application");
    wchar_t title[64] = {};
    GetWindowTextW(window.GetHandle(), title, 64);
    EXPECT_STREQ(title, L"Varnholt");
}
