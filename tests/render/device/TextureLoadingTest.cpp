#include "engine/files/ArchiveList.h"
#include "engine/files/ResourceFactory.h"
#include "render/device/Texture2D.h"
#include "render/device/TextureLoader.h"
#include "render/device/TextureLookup.h"
#include "tests/render/device/ScreenQuads.h"
#include "tests/render/device/WindowedDevice.h"
#include "tests/support/CapturingSink.h"
#include "tests/support/Fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

namespace {

// What the fixture writer says level `level` of the texture holds.
std::vector<uint8_t> Expected(const WideString& texture, int32_t level)
{
    WideString name;
    FormatWideString(name, "Expected\\%s.L%d", texture.c_str(), level);
    std::unique_ptr<Stream> in = OpenFile(name);
    std::vector<uint8_t> bytes(static_cast<size_t>(std::max(in->GetSize(), 0)));
    in->Read(bytes.data(), static_cast<int32_t>(bytes.size()));
    return bytes;
}

// The rows of a level as the texture holds them, without the pitch's padding.
std::vector<uint8_t> LevelBytes(TextureResource& texture, int32_t level, int32_t width, int32_t height)
{
    const LevelLayout layout = TextureLevelLayout(texture.GetFormat(), width, height);
    const LockedPixels locked = texture.Lock({0, 0, width, height}, level);
    std::vector<uint8_t> bytes;
    if (!locked.pixels) {
        return bytes;
    }
    const auto* row = static_cast<const uint8_t*>(locked.pixels);
    for (int32_t y = 0; y < layout.rows; ++y, row += locked.pitch) {
        bytes.insert(bytes.end(), row, row + layout.rowBytes);
    }
    texture.Unlock(level);
    return bytes;
}

// 24-bit pixels as a 32-bit texture holds them: each followed by a byte of its own.
bool HoldsTwentyFourBitPixels(const std::vector<uint8_t>& held, const std::vector<uint8_t>& pixels)
{
    if (held.size() != pixels.size() / 3 * 4) {
        return false;
    }
    for (size_t pixel = 0; pixel < pixels.size() / 3; ++pixel) {
        if (std::memcmp(&held[pixel * 4], &pixels[pixel * 3], 3) != 0) {
            return false;
        }
    }
    return true;
}

bool IsPlaceholder(const TextureResource& texture)
{
    return texture.GetImageWidth() == 64.0f && texture.GetImageHeight() == 64.0f && texture.GetName().empty();
}

// A fixture folder mounted as the game mounts its data, with the texture
// folders and loader the engine registers.
class MountedTextures : public WindowedDevice {
protected:
    explicit MountedTextures(const wchar_t* fixture) : mounted_(fixture)
    {
        RegisterTextureLoaders();
        TextureFactory().AddFolder(L"Textures");
        TextureFactory().AddFolder(L"Menu");
    }
    ~MountedTextures() override
    {
        TextureFactory().RemoveFolder(L"Menu");
        TextureFactory().RemoveFolder(L"Textures");
    }

    std::unique_ptr<TextureResource> Load(const WideString& name) { return GetTexture(video, name, nullptr); }

private:
    MountedFixture mounted_;
};

class TextureFiles : public MountedTextures {
protected:
    TextureFiles() : MountedTextures(L"textures") {}
};

class SampleTextures : public MountedTextures {
protected:
    SampleTextures() : MountedTextures(L"sample") {}
};

uint32_t SamplerOf(const TextureResource& texture, uint32_t SamplerStates::*state)
{
    return static_cast<const Texture2D&>(texture).GetSamplerStates().*state;
}

} // namespace

