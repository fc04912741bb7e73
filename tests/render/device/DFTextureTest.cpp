#include "render/device/DFTexture.h"
#include "render/device/Texture2D.h"
#include "render/device/TextureLookup.h"
#include "render/models/Camera.h"
#include "tests/render/device/ScreenQuads.h"
#include "tests/render/device/WindowedDevice.h"
#include "tests/support/CapturingSink.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <numbers>
#include <string>

namespace {

// A component that knows the items the test gives it and hands out their
// pictures; it changes a picture in place, as the real one does, and keeps
// the screen areas its items hear of.
class FakeDFEngine : public DFEngine {
public:
    struct Picture {
        int32_t width;
        int32_t height;
        int32_t pixelFormat;
        std::vector<uint8_t> pixels;
    };

    class Item final : public DFEngineItem {
    public:
        explicit Item(const Picture& picture) : picture(picture) {}
        void ReportScreenArea(int32_t reserved, int32_t* area) override
        {
            EXPECT_EQ(reserved, 0);
            reportedAreas.push_back(*area);
        }
        void GetImage(DFImage& image) override
        {
            image.width = picture.width;
            image.height = picture.height;
            image.format = picture.pixelFormat;
            image.pixels = picture.pixels.data();
            image.hasNewPixels = hasNewPixels;
        }

        Picture picture;
        uint8_t hasNewPixels = 0;
        std::vector<int32_t> reportedAreas;
    };

    int32_t Init(int32_t, const char*) override { return 0; }
    void Shutdown() override {}
    int32_t GetItem(const char* name, DFEngineItem** item) override
    {
        asked.push_back(name);
        const auto found = pictures.find(name);
        if (found == pictures.end()) {
            return -1;
        }
        handedOut[name].push_back(std::make_unique<Item>(found->second));
        *item = handedOut[name].back().get();
        return 0;
    }
    void ReleaseItem(DFEngineItem* item) override { released.push_back(item); }
    void PreShutdown(int32_t) override {}
    void Update(float) override {}
    void EnterZone(const char*) override {}
    void PreEnterZone(int32_t, float) override {}

    // A new picture for every item handed out under the name.
    void Change(const std::string& name, Picture picture)
    {
        pictures[name] = std::move(picture);
        for (const std::unique_ptr<Item>& item : handedOut[name]) {
            item->picture = pictures[name];
            item->hasNewPixels = 1;
        }
    }

    std::map<std::string, Picture> pictures;
    std::map<std::string, std::vector<std::unique_ptr<Item>>> handedOut;
    std::vector<std::string> asked;
    std::vector<DFEngineItem*> released;
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
    EXPECT_EQ(DFEntryOf(*texture), nullptr);
    texture.reset();

    texture = Load(L"DFS_Poster.DCT");
    ASSERT_NE(texture, nullptr);
    ASSERT_NE(DFEntryOf(*texture), nullptr);
    EXPECT_EQ(DFEntryOf(*texture)->GetName(), L"DFS_Poster.DCT");
    EXPECT_EQ(DFEntryOf(*texture)->GetFormat(), kTextureRgb24);
    EXPECT_FLOAT_EQ(DFEntryOf(*texture)->GetDebugColor().a, 128.0f / 255.0f);
    EXPECT_EQ(texture->GetImageWidth(), 2.0f);
    EXPECT_EQ(Shades(*texture, 2, 2), (std::vector<uint8_t>{0x10, 0x80, 0x10, 0x80}));
    ASSERT_EQ(video.GetTextureCache().size(), 1u);
    EXPECT_EQ(video.GetTextureCache()[0].name, L"DFS_Poster.DCT");

