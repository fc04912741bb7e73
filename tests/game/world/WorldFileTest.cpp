#include "tests/game/world/WorldFilesFixture.h"

#include "tests/support/CapturingSink.h"

using WorldFileTest = WorldFilesTest;

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
    // calls; paths in four; no geometry records and no materials, two calls
    // each; the object meshes and the static objects, a count then the
    // records; the dynamic-object and marker stages; then loaded.
    const std::vector<float> expected = {1.0f, 1.1f, 1.3f, 1.5f, 1.9f, 2.0f, 2.4f, 2.5f, 2.7f, 3.0f,
                                         3.2f, 4.0f, 4.0f, 5.0f, 5.0f, 6.0f, 6.0f, 7.0f, 8.0f, 9.0f};
    ASSERT_EQ(progress.size(), expected.size() + 1);
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
    LoadWorld(L"Maps\\Test.DCW");
    ScopedCapture log(kLogError);
    // A later loading screen for the same world finds the stages done: loaded at its first step.
    EXPECT_EQ(LoadWorld(L"Maps\\Test.DCW"), std::vector<float>{1.0f});
    EXPECT_TRUE(log->lines.empty());
}
