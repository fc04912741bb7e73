#include "engine/files/ResourceFactory.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

TEST(ResourceFactory, ResolvesThroughTheLastAddedFolderFirst)
{
    MountedFixture fixture(L"sources");
    ResourceFactory textures("TextureFactory", "Texture");
    textures.AddFolder(L"Textures");
    textures.AddFolder(L"Menu");
    struct Case {
        const wchar_t* name;
        const wchar_t* resolved;
    };
    for (const Case& c : std::initializer_list<Case>{
             {L"Textures\\sky.dct", L"Textures\\sky.dct"},   // exists as written: unchanged
             {L"sky.dct", L"TEXTURES\\SKY.DCT"},
             {L"Both.DCT", L"MENU\\BOTH.DCT"},
             {L"Loading1.DCT", L"MENU\\LOADING1.DCT"}}) {
        EXPECT_EQ(textures.Resolve(c.name, true), c.resolved) << WideStringToNarrow(c.name);
    }

    textures.RemoveLastFolder();
    EXPECT_EQ(textures.Resolve(L"Both.DCT", false), L"TEXTURES\\BOTH.DCT");
    textures.RemoveFolder(L"Textures");
    EXPECT_EQ(textures.Resolve(L"sky.dct", false), L"");
}

TEST(ResourceFactory, MissesAreLoggedOnlyWhenAsked)
{
    MountedFixture fixture(L"sources");
    ScopedCapture log(kLogVerbose);
    EXPECT_EQ(TextureFactory().Resolve(L"Foo.DCT", false), L"");
    EXPECT_TRUE(log->lines.empty());
    EXPECT_EQ(TextureFactory().Resolve(L"Foo.DCT", true), L"");
    EXPECT_EQ(ModelResourceFactory().Resolve(L"Car.DCM", true), L"");
    EXPECT_EQ(log->lines, (std::vector<WideString>{L"TextureFactory: Texture ^1Foo.DCT^7 not found!",
                                                   L"ResourceFactory: Resource ^1Car.DCM^7 not found!"}));
}
