#include "render/device/DFTexture.h"
#include "render/device/Texture2D.h"
#include "render/device/TextureLookup.h"
#include "tests/render/device/ScreenQuads.h"
#include "tests/render/device/WindowedDevice.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// A component that knows the items the test gives it and hands out their
// pictures; it changes a picture in place, as the real one does.
class FakeDFEngine : public DFEngine {
public:
    struct Picture {
        int32_t width;
        int32_t height;
        int32_t pixelFormat;
        std::vector<uint8_t> pixels;
    };

    int32_t Init(int32_t, const char*) override { return 0; }
    void Shutdown() override {}
    int32_t GetItem(const char* name, DFItem* item) override
    {
        asked.push_back(name);
        const auto found = pictures.find(name);
        if (found == pictures.end()) {
            return -1;
        }
        Show(*item, found->second, 0);
        handedOut[name].push_back(item);
        return 0;
    }
    void ReleaseItem(DFItem* item) override { released.push_back(item); }
    void PreShutdown(int32_t) override {}
    void Update(float) override {}
    void EnterZone(const char*) override {}
    void PreEnterZone(int32_t, float) override {}

    // A new picture for every item handed out under the name.
    void Change(const std::string& name, Picture picture)
    {
        pictures[name] = std::move(picture);
        for (DFItem* item : handedOut[name]) {
            Show(*item, pictures[name], 1);
        }
    }

    std::map<std::string, Picture> pictures;
    std::map<std::string, std::vector<DFItem*>> handedOut;
    std::vector<std::string> asked;
    std::vector<DFItem*> released;

private:
    static void Show(DFItem& item, const Picture& picture, int32_t changed)
    {
        item.width = picture.width;
        item.height = picture.height;
        item.pixelFormat = picture.pixelFormat;
        item.pixels = picture.pixels.data();
        item.changed = changed;
    }
};

// 24-bit pixels (B, G, R), left half one colour and right half another.
FakeDFEngine::Picture Halves(int32_t width, int32_t height, uint8_t left, uint8_t right)
{
    FakeDFEngine::Picture picture{width, height, 0, {}};
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t shade = x < width / 2 ? left : right;
            picture.pixels.insert(picture.pixels.end(), {shade, shade, shade});
        }
    }
    return picture;
}

class DFTextures : public WindowedDevice {
protected:
    DFTextures() { component.pictures["DFS_Poster"] = Halves(2, 2, 0x10, 0x80); }

    std::unique_ptr<TextureResource> Load(const WideString& name) { return GetTexture(video, name, &component); }

    // The low byte of each texel of a 32-bit level.
    static std::vector<uint8_t> Shades(TextureResource& texture, int32_t width, int32_t height)
    {
        std::vector<uint8_t> shades;
        const LockedPixels locked = texture.Lock({0, 0, width, height}, 0);
        for (int32_t y = 0; locked.pixels && y < height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(locked.pixels) + y * locked.pitch);
            for (int32_t x = 0; x < width; ++x) {
                shades.push_back(static_cast<uint8_t>(row[x]));
            }
        }
        texture.Unlock(0);
        return shades;
    }

    FakeDFEngine component;
};

} // namespace

TEST_F(DFTextures, KnownItemsShowTheirPicture)
{
    // The prefix is found whatever its case; the item keeps the name's case,
    // and one the component does not know is looked for as a file.
    std::unique_ptr<TextureResource> texture = Load(L"dfs_Poster.DCT");
    EXPECT_EQ(component.asked, (std::vector<std::string>{"dfs_Poster"}));
    EXPECT_EQ(texture->GetDFEntry(), nullptr);
    texture.reset();

    texture = Load(L"DFS_Poster.DCT");
    ASSERT_NE(texture, nullptr);
    ASSERT_NE(texture->GetDFEntry(), nullptr);
    EXPECT_EQ(texture->GetDFEntry()->GetName(), L"DFS_Poster.DCT");
    EXPECT_EQ(texture->GetDFEntry()->GetFormat(), kTextureRgb24);
    EXPECT_FLOAT_EQ(texture->GetDFEntry()->GetDebugColor().a, 128.0f / 255.0f);
    EXPECT_EQ(texture->GetImageWidth(), 2.0f);
    EXPECT_EQ(Shades(*texture, 2, 2), (std::vector<uint8_t>{0x10, 0x80, 0x10, 0x80}));
    ASSERT_EQ(video.GetTextureCache().size(), 1u);
    EXPECT_EQ(video.GetTextureCache()[0].name, L"DFS_Poster.DCT");

    DFItem* item = component.handedOut["DFS_Poster"].front();
    texture.reset();
    EXPECT_EQ(component.released, (std::vector<DFItem*>{item}));
    EXPECT_TRUE(video.GetTextureCache().empty());
}

