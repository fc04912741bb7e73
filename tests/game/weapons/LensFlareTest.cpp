// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "game/weapons/LensFlareLayout.h"
#include "game/weapons/dcLensFlare.h"
#include "game/world/World.h"

namespace {

struct PlacementCase {
    const char* what;
    Vec2 sun;
    int32_t width;
    int32_t height;
    std::array<Vec2, kLensFlareElements> expected;
};

// A flare without a device: it follows the answers it is handed and the
// steps it is given.
class LensFlareFade : public GameTest {
protected:
    // Fixed steps of 1/100 s, the fade after each.
    std::vector<float> Steps(int32_t count)
    {
        std::vector<float> fades;
        for (int32_t step = 0; step < count; ++step) {
            flare.Send(dcUpdate{0.01f});
            fades.push_back(flare.GetFade());
        }
        return fades;
    }

    World world;
    dcLensFlare flare{nullptr, nullptr, world, nullptr};
};

} // namespace

TEST(LensFlareLayout, TheSpritesLieOnTheLineFromTheSunThroughTheCentre)
{
    const PlacementCase cases[] = {
        {"sun at the centre: everything meets there", {400.0f, 300.0f}, 800, 600,
         {{{400, 300}, {400, 300}, {400, 300}, {400, 300}, {400, 300}}}},
        {"sun up left", {100.0f, 50.0f}, 800, 600, {{{100, 50}, {250, 175}, {400, 300}, {550, 425}, {700, 550}}}},
        // Half the way is cut to whole pixels toward zero; the mirror cuts the sun's point.
        {"fractions", {101.7f, 50.2f}, 800, 600,
         {{{101.7f, 50.2f}, {250.7f, 174.2f}, {400, 300}, {549, 424}, {699, 550}}}},
        {"negative halves are cut toward zero", {700.6f, 551.0f}, 800, 600,
         {{{700.6f, 551.0f}, {550.6f, 426.0f}, {400, 300}, {250, 175}, {100, 49}}}},
        {"odd sizes halve in whole pixels", {0.0f, 0.0f}, 801, 601,
         {{{0, 0}, {200, 150}, {400, 300}, {600, 450}, {801, 601}}}},
        {"sun beside the picture", {-200.0f, 300.0f}, 800, 600,
         {{{-200, 300}, {100, 300}, {400, 300}, {700, 300}, {1000, 300}}}},
    };
    for (const PlacementCase& c : cases) {
        const std::array<Vec2, kLensFlareElements> positions = LensFlarePositions(c.sun, c.width, c.height);
        for (int32_t e = 0; e < kLensFlareElements; ++e) {
            EXPECT_NEAR(positions[e].x, c.expected[e].x, 1e-3f) << c.what << ", element " << e;
            EXPECT_NEAR(positions[e].y, c.expected[e].y, 1e-3f) << c.what << ", element " << e;
        }
    }
}

TEST_F(LensFlareFade, NothingShowsBeforeTheFirstAnswer)
{
    EXPECT_EQ(flare.GetFade(), 0.0f);
    EXPECT_EQ(Steps(20).back(), 0.0f);
}

TEST_F(LensFlareFade, ASeenSunFadesInOverATenthAndAHiddenOneOutOverAFifth)
{
    flare.OnQueryResult(false);
    std::vector<float> fades = Steps(12);
    EXPECT_NEAR(fades[4], 0.5f, 1e-4f);
    EXPECT_LT(fades[8], 1.0f);
    EXPECT_NEAR(fades[9], 1.0f, 1e-4f);
    EXPECT_EQ(fades[11], 1.0f);   // held there

    flare.OnQueryResult(true);
    fades = Steps(22);
    EXPECT_NEAR(fades[9], 0.5f, 1e-4f);
    EXPECT_GT(fades[18], 0.0f);
    EXPECT_NEAR(fades[19], 0.0f, 1e-4f);
    EXPECT_EQ(fades[21], 0.0f);

    // An answer that changes halfway turns the fade around from where it stands.
    flare.OnQueryResult(false);
    Steps(5);
    flare.OnQueryResult(true);
    EXPECT_NEAR(Steps(5).back(), 0.25f, 1e-4f);
}
