// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "engine/audio/DS8Audio.h"
#include "engine/audio/SoundLoaderFactory.h"
#include "engine/audio/Voice.h"
#include "engine/files/ResourceFactory.h"
#include "game/world/HitSoundTable.h"
#include "game/world/dcAmbientSound.h"
#include "tests/support/CapturingSink.h"

#include <algorithm>
#include <cwctype>
#include <filesystem>

namespace {

// A sound device that was never opened, which keeps the one-shot sounds it
// is asked to play instead of playing them.
class RecordingAudio : public DS8Audio {
public:
    struct Shot {
        WideString file;
        Vec3 position;
        float minDistance;
        float maxDistance;
    };

    void PlayOnceAt(SoundRef& ref, const Vec3& position, float minDistance, float maxDistance, float,
                    VoiceHandle*) override
    {
        shots.push_back({ref.fileName, position, minDistance, maxDistance});
    }

    std::vector<Shot> shots;
};

// Hit sounds for wood ("Hit_Wood1", "Hit_Wood2") and cones ("Hit_Cone1")
// only; ambient families "Crickets" (two files) and "Rain" (one).
class WorldSoundsTest : public GameTest {
protected:
    WorldSoundsTest() : GameTest(std::make_unique<RecordingAudio>())
    {
        std::filesystem::copy(FixturePath(L"sounds").c_str(), std::filesystem::current_path(),
                              std::filesystem::copy_options::recursive);
        RegisterSoundLoaders();
        SoundFactory().AddFolder(L"Audio");
    }
    ~WorldSoundsTest() override
    {
        ClearHitSoundTable();
        SoundFactory().RemoveLastFolder();
    }

    RecordingAudio& Audio() { return static_cast<RecordingAudio&>(*engine.GetAudioDevice()); }

    static int32_t PlayingVoices(const HitSoundSet& set)
    {
        int32_t playing = 0;
        for (Voice* voice : set.GetVoices()) {
            playing += voice->IsPlaying() ? 1 : 0;
        }
        return playing;
    }
};

} // namespace

TEST_F(WorldSoundsTest, MovableObjectsSoundAsTheSurfaceTheirNamesBeginWith)
{
    struct Case {
        const wchar_t* upperCasedName;
        SurfaceKind kind;
    };
    for (const Case& c : std::initializer_list<Case>{{L"DYNAMIC_BARREL_WOOD01", kSurfaceWood},
                                                     {L"PAAL_WOOD_3", kSurfaceWood},
                                                     {L"DYNAMIC_PHONECELL", kSurfacePhone},
                                                     {L"DYNAMIC_PARKMTRA2", kSurfacePark},
                                                     {L"PION", kSurfaceCone},
                                                     {L"BARRICADE_LONG", kSurfaceMetal},
                                                     {L"TRAFFICLITE_4", kSurfaceTraffic},
                                                     {L"DYNAMIC_LEAF_TREE", kSurfaceLeafs},
                                                     {L"BULB_STREET", kSurfaceLight},
                                                     {L"DYNAMIC_BARREL_STEEL", kSurfaceLight},
                                                     {L"", kSurfaceLight}}) {
        EXPECT_EQ(SurfaceKindOfObject(c.upperCasedName), c.kind) << WideStringToNarrow(c.upperCasedName);
    }
}

TEST_F(WorldSoundsTest, EachSurfaceTakesItsOwnFamilyOrStaysSilent)
{
    ScopedCapture log;
    FillHitSoundTable();
    const HitSoundSets& table = HitSoundTable();
    for (int32_t kind = 0; kind < kSurfaceKindCount; ++kind) {
        const bool hasFiles = kind == kSurfaceWood || kind == kSurfaceCone;
        EXPECT_EQ(table[kind]->GetVoices().size(), hasFiles ? 8u : 0u) << kind;
        EXPECT_FALSE(table[kind]->PassesOn());
        EXPECT_EQ(PlayingVoices(*table[kind]), 0) << kind;
    }
    for (const wchar_t* silent : {L"Hit_Phone not found", L"Hit_Light not found", L"Hit_Park not found",
                                  L"Hit_Metal not found", L"Hit_Traffic not found", L"Hit_Leafs not found"}) {
        EXPECT_EQ(log->Count(silent), 1) << WideStringToNarrow(silent);
    }
    EXPECT_FALSE(log->Contains(L"Hit_Wood"));
    EXPECT_FALSE(log->Contains(L"Hit_Cone"));
    for (Voice* voice : table[kSurfaceWood]->GetVoices()) {
        float minimum = 0.0f;
        float maximum = 0.0f;
        voice->Get3DRange(minimum, maximum);
        EXPECT_EQ(minimum, 25.0f);
        EXPECT_EQ(maximum, 250.0f);
    }
}