TEST_F(TextureFiles, EveryFormatArrivesLevelByLevelAsWritten)
{
    struct Case {
        const wchar_t* name;
        int32_t format;
        int32_t width;
        int32_t height;
        int32_t levels;
    };
    for (const Case& c : std::initializer_list<Case>{{L"Solid", kTextureArgb32, 4, 4, 1},
                                                    {L"Mipped", kTextureArgb32, 8, 8, 4},
                                                    {L"Dxt1", kTextureDxt1, 16, 16, 5},
                                                    {L"Dxt3", kTextureDxt3, 16, 8, 5},
                                                    {L"Dxt5", kTextureDxt5, 8, 16, 5}}) {
        SCOPED_TRACE(WideStringToNarrow(c.name));
        std::unique_ptr<TextureResource> texture = Load(WideString(c.name) + L".dct");
        ASSERT_NE(texture, nullptr);
        WideString resolved = L"TEXTURES\\" + WideString(c.name) + L".DCT";
        WideStringToUpper(resolved);
        EXPECT_EQ(texture->GetName(), resolved);
        EXPECT_EQ(texture->GetFormat(), c.format);
        EXPECT_EQ(texture->GetImageWidth(), static_cast<float>(c.width));
        ASSERT_EQ(texture->GetLevelCount(), c.levels);
        int32_t width = c.width;
        int32_t height = c.height;
        for (int32_t level = 0; level < c.levels; ++level) {
            const std::vector<uint8_t> expected = Expected(c.name, level);
            ASSERT_FALSE(expected.empty());
            EXPECT_EQ(LevelBytes(*texture, level, width, height), expected)
                << "level " << level;
            width = std::max(width / 2, 1);
            height = std::max(height / 2, 1);
        }
    }
}

// The adapter has no 24-bit textures: the pixels are converted on the way in.
TEST_F(TextureFiles, TwentyFourBitPixelsArriveInTheFormatTheDeviceChose)
{
    std::unique_ptr<TextureResource> texture = Load(L"Rgb.DCT");
    ASSERT_EQ(texture->GetFormat(), kTextureXrgb32);
    EXPECT_TRUE(HoldsTwentyFourBitPixels(LevelBytes(*texture, 0, 8, 4), Expected(L"Rgb", 0)));
}

TEST_F(TextureFiles, DrawnIntoARenderTargetTheTexelsComeBackByteForByte)
{
    std::unique_ptr<TextureResource> texture = Load(L"Solid.DCT");
    texture->SetFiltering(false);
    texture->SetMipmapping(false);
    std::unique_ptr<TextureResource> target =
        video.CreateTexture({kTextureArgb32, kTextureKind2D, 4, 4, 4, 4, 1, false, true, false});
    ScreenQuads quads(video, 1);
    quads.Set(0, 0, 0, 4, 4, 0.5f);
    FixedFunctionEffect effect(video);
    effect.textured = true;

    video.SetRenderTarget(target.get());
    video.BeginFrame();
    quads.Bind(video);
    video.SetTexture(0, texture.get());
    video.SetShader(&effect, 0, 0);
    quads.Draw(video, 0);
    video.EndFrame();
    video.SetRenderTarget(nullptr);

    std::vector<uint32_t> pixels;
    ASSERT_TRUE(video.ReadRenderTarget(*target, pixels));
    const std::vector<uint8_t> expected = Expected(L"Solid", 0);
    ASSERT_EQ(pixels.size() * 4, expected.size());
    EXPECT_EQ(std::memcmp(pixels.data(), expected.data(), expected.size()), 0);
    // Only 32-bit textures are read back.
    EXPECT_FALSE(video.ReadRenderTarget(*Load(L"Dxt1.DCT"), pixels));
    EXPECT_TRUE(pixels.empty());
}

TEST_F(TextureFiles, AskingTwiceSharesThePixelsOfOneFile)
{
    std::unique_ptr<TextureResource> first = Load(L"Solid.DCT");
    std::unique_ptr<TextureResource> second = Load(L"SOLID.DCT");
    ASSERT_NE(first, second);
    EXPECT_EQ(static_cast<Texture2D&>(*first).GetDeviceTexture(), static_cast<Texture2D&>(*second).GetDeviceTexture());
    EXPECT_EQ(second->GetName(), L"TEXTURES\\SOLID.DCT");
    EXPECT_EQ(second->GetFormat(), first->GetFormat());
    ASSERT_EQ(video.GetTextureCache().size(), 1u);
    EXPECT_EQ(video.GetTextureCache()[0].textures.size(), 2u);

    first.reset();
    EXPECT_EQ(LevelBytes(*second, 0, 4, 4), Expected(L"Solid", 0));
    second.reset();
    EXPECT_TRUE(video.GetTextureCache().empty());
}

