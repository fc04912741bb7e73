#include "render/device/OcclusionQuery.h"
#include "tests/render/device/ScreenQuads.h"
#include "tests/render/device/WindowedDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <optional>

namespace {

class RecordingQuery : public OcclusionQuery {
public:
    void OnResult(bool occluded) override
    {
        SetOccluded(occluded);
        results.push_back(occluded);
        SetCountdown(countdownOnResult);
    }

    std::vector<bool> results;
    int32_t countdownOnResult = 0;
};

// A wall across the screen, near the eye, and tests drawn behind or before it.
class OccludingDevice : public WindowedDevice {
protected:
    void SetUp() override
    {
        WindowedDevice::SetUp();
        quads.emplace(video, 3);
        quads->Set(kWall, 0, 0, 800, 600, 0.3f);
        quads->Set(kBehind, 100, 100, 200, 200, 0.8f);
        quads->Set(kBefore, 100, 100, 200, 200, 0.1f);
        effect.depthTest = true;
    }

    // One frame: the wall, then each query around its test quad.
    void DrawFrame(std::initializer_list<std::pair<RecordingQuery*, int32_t>> tests)
    {
        video.BeginFrame();
        video.Clear(kClearTarget | kClearDepth, {0.0f, 0.0f, 0.0f, 1.0f}, 1.0f, 0);
        quads->Bind(video);
        video.SetShader(&effect, 0, 0);
        quads->Draw(video, kWall);
        for (const auto& [query, quad] : tests) {
            query->Begin();
            quads->Draw(video, quad);
            query->End();
        }
        video.EndFrame();
    }

    // Polls with flush until every query has answered, as frames would. The
    // bound is generous: it only ends a run that has already failed.
    void WaitForAnswers(std::initializer_list<RecordingQuery*> queries)
    {
        const DWORD deadline = GetTickCount() + 10000;
        while (static_cast<int32_t>(deadline - GetTickCount()) > 0) {
            if (std::none_of(queries.begin(), queries.end(), [](RecordingQuery* q) { return q->IsPending(); })) {
                return;
            }
            video.UpdateQueries(true);
            Sleep(1);
        }
    }

    static constexpr int32_t kWall = 0;
    static constexpr int32_t kBehind = 1;
    static constexpr int32_t kBefore = 2;
    FixedFunctionEffect effect{video};
    std::optional<ScreenQuads> quads;
};

} // namespace

TEST_F(OccludingDevice, HiddenQuadIsOccludedAndVisibleOneIsNot)
{
    RecordingQuery hidden;
    RecordingQuery visible;
    video.AcquireQuery(hidden);
    video.AcquireQuery(visible);
    ASSERT_TRUE(hidden.HasQuery());
    EXPECT_EQ(hidden.GetDevice(), &video);
    DrawFrame({{&hidden, kBehind}, {&visible, kBefore}});
    EXPECT_TRUE(hidden.IsPending());
    video.Present();
    WaitForAnswers({&hidden, &visible});
    EXPECT_EQ(hidden.results, std::vector<bool>{true});
    EXPECT_EQ(visible.results, std::vector<bool>{false});
    EXPECT_TRUE(hidden.IsOccluded());
    EXPECT_FALSE(visible.IsOccluded());

    // No new test, no new answer.
    video.UpdateQueries(true);
    EXPECT_EQ(hidden.results.size(), 1u);
    video.ReleaseQuery(hidden);
    video.ReleaseQuery(visible);
    EXPECT_EQ(hidden.GetDevice(), nullptr);
}

TEST_F(OccludingDevice, ReleasedQueriesAreLentAgainLastInFirstOut)
{
    RecordingQuery first;
    RecordingQuery second;
    RecordingQuery never;
    video.AcquireQuery(first);
    video.AcquireQuery(never);
    video.ReleaseQuery(first);
    video.AcquireQuery(second);
    ASSERT_TRUE(second.HasQuery());
    EXPECT_FALSE(first.HasQuery());

    // A query never begun or ended is never pending and never answers.
    DrawFrame({{&second, kBefore}});
    WaitForAnswers({&second});
    EXPECT_EQ(second.results, std::vector<bool>{false});
    EXPECT_FALSE(never.IsPending());
    EXPECT_TRUE(never.results.empty());
    video.ReleaseQuery(second);
    video.ReleaseQuery(never);
}

TEST_F(OccludingDevice, CountdownRunsDownOncePerPollAndStopsAtZero)
{
    RecordingQuery query;
    query.countdownOnResult = 3;
    video.AcquireQuery(query);
    DrawFrame({{&query, kBehind}});
    WaitForAnswers({&query});
    EXPECT_EQ(query.GetCountdown(), 3);
    for (int32_t expected : {2, 1, 0, 0}) {
        video.UpdateQueries(false);
        EXPECT_EQ(query.GetCountdown(), expected);
    }
    video.ReleaseQuery(query);
}

TEST_F(OccludingDevice, QueriesLentAcrossAResetStillAnswer)
{
    RecordingQuery query;
    video.AcquireQuery(query);
    ASSERT_TRUE(video.Create(nullptr, kMenuSize, {}));
    ASSERT_TRUE(query.HasQuery());
    DrawFrame({{&query, kBefore}});
    WaitForAnswers({&query});
    EXPECT_EQ(query.results, std::vector<bool>{false});
    video.ReleaseQuery(query);
}
