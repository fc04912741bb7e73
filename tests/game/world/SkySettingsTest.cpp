// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "engine/core/ProgramState.h"
#include "game/world/SkySettings.h"
#include "render/models/Model.h"
#include "tests/support/CapturingSink.h"

#include <filesystem>

namespace {

const Vec3 kSunOfFlareFile = {0.0f, 0.6f, -0.8f};
const Vec3 kSunWithoutFlare = {0.0f, 0.0f, -1.0f};

class SkySettingsTest : public GameTest {
protected:
    SkySettingsTest()
    {
        std::filesystem::copy(FixturePath(L"skies").c_str(), std::filesystem::current_path(),
                              std::filesystem::copy_options::recursive);
    }

    static std::vector<WideString> SkyFileLines(const CapturingSink& log)
    {
        std::vector<WideString> lines;
        for (const WideString& line : log.lines) {
            if (line.find(L".VKS") != WideString::npos) {
                lines.push_back(line);
            }
        }
        return lines;
    }
};

void ExpectVec3(const Vec3& actual, const Vec3& expected, const std::string& what)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-6f) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-6f) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-6f) << what;
}

void ExpectColour(const float* actual, std::initializer_list<float> expected, const std::string& what)
{
    int32_t i = 0;
    for (float value : expected) {
        EXPECT_NEAR(actual[i++], value, 1e-6f) << what << " component " << i;
    }
}

} // namespace

TEST_F(SkySettingsTest, TheDefaultSkyHasWhiteLightsOfFullIntensityAndNoFolder)
{
    SkySettings sky;
    EXPECT_EQ(sky.GetModel(), nullptr);
    EXPECT_TRUE(sky.GetFolder().empty());
    EXPECT_FALSE(sky.IsFlareOn());
    ExpectVec3(sky.GetSunDirection(), {0.0f, 0.0f, 0.0f}, "sun");
    for (SkyLightSet* set : {&sky.GetStaticLights(), &sky.GetDynamicLights()}) {
        for (const SkyLight& light : *set) {
            EXPECT_EQ(light.intensity, 1.0f);
            EXPECT_EQ(light.orientation.w, 1.0f);
            ExpectColour(light.ambient, {1.0f, 1.0f, 1.0f, 1.0f}, "ambient");
            ExpectColour(light.diffuse, {1.0f, 1.0f, 1.0f, 1.0f}, "diffuse");
            ExpectColour(light.specular, {1.0f, 1.0f, 1.0f, 1.0f}, "specular");
        }
    }
    EXPECT_TRUE(sky.GetLightList().empty());
    EXPECT_EQ(sky.GetFog().range, 1.0f);
    ExpectColour(sky.GetFog().colour, {1.0f, 1.0f, 1.0f, 1.0f}, "fog");
    EXPECT_EQ(sky.GetFog().intensity, 1.0f);
    EXPECT_FALSE(sky.HasCarLights());
}