TEST_F(WorldSoundsTest, ASurfaceSoundsOnceAFrameWithItsVoicesInTurn)
{
    HitSoundSet wood(L"Hit_Wood");
    const std::vector<Voice*>& voices = wood.GetVoices();
    engine.RunFrame();
    // Two barrels knocked loose in one frame: one sound.
    wood.OnHit({1.0f, 0.0f, 0.0f});
    wood.OnHit({2.0f, 0.0f, 0.0f});
    EXPECT_EQ(PlayingVoices(wood), 1);
    EXPECT_TRUE(voices[0]->IsPlaying());
    EXPECT_EQ(voices[0]->Get3D()->position.x, 1.0f);

    // Eight more frames with a hit each: the ninth hit takes the first voice again.
    for (int32_t hit = 2; hit <= 9; ++hit) {
        engine.RunFrame();
        wood.OnHit({static_cast<float>(hit) * 10.0f, 0.0f, 0.0f});
    }
    EXPECT_EQ(PlayingVoices(wood), 8);
    EXPECT_EQ(voices[0]->Get3D()->position.x, 90.0f);
    EXPECT_EQ(voices[1]->Get3D()->position.x, 20.0f);
}

TEST_F(WorldSoundsTest, AFamilyOfOneFileLoopsAtItsPlace)
{
    dcAmbientSound rain({5.0f, 0.0f, 5.0f}, 10.0f, 20.0f);
    rain.SetSound(L"Rain");
    ASSERT_NE(rain.GetLoopVoice(), nullptr);
    EXPECT_TRUE(rain.GetLoopVoice()->IsPlaying());
    EXPECT_EQ(rain.GetLoopVoice()->Get3D()->position.z, 5.0f);
    EXPECT_EQ(rain.GetLoopVoice()->Get3D()->maxDistance, 20.0f);
    rain.Send(dcUpdate{20.0f});
    EXPECT_TRUE(Audio().shots.empty());
}

TEST_F(WorldSoundsTest, AFamilyOfSeveralFilesPlaysOneAtRandomWhileTheCameraIsNear)
{
    Camera& camera = Game().GetViewCamera();
    dcAmbientSound crickets({0.0f, 0.0f, 0.0f}, 100.0f, 200.0f);
    crickets.SetSound(L"Crickets");
    EXPECT_EQ(crickets.GetLoopVoice(), nullptr);
    EXPECT_EQ(crickets.GetFiles(), (std::vector<WideString>{L"Ambient\\Crickets1.WAV", L"Ambient\\Crickets2.WAV"}));

    // Far away nothing plays, however long; the first step back within range plays at once.
    camera.SetPosition({200.0f, 0.0f, 0.0f});
    for (int32_t step = 0; step < 100; ++step) {
        crickets.Send(dcUpdate{1.0f});
    }
    EXPECT_TRUE(Audio().shots.empty());
    camera.SetPosition({0.0f, 0.0f, 199.0f});
    crickets.Send(dcUpdate{0.01f});
    ASSERT_EQ(Audio().shots.size(), 1u);
    WideString played = Audio().shots[0].file;   // as resolved, upper-cased
    std::transform(played.begin(), played.end(), played.begin(), towupper);
    EXPECT_NE(played.find(L"AMBIENT\\CRICKETS"), WideString::npos) << WideStringToNarrow(played);
    EXPECT_EQ(Audio().shots[0].minDistance, 100.0f);
    EXPECT_EQ(Audio().shots[0].maxDistance, 200.0f);

    // Then at least 5 and at most 10 seconds apart.
    int32_t steps = 0;
    while (Audio().shots.size() == 1 && steps < 2000) {
        crickets.Send(dcUpdate{0.01f});
        ++steps;
    }
    EXPECT_GE(steps, 500);
    EXPECT_LE(steps, 1001);
}

TEST_F(WorldSoundsTest, AFamilyWithoutFilesIsSilentWithoutComplaint)
{
    Game();
    ScopedCapture log;
    dcAmbientSound nothing({0.0f, 0.0f, 0.0f}, 10.0f, 20.0f);
    nothing.SetSound(L"Thunder");
    nothing.Send(dcUpdate{1.0f});
    EXPECT_EQ(nothing.GetLoopVoice(), nullptr);
    EXPECT_TRUE(Audio().shots.empty());
    EXPECT_TRUE(log->lines.empty());
}

TEST_F(WorldSoundsTest, AMarkerNamesItsFamilyWithoutItsTimeOfDay)
{
    struct Case {
        const wchar_t* marker;
        const wchar_t* family;
    };
    for (const Case& c : std::initializer_list<Case>{{L"SOUND_NIGHT_Crickets", L"Crickets"},
                                                     {L"SOUND_MORNING_Birds", L"Birds"},
                                                     {L"SOUND_AFTERNOON_Bees", L"Bees"},
                                                     {L"SOUND_EVENING_Bells", L"Bells"},
                                                     {L"SOUND_Rain", L"Rain"},
                                                     {L"SOUND", L""}}) {
        EXPECT_EQ(dcAmbientSound::SoundNameOfMarker(c.marker), c.family) << WideStringToNarrow(c.marker);
    }
}