    DFEngineItem* item = component.handedOut["DFS_Poster"].front().get();
    texture.reset();
    EXPECT_EQ(component.released, (std::vector<DFEngineItem*>{item}));
    EXPECT_TRUE(video.GetTextureCache().empty());
}

TEST_F(DFTextures, UnknownItemsAreLookedUpAsFiles)
{
    ScopedCapture log;
    std::unique_ptr<TextureResource> texture = Load(L"DFD_Unknown.DCT");
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(DFEntryOf(*texture), nullptr);
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
    EXPECT_NE(DFEntryOf(*second), DFEntryOf(*first));
    EXPECT_EQ(static_cast<Texture2D&>(*first).GetDeviceTexture(), static_cast<Texture2D&>(*second).GetDeviceTexture());
    // Not read again: still the first picture.
    EXPECT_EQ(Shades(*second, 2, 2), (std::vector<uint8_t>{0x10, 0x80, 0x10, 0x80}));
    EXPECT_EQ(video.GetTextureCache().size(), 2u);
}

TEST_F(DFTextures, OnlyDrawnItemsAreReadAgainAtPresentation)
{
    std::unique_ptr<TextureResource> texture = Load(L"DFS_Poster.DCT");
    DFTexture& entry = *DFEntryOf(*texture);
    const std::vector<int32_t>& reported = component.handedOut["DFS_Poster"].front()->reportedAreas;
    ScreenQuads quads(video, 1);
    FixedFunctionEffect effect(video);
    quads.Set(0, 0, 0, 10, 10, 0.5f);
    quads.Bind(video);
    video.SetShader(&effect, 0, 0);

    // Changed but not drawn: the presentation leaves it.
    component.Change("DFS_Poster", Halves(2, 2, 0x20, 0x40));
    video.Present();
    EXPECT_EQ(Shades(*texture, 2, 2), (std::vector<uint8_t>{0x10, 0x80, 0x10, 0x80}));

    // Drawn three times in a frame with nothing to measure: area 0, once.
    video.BeginFrame();
    video.SetTexture(0, texture.get());
    for (int i = 0; i < 3; ++i) {
        quads.Draw(video, 0);
    }
    video.EndFrame();
    EXPECT_TRUE(entry.IsDirty());
    EXPECT_EQ(reported, (std::vector<int32_t>{0}));
    const int32_t frame = entry.GetLastFrame();
    video.Present();
    EXPECT_FALSE(entry.IsDirty());
    EXPECT_EQ(Shades(*texture, 2, 2), (std::vector<uint8_t>{0x20, 0x40, 0x20, 0x40}));

    // The same frame again: nothing more to report. The next one reports again.
    ReportDFScreenAreas(video, frame);
    EXPECT_FALSE(entry.IsDirty());
    ReportDFScreenAreas(video, frame + 1);
    EXPECT_TRUE(entry.IsDirty());
    EXPECT_EQ(reported, (std::vector<int32_t>{0, 0}));

    // A new effect binds its own textures: this one is no longer reported.
    video.SetShader(&effect, 0, 0);
    video.Present();
    ReportDFScreenAreas(video, frame + 2);
    EXPECT_FALSE(entry.IsDirty());
}

// The item may have changed size since the texture was made: its picture is
// read with its own row length and fitted to the texture.
TEST_F(DFTextures, RefreshReadsTheItemAtItsCurrentSize)
{
    std::unique_ptr<TextureResource> texture = Load(L"DFS_Poster.DCT");
    component.Change("DFS_Poster", Halves(4, 4, 0x30, 0x90));
    NoteBoundDFTexture(*DFEntryOf(*texture));
    ReportDFScreenAreas(video, 12345);
    video.Present();
    EXPECT_EQ(Shades(*texture, 2, 2), (std::vector<uint8_t>{0x30, 0x90, 0x30, 0x90}));

    // After a zone change every item is read, drawn or not.
    component.Change("DFS_Poster", Halves(2, 2, 0x50, 0x60));
    RefreshDFTextures();
    EXPECT_EQ(Shades(*texture, 2, 2), (std::vector<uint8_t>{0x50, 0x60, 0x50, 0x60}));
    ForgetBoundDFTextures();
}

// With a camera the item hears how many viewport pixels the measured object
// covers, at most the whole viewport, by the first draw of a frame that
// covers more than a thousandth of the viewport.
TEST_F(DFTextures, ItemsHearTheMeasuredObjectsScreenArea)
{
    std::unique_ptr<TextureResource> texture = Load(L"DFS_Poster.DCT");
    DFTexture& entry = *DFEntryOf(*texture);
    const std::vector<int32_t>& reported = component.handedOut["DFS_Poster"].front()->reportedAreas;
    ASSERT_EQ(video.GetViewportWidth(), 800);
    ASSERT_EQ(video.GetViewportHeight(), 600);
    Camera camera;
    camera.SetFov(std::numbers::pi_v<float> / 2.0f);
    camera.SetViewport({0, 0, 800, 600});
    camera.Update();
    // Ten units in front of this camera a unit spans 30 pixels.
    const auto boxOnScreen = [](float width, float height) {
        return BoundingBox{{0.0f, 0.0f, -10.0f}, {width / 60.0f, height / 60.0f, 0.0f}};
    };
    NoteBoundDFTexture(entry);

    struct Case {
        float width;
        float height;
        int32_t area;   // 0: not reported
    };
    int32_t frame = 100;
    for (const Case& c : {Case{400.0f, 300.0f, 120000}, Case{40.0f, 24.0f, 960}, Case{20.0f, 12.0f, 0},
                          Case{3000.0f, 3000.0f, 800 * 600}}) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        const size_t before = reported.size();
        video.SetMeasuredObject(&camera, boxOnScreen(c.width, c.height));
        ReportDFScreenAreas(video, ++frame);
        ReportDFScreenAreas(video, frame);
        EXPECT_EQ(entry.IsDirty(), c.area > 0);
        ASSERT_EQ(reported.size(), before + (c.area > 0 ? 1 : 0));
        if (c.area > 0) {
            EXPECT_NEAR(reported.back(), c.area, c.area / 1000);
        }
        RefreshDrawnDFTextures();
    }

    // Too small first, then large enough in the same frame: reported once, by the latter.
    const size_t before = reported.size();
    ReportDFScreenAreas(video, ++frame);
    video.SetMeasuredObject(&camera, boxOnScreen(400.0f, 300.0f));
    ReportDFScreenAreas(video, frame);
    ReportDFScreenAreas(video, frame);
    EXPECT_EQ(reported.size(), before + 1);

    video.SetMeasuredObject(nullptr, {});
    ForgetBoundDFTextures();
}