// The fixtures mark what was read: static lights of intensity 0.5, fog range
// 2 (version 1 only), dynamic lights of intensity 0.75; defaults are all 1.
TEST_F(SkySettingsTest, EachFileCountsOnlyWhenWholeForItsVersion)
{
    struct Case {
        const wchar_t* sky;
        bool flareOn;
        float staticIntensity;
        float fogRange;
        float dynamicIntensity;
        bool lightsListed;   // and the car lights file looked at
        const wchar_t* logged;
    };
    for (const Case& c : std::initializer_list<Case>{
             {L"Whole", true, 0.5f, 2.0f, 0.75f, true, nullptr},
             {L"Version0", true, 0.5f, 1.0f, 0.75f, true, nullptr},
             // The fog block after the lights of any version but 1 is left unread.
             {L"Version2", true, 0.5f, 1.0f, 0.75f, true, nullptr},
             {L"Version2Short", true, 0.5f, 1.0f, 0.75f, true, nullptr},
             {L"FogCut", true, 1.0f, 1.0f, 1.0f, false,
              L"Skies\\FogCut\\Lighting.VKS is 234 bytes, shorter than the 235 its version needs: ignored"},
             {L"LightsCut", true, 1.0f, 1.0f, 1.0f, false,
              L"Skies\\LightsCut\\Lighting.VKS is 210 bytes, shorter than the 211 its version needs: ignored"},
             {L"BadMagic", true, 1.0f, 1.0f, 1.0f, false,
              L"Skies\\BadMagic\\Lighting.VKS is not a sky settings file: ignored"},
             // A sky without a (whole) flare file keeps its lights.
             {L"FlareCut", false, 0.5f, 2.0f, 0.75f, true,
              L"Skies\\FlareCut\\Flare.VKS is 18 bytes, shorter than the 19 its version needs: ignored"},
             {L"NoFlare", false, 0.5f, 2.0f, 0.75f, true, nullptr},
             {L"DynamicNine", true, 0.5f, 2.0f, 1.0f, false,
              L"Skies\\DynamicNine\\DynamicLighting.VKS is not a sky settings file: ignored"},
             {L"DynamicCut", true, 0.5f, 2.0f, 1.0f, false,
              L"Skies\\DynamicCut\\DynamicLighting.VKS is 210 bytes, shorter than the 211 its version needs: "
              L"ignored"},
             {L"NoDynamic", true, 0.5f, 2.0f, 1.0f, false, nullptr},
             {L"Nowhere", false, 1.0f, 1.0f, 1.0f, false, nullptr}}) {
        const WideString folder = WideString(L"Skies\\") + c.sky;
        const std::string what = WideStringToNarrow(folder);
        ScopedCapture log;
        SkySettings sky;
        sky.Load(folder, nullptr);

        EXPECT_EQ(sky.GetFolder(), folder);
        EXPECT_EQ(sky.IsFlareOn(), c.flareOn) << what;
        ExpectVec3(sky.GetSunDirection(), c.flareOn ? kSunOfFlareFile : kSunWithoutFlare, what);
        for (const SkyLight& light : sky.GetStaticLights()) {
            EXPECT_EQ(light.intensity, c.staticIntensity) << what;
        }
        EXPECT_EQ(sky.GetFog().range, c.fogRange) << what;
        for (const SkyLight& light : sky.GetDynamicLights()) {
            EXPECT_EQ(light.intensity, c.dynamicIntensity) << what;
        }
        // Every fixture folder but Nowhere holds "CarLights.VKS".
        EXPECT_EQ(sky.GetLightList().size(), c.lightsListed ? 6u : 0u) << what;
        EXPECT_EQ(sky.HasCarLights(), c.lightsListed) << what;
        EXPECT_EQ(SkyFileLines(*log), c.logged ? std::vector<WideString>{c.logged} : std::vector<WideString>{})
            << what;
    }
}

TEST_F(SkySettingsTest, TheLightListHoldsTheStaticThenTheDynamicLights)
{
    SkySettings sky;
    sky.Load(L"Skies\\Whole", nullptr);
    ASSERT_EQ(sky.GetLightList().size(), 6u);
    for (int32_t i = 0; i < kSkyLightsPerSet; ++i) {
        EXPECT_EQ(sky.GetLightList()[i], &sky.GetStaticLights()[i]);
        EXPECT_EQ(sky.GetLightList()[i + kSkyLightsPerSet], &sky.GetDynamicLights()[i]);
    }
}

TEST_F(SkySettingsTest, TheSampleDayAndNightSkiesReadBackFromThePack)
{
    std::filesystem::copy_file(FixturePath(L"sampledata\\Data.DCP").c_str(), "Data.DCP");
    ArchiveList::Instance().Mount(std::make_unique<PackArchive>(L"Data.DCP"));
    SkySettings day;
    day.Load(L"Skies\\Day", nullptr);
    ASSERT_NE(day.GetModel(), nullptr);
    EXPECT_EQ(day.GetModel()->GetNodes().size(), 1u);
    EXPECT_TRUE(day.IsFlareOn());
    ExpectVec3(day.GetSunDirection(), {0.40f, 0.55f, -0.73f}, "day sun");
    const SkyLight& sun = day.GetStaticLights()[0];
    // A turn of 50 degrees about x: the sun stands above.
    EXPECT_NEAR(sun.orientation.x, 0.422618f, 1e-5f);
    EXPECT_NEAR(sun.orientation.w, 0.906308f, 1e-5f);
    ExpectColour(sun.diffuse, {1.0f, 0.96f, 0.88f, 1.0f}, "day sun diffuse");
    EXPECT_EQ(day.GetStaticLights()[1].intensity, 0.4f);
    EXPECT_EQ(day.GetDynamicLights()[2].intensity, 0.25f);
    ExpectColour(day.GetFog().colour, {0.84f, 0.90f, 0.96f, 1.0f}, "day fog");
    EXPECT_EQ(day.GetFog().range, 0.08f);
    EXPECT_FALSE(day.HasCarLights());

    // The night has no sun, yet its lights count, and the traffic drives lit.
    SkySettings night;
    night.Load(L"Skies\\Night", nullptr);
    EXPECT_FALSE(night.IsFlareOn());
    ExpectVec3(night.GetSunDirection(), kSunWithoutFlare, "night sun");
    EXPECT_EQ(night.GetStaticLights()[0].intensity, 0.5f);
    EXPECT_EQ(night.GetFog().range, 0.06f);
    EXPECT_EQ(night.GetLightList().size(), 6u);
    EXPECT_TRUE(night.HasCarLights());
}