TEST_F(TextureFiles, MissingNamesGetOneSharedCheckerboard)
{
    ScopedCapture log;
    std::unique_ptr<TextureResource> first = Load(L"Nope.DCT");
    std::unique_ptr<TextureResource> second = Load(L"Nope.DCT");
    EXPECT_EQ(std::count(log->lines.begin(), log->lines.end(), L"TextureFactory: Texture ^1Nope.DCT^7 not found!"), 2);
    ASSERT_TRUE(IsPlaceholder(*first));
    ASSERT_TRUE(IsPlaceholder(*second));
    EXPECT_EQ(static_cast<Texture2D&>(*first).GetDeviceTexture(), static_cast<Texture2D&>(*second).GetDeviceTexture());
    ASSERT_EQ(video.GetTextureCache().size(), 1u);
    EXPECT_EQ(video.GetTextureCache()[0].name, L"Nope.DCT");

    // Texel (x, y) is white where x + y is odd.
    ASSERT_EQ(first->GetFormat(), kTextureXrgb32);
    const LockedPixels locked = first->Lock({0, 0, 64, 64}, 0);
    ASSERT_NE(locked.pixels, nullptr);
    const auto texel = [&](int32_t x, int32_t y) {
        const auto* row = static_cast<const uint8_t*>(locked.pixels) + y * locked.pitch;
        return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
    };
    EXPECT_EQ(texel(0, 0), 0u);
    EXPECT_EQ(texel(1, 0), 0xFFFFFFu);
    EXPECT_EQ(texel(63, 62), 0xFFFFFFu);
    EXPECT_EQ(texel(63, 63), 0u);
    first->Unlock(0);
}

TEST_F(TextureFiles, DamagedFilesAreRefusedAndTheCheckerboardStandsIn)
{
    struct Case {
        const wchar_t* name;
        const wchar_t* message;
    };
    for (const Case& c : std::initializer_list<Case>{
             {L"Short.DCT", L"TEXTURES\\SHORT.DCT is not a valid texture"},
             {L"BadMagic.DCT", L"TEXTURES\\BADMAGIC.DCT is not a valid texture"},
             {L"BadVersion.DCT", L"TEXTURES\\BADVERSION.DCT is not a valid texture"},
             {L"Multi.DCT", L"Multiframe texture TEXTURES\\MULTI.DCT is not supported"},
             {L"BadCode.DCT", L"TEXTURES\\BADCODE.DCT contains errors"},
             {L"WrongCount.DCT", L"TEXTURES\\WRONGCOUNT.DCT contains errors"},
             {L"Truncated.DCT", L"TEXTURES\\TRUNCATED.DCT contains errors"},
             {L"WrongLevelSize.DCT", L"TEXTURES\\WRONGLEVELSIZE.DCT contains errors"},
             {L"TooManyLevels.DCT", L"TEXTURES\\TOOMANYLEVELS.DCT contains errors"},
             {L"HugeLevels.DCT", L"TEXTURES\\HUGELEVELS.DCT contains errors"},
             {L"NoSize.DCT", L"TEXTURES\\NOSIZE.DCT contains errors"},
             {L"ImageBeyondTexture.DCT", L"TEXTURES\\IMAGEBEYONDTEXTURE.DCT contains errors"},
             {L"Plain.TGA", L"TextureFactory: Texture Plain.TGA cannot be decoded!"}}) {
        SCOPED_TRACE(WideStringToNarrow(c.name));
        ScopedCapture log;
        std::unique_ptr<TextureResource> texture = Load(c.name);
        ASSERT_NE(texture, nullptr);
        EXPECT_TRUE(IsPlaceholder(*texture));
        EXPECT_TRUE(log->Contains(c.message));
    }
}