TEST_F(DFTextures, UnknownItemsAreLookedUpAsFiles)
{
    ScopedCapture log;
    std::unique_ptr<TextureResource> texture = Load(L"DFD_Unknown.DCT");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->GetDFEntry(), nullptr);
    EXPECT_TRUE(log->Contains(L"TextureFactory: Texture ^1DFD_Unknown.DCT^7 not found!"));
    EXPECT_TRUE(component.released.empty());

    component.pictures["DFS_Odd"] = {2, 2, 7, std::vector<uint8_t>(16)};
    EXPECT_EQ(Load(L"DFS_Odd.DCT"), nullptr);
    EXPECT_TRUE(log->Contains(L"Unknown DF format 7"));
    EXPECT_EQ(component.released.size(), 1u);
}

TEST_F(DFTextures, ASecondTextureOfTheItemSharesTheFirstsPixels)
{
    std::unique_ptr<TextureResource> first = Load(L"DFS_Poster.DCT");
    component.Change("DFS_Poster", Halves(2, 2, 0xFF, 0xFF));
    std::unique_ptr<TextureResource> second = Load(L"DFS_Poster.DCT");
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second->GetDFEntry(), first->GetDFEntry());
    EXPECT_EQ(static_cast<Texture2D&>(*first).GetDeviceTexture(), static_cast<Texture2D&>(*second).GetDeviceTexture());
    // Not read again: still the first picture.
    EXPECT_EQ(Shades(*second, 2, 2), (std::vector<uint8_t>{0x10, 0x80, 0x10, 0x80}));
    EXPECT_EQ(video.GetTextureCache().size(), 2u);
}

TEST_F(DFTextures, OnlyDrawnItemsAreReadAgainAtPresentation)
{
    std::unique_ptr<TextureResource> texture = Load(L"DFS_Poster.DCT");
    DFTexture& entry = *texture->GetDFEntry();
    ScreenQuads quads(video, 1);
    FixedFunctionEffect effect(video);
    quads.Set(0, 0, 0, 10, 10, 0.5f);
    quads.Bind(video);
    video.SetShader(&effect, 0, 0);

    // Changed but not drawn: the presentation leaves it.
    component.Change("DFS_Poster", Halves(2, 2, 0x20, 0x40));
    video.Present();
    EXPECT_EQ(Shades(*texture, 2, 2), (std::vector<uint8_t>{0x10, 0x80, 0x10, 0x80}));

    // Drawn three times in a frame: seen once.
    video.BeginFrame();
    video.SetTexture(0, texture.get());
    for (int i = 0; i < 3; ++i) {
        quads.Draw(video, 0);
    }
    video.EndFrame();
    EXPECT_TRUE(entry.IsDirty());
    const int32_t frame = entry.GetLastFrame();
    video.Present();
    EXPECT_FALSE(entry.IsDirty());
    EXPECT_EQ(Shades(*texture, 2, 2), (std::vector<uint8_t>{0x20, 0x40, 0x20, 0x40}));

    // The same frame again: nothing more to report. The next one reports again.
    ReportDFScreenAreas(frame);
    EXPECT_FALSE(entry.IsDirty());
    ReportDFScreenAreas(frame + 1);
    EXPECT_TRUE(entry.IsDirty());

    // A new effect binds its own textures: this one is no longer reported.
    video.SetShader(&effect, 0, 0);
    video.Present();
    ReportDFScreenAreas(frame + 2);
    EXPECT_FALSE(entry.IsDirty());
}

// The item may have changed size since the texture was made: its picture is
// read with its own row length and fitted to the texture.
TEST_F(DFTextures, RefreshReadsTheItemAtItsCurrentSize)
{
    std::unique_ptr<TextureResource> texture = Load(L"DFS_Poster.DCT");
    component.Change("DFS_Poster", Halves(4, 4, 0x30, 0x90));
    NoteBoundDFTexture(*texture->GetDFEntry());
    ReportDFScreenAreas(12345);
    video.Present();
    EXPECT_EQ(Shades(*texture, 2, 2), (std::vector<uint8_t>{0x30, 0x90, 0x30, 0x90}));

    // After a zone change every item is read, drawn or not.
    component.Change("DFS_Poster", Halves(2, 2, 0x50, 0x60));
    RefreshDFTextures();
    EXPECT_EQ(Shades(*texture, 2, 2), (std::vector<uint8_t>{0x50, 0x60, 0x50, 0x60}));
    ForgetBoundDFTextures();
}