TEST_F(SkySettingsTest, SavedSettingsReadBackAsEdited)
{
    // "Fresh" is a sky of the pack only: its folder is made for the files.
    for (const wchar_t* folder : {L"Skies\\Whole", L"Skies\\Fresh"}) {
        const std::string what = WideStringToNarrow(folder);
        {
            SkySettings sky;
            sky.Load(folder, nullptr);
            sky.GetStaticLights()[1].intensity = 0.25f;
            sky.GetDynamicLights()[2].specular[0] = 0.125f;
            sky.GetFog().range = 3.0f;
            sky.SetSunDirection({1.0f, 0.0f, 0.0f});
            EXPECT_TRUE(sky.SaveLighting()) << what;
            EXPECT_TRUE(sky.SaveFlare()) << what;
        }
        const std::filesystem::path path(folder);
        EXPECT_EQ(std::filesystem::file_size(path / "Lighting.VKS"), 235u) << what;
        EXPECT_EQ(std::filesystem::file_size(path / "DynamicLighting.VKS"), 235u) << what;
        EXPECT_EQ(std::filesystem::file_size(path / "Flare.VKS"), 19u) << what;

        SkySettings sky;
        sky.Load(folder, nullptr);
        EXPECT_EQ(sky.GetStaticLights()[1].intensity, 0.25f) << what;
        EXPECT_EQ(sky.GetDynamicLights()[2].specular[0], 0.125f) << what;
        EXPECT_EQ(sky.GetFog().range, 3.0f) << what;
        EXPECT_TRUE(sky.IsFlareOn()) << what;
        ExpectVec3(sky.GetSunDirection(), {1.0f, 0.0f, 0.0f}, what);
    }
}

TEST_F(SkySettingsTest, SettingsAreNeverSavedOutsideTheWorkingFolder)
{
    for (const wchar_t* folder : {L"", L"\\Sky", L"C:\\Sky", L"/Sky"}) {
        const std::string what = WideStringToNarrow(folder);
        SkySettings sky;
        if (*folder) {
            sky.Load(folder, nullptr);
        }
        ScopedCapture log;
        EXPECT_FALSE(sky.SaveLighting()) << what;
        EXPECT_FALSE(sky.SaveFlare()) << what;
        EXPECT_EQ(log->lines, (std::vector<WideString>{L"Lighting.VKS not saved: the sky has no folder of its own",
                                                       L"Flare.VKS not saved: the sky has no folder of its own"}))
            << what;
    }
    EXPECT_FALSE(std::filesystem::exists("\\Lighting.VKS"));
    EXPECT_FALSE(std::filesystem::exists("\\Flare.VKS"));
}

TEST_F(SkySettingsTest, TestModeCommandsSaveTheWorldsSky)
{
    testMode = true;
    GameModule& game = Game();
    testMode = false;
    game.GetWorld().LoadSky(L"Skies\\Whole");
    game.GetWorld().GetSky()->GetFog().range = 4.0f;
    game.GetWorld().GetSky()->SetSunDirection({0.0f, 1.0f, 0.0f});
    EXPECT_TRUE(game.RunCommand(L"SAVELIGHT", L""));
    EXPECT_TRUE(game.RunCommand(L"FLARESAVE", L""));

    SkySettings saved;
    saved.Load(L"Skies\\Whole", nullptr);
    EXPECT_EQ(saved.GetFog().range, 4.0f);
    ExpectVec3(saved.GetSunDirection(), {0.0f, 1.0f, 0.0f}, "sun");
}

TEST_F(SkySettingsTest, TheSaveCommandsExistOnlyInTestMode)
{
    EXPECT_FALSE(Game().HasCommand(L"SAVELIGHT"));
    EXPECT_FALSE(Game().HasCommand(L"FLARESAVE"));
}