TEST_F(TextureFiles, SizesThatWrapBadlyAreClampedAndBiasIsStoredSharper)
{
    std::unique_ptr<TextureResource> wide = Load(L"Wide.DCT");
    EXPECT_EQ(wide->GetImageWidth(), 100.0f);
    EXPECT_EQ(SamplerOf(*wide, &SamplerStates::addressU), static_cast<uint32_t>(D3DTADDRESS_CLAMP));
    EXPECT_EQ(SamplerOf(*wide, &SamplerStates::addressV), static_cast<uint32_t>(D3DTADDRESS_CLAMP));
    EXPECT_EQ(SamplerOf(*wide, &SamplerStates::mipFilter), static_cast<uint32_t>(D3DTEXF_NONE));
    EXPECT_EQ(LevelBytes(*wide, 0, 100, 20), Expected(L"Wide", 0));

    std::unique_ptr<TextureResource> power = Load(L"PowerOfTwo.DCT");
    EXPECT_EQ(SamplerOf(*power, &SamplerStates::addressU), static_cast<uint32_t>(D3DTADDRESS_WRAP));
    EXPECT_EQ(SamplerOf(*power, &SamplerStates::mipFilter), static_cast<uint32_t>(D3DTEXF_LINEAR));

    std::unique_ptr<TextureResource> biased = Load(L"Biased.DCT");
    EXPECT_EQ(static_cast<Texture2D&>(*biased).GetSamplerStates().mipLodBias, 0.0f);
}

TEST_F(TextureFiles, MenuTexturesComeFirstAndPackedOnesAreFound)
{
    std::unique_ptr<TextureResource> both = Load(L"Both.DCT");
    EXPECT_EQ(both->GetName(), L"MENU\\BOTH.DCT");
    EXPECT_NE(LevelBytes(*both, 0, 4, 4), Expected(L"Both", 0));
    std::unique_ptr<TextureResource> packed = Load(L"Packed.DCT");
    EXPECT_FALSE(IsPlaceholder(*packed));
    EXPECT_EQ(packed->GetName(), L"TEXTURES\\PACKED.DCT");
}

TEST_F(SampleTextures, EveryGeneratedTextureArrivesAsItWasDrawn)
{
    std::vector<WideString> names;
    for (const wchar_t* folder : {L"Textures\\*.DCT", L"Menu\\*.DCT"}) {
        const std::vector<WideString> found = ListFiles(folder);
        names.insert(names.end(), found.begin(), found.end());
    }
    ASSERT_GE(names.size(), 5u);
    for (const WideString& name : names) {
        SCOPED_TRACE(WideStringToNarrow(name));
        std::unique_ptr<TextureResource> texture = Load(name);
        ASSERT_FALSE(IsPlaceholder(*texture));
        const int32_t width = static_cast<int32_t>(texture->GetImageWidth());
        const int32_t height = static_cast<int32_t>(texture->GetImageHeight());
        const std::vector<uint8_t> expected = Expected(name.substr(0, name.size() - 4), 0);
        const std::vector<uint8_t> held = LevelBytes(*texture, 0, width, height);
        ASSERT_FALSE(held.empty());
        EXPECT_TRUE(held == expected || HoldsTwentyFourBitPixels(held, expected));
    }
}

TEST(LoaderList, FindsByUpperCasedEndingAndNamesWhatNoLoaderTakes)
{
    ResourceFactory factory("TestFactory", "Thing");
    ScopedCapture log;
    EXPECT_EQ(LoaderList::FindByExtension(factory, L"a.dct"), nullptr);
    EXPECT_TRUE(log->lines.empty());

    class NamedLoader : public ResourceLoader {
    public:
        using ResourceLoader::ResourceLoader;
    };
    factory.Loaders().Append(std::make_unique<NamedLoader>(std::initializer_list<const wchar_t*>{L".ONE"}));
    factory.Loaders().Append(std::make_unique<NamedLoader>(std::initializer_list<const wchar_t*>{L".TWO", L".ONE"}));
    ResourceLoader* one = LoaderList::FindByExtension(factory, L"x.one");
    ResourceLoader* two = LoaderList::FindByExtension(factory, L"Folder\\x.Two");
    ASSERT_NE(one, nullptr);
    ASSERT_NE(two, nullptr);
    EXPECT_EQ(one->Extensions().front(), L".ONE");
    EXPECT_EQ(two->Extensions().front(), L".TWO");
    EXPECT_EQ(LoaderList::FindByExtension(factory, L"x.three"), nullptr);
    EXPECT_TRUE(log->Contains(L"TestFactory: Thing x.three cannot be decoded!"));
}
