// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "game/weapons/dcSkidMarks.h"

namespace {

class SkidMarkPool : public GameTest {
protected:
    int32_t Members() { return Game().GetScene().Count(); }
};

} // namespace

TEST_F(SkidMarkPool, ObjectsGivenBackAreHandedOutAgainOldestFirst)
{
    const int32_t before = Members();
    dcSkidMarks* first = dcSkidMarks::Acquire();
    dcSkidMarks* second = dcSkidMarks::Acquire();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, first);
    EXPECT_EQ(Members(), before + 2);
    EXPECT_EQ(first->GetScene(), &Game().GetScene());

    dcSkidMarks::Release(second);
    dcSkidMarks::Release(first);
    dcSkidMarks::Release(first);   // given back once only
    EXPECT_EQ(dcSkidMarks::GetPool().size(), 2u);
    EXPECT_EQ(dcSkidMarks::Acquire(), second);
    EXPECT_EQ(dcSkidMarks::Acquire(), first);
    EXPECT_NE(dcSkidMarks::Acquire(), first);
    EXPECT_EQ(Members(), before + 3);
}

TEST_F(SkidMarkPool, AGameResetDeletesEveryObjectHeldOrPooled)
{
    const int32_t before = Members();
    dcSkidMarks* held = dcSkidMarks::Acquire();
    dcSkidMarks::Release(dcSkidMarks::Acquire());
    ASSERT_NE(held, nullptr);
    Game().BroadcastGameReset();
    Game().GetScene().FlushDeletes();
    EXPECT_EQ(Members(), before);
    EXPECT_TRUE(dcSkidMarks::GetPool().empty());
}

TEST_F(SkidMarkPool, WithoutADrawableShaderPointsAreIgnored)
{
    Game();
    dcSkidMarks* marks = dcSkidMarks::Acquire();
    ASSERT_NE(marks, nullptr);
    marks->AddSegment({0.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, 0.0f);
    marks->AddSegment({10.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, 0.0f);
    EXPECT_TRUE(marks->GetTrail().GetSegments().empty());
    EXPECT_EQ(marks->Send(dcRender{nullptr, 3, 1 << 3, 0}), 1);
}

TEST(SkidMarkAlpha, FullUntilTwentySecondsAreLeftThenFadingWithTheLife)
{
    struct Case {
        float life;
        float alpha;
    };
    for (const Case& c : {Case{40.0f, 1.0f}, Case{20.0f, 1.0f}, Case{10.0f, 0.5f}, Case{2.0f, 0.1f}}) {
        EXPECT_FLOAT_EQ(dcSkidMarks::AlphaForLife(c.life), c.alpha) << c.life;
    }
}
