#include "tests/game/world/WorldFilesFixture.h"

#include "tests/support/CapturingSink.h"

#include "game/weapons/dcLensFlare.h"

#include <string>

using WorldFileTest = WorldFilesTest;

namespace {

// How many lens flares the scene holds, read from its entity report.
int32_t CountFlares(Scene& scene)
{
    ScopedCapture log;
    scene.DumpEntities();
    const std::vector<WideString>& lines = log->lines;
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].find(L"Name = dcLensFlare") != WideString::npos) {
            return std::stoi(lines[i + 1].substr(lines[i + 1].find(L"= ") + 2));
        }
    }
    return 0;
}

} // namespace

TEST_F(WorldFileTest, TheHeaderIsCheckedForSizeMagicAndKind)
{
    struct Case {
        const wchar_t* file;
        const wchar_t* refusal;   // none: a world
    };
    for (const Case& c : std::initializer_list<Case>{
             {L"Maps\\Test.DCW", nullptr},
             {L"Maps\\Nine.DCW", L"Maps\\Nine.DCW is not a valid world"},
             {L"Maps\\Missing.DCW", L"Maps\\Missing.DCW is not a valid world"},
             {L"Maps\\Magic.DCW", L"Maps\\Magic.DCW is not a valid world"},
             // Ten bytes pass the size check; the kind cannot be read whole.
             {L"Maps\\Ten.DCW", L"Maps\\Ten.DCW is not a world"},
             {L"Maps\\Kind3.DCW", L"Maps\\Kind3.DCW is not a world"}}) {
        World world;
        world.SetFileName(c.file);
        ScopedCapture log(kLogError);
        int32_t counter = 0;
        EXPECT_EQ(world.LoadHeader(counter), 1.0f) << WideStringToNarrow(c.file);
        if (c.refusal) {
            EXPECT_EQ(log->lines, std::vector<WideString>{c.refusal});
            EXPECT_EQ(world.GetFile(), nullptr);
        } else {
            EXPECT_TRUE(log->lines.empty());
            EXPECT_NE(world.GetFile(), nullptr);
        }
    }
}

TEST_F(WorldFileTest, TheNineStagesReportTheirShareOfTheProgress)
{
    const std::vector<float> progress = LoadWorld(L"Maps\\Small.DCW");
    // (stage index + stage progress) / 9: the header; collision in five
    // calls; paths in four; no geometry records; materials, meshes, static
    // and dynamic objects two calls each (the count, then the records); the
    // markers; then loaded.
    const std::vector<float> expected = {1.0f, 1.1f, 1.3f, 1.5f, 1.9f, 2.0f, 2.4f, 2.5f, 2.7f, 3.0f, 3.2f,
                                         4.0f, 4.0f, 5.0f, 5.0f, 6.0f, 6.0f, 7.0f, 7.0f, 8.0f, 9.0f};
    ASSERT_EQ(progress.size(), expected.size() + 1) << testing::PrintToString(progress);
    for (size_t call = 0; call < expected.size(); ++call) {
        EXPECT_FLOAT_EQ(progress[call], expected[call] / 9.0f) << call;
    }
    EXPECT_EQ(progress.back(), 1.0f);
    EXPECT_TRUE(Game().IsLoaded());
    // The file goes with the last stage.
    EXPECT_EQ(Game().GetWorld().GetFile(), nullptr);
}

TEST_F(WorldFileTest, AWorldThatIsNoWorldStillLoadsThroughEveryStage)
{
    ScopedCapture log(kLogError);
    const std::vector<float> progress = LoadWorld(L"Maps\\Nine.DCW");
    EXPECT_EQ(progress.size(), 10u);
    EXPECT_TRUE(Game().IsLoaded());
    EXPECT_EQ(log->Count(L"is not a valid world"), 1);
}

TEST_F(WorldFileTest, TheSameWorldLoadsOncePerRun)
{
    EXPECT_EQ(CountFlares(Game().GetScene()), 0);
    LoadWorld(L"Maps\\Test.DCW");
    // The first stage made the sun's flare in the scene, once for the run.
    EXPECT_EQ(CountFlares(Game().GetScene()), 1);
    ScopedCapture log(kLogError);
    // A later loading screen for the same world finds the stages done: loaded at its first step.
    EXPECT_EQ(LoadWorld(L"Maps\\Test.DCW"), std::vector<float>{1.0f});
    EXPECT_TRUE(log->lines.empty());
    EXPECT_EQ(CountFlares(Game().GetScene()), 1);
}
