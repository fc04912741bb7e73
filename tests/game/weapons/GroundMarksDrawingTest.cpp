// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "engine/files/ResourceFactory.h"
#include "game/weapons/dcCarShadow.h"
#include "game/weapons/dcSkidMarks.h"
#include "render/device/TextureLoader.h"
#include "tests/render/shaders/ShaderTestSupport.h"

#include <array>
#include <optional>

namespace {

constexpr int32_t kGroundPass = 3;   // the pass the sample shaders draw both in

// Shadows and skid marks drawn with the sample shaders and textures from the
// built pack on a white screen. "View" and "Proj" are identities, so world
// positions are clip-space positions.
class GroundMarksDrawing : public SampleShaderDevice {
protected:
    void SetUp() override
    {
        SampleShaderDevice::SetUp();
        if (HasFatalFailure()) {
            return;   // no device to make the variables on
        }
        RegisterTextureLoaders();
        TextureFactory().AddFolder(L"Textures");
        variables.emplace(video);
    }
    void TearDown() override
    {
        variables.reset();
        TextureFactory().RemoveFolder(L"Textures");
        SampleShaderDevice::TearDown();
    }

    // One frame in which the receiver draws the pass, shown and grabbed.
    Screenshot Frame(MessageReceiver& receiver, int32_t pass)
    {
        video.BeginFrame();
        video.Clear(kClearTarget | kClearDepth, {1.0f, 1.0f, 1.0f, 1.0f}, 1.0f, 0);
        receiver.Send(dcRender{nullptr, pass, 1 << pass, 0});
        video.EndFrame();
        video.Present();
        video.SetShader(nullptr, 0, 0);
        return Screenshot(video);
    }

    // The World block's "World" as the last mesh drawn might leave it: here
    // one that collapses everything to a point. The marks are in world space
    // and must not be drawn through it.
    void LeaveAnotherWorldMatrix()
    {
        static const float collapsed[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
        variables->SetMatrix(variables->AddVariable(L"World", kShaderMatrix, false), collapsed);
    }

    // The green channel of a pixel: how light it is.
    static int32_t Lightness(const Screenshot& shot, int32_t x, int32_t y)
    {
        return static_cast<int32_t>((shot.pixels[static_cast<size_t>(y) * shot.width + x] >> 8) & 0xFF);
    }

    std::optional<SampleVariables> variables;
};

// A shadow quad from corner (x0, y0) to (x1, y1) in clip space.
std::array<Vec3, 4> Quad(float x0, float y0, float x1, float y1)
{
    return {Vec3{x0, y0, 0.5f}, Vec3{x0, y1, 0.5f}, Vec3{x1, y0, 0.5f}, Vec3{x1, y1, 0.5f}};
}

} // namespace

TEST_F(GroundMarksDrawing, TheShadowDarkensTheMiddleOfItsQuadInItsPassOnly)
{
    LeaveAnotherWorldMatrix();
    dcCarShadow shadow(&video, &*variables);
    // The middle half of the screen.
    shadow.AddQuad(Quad(-0.5f, -0.5f, 0.5f, 0.5f));
    for (int32_t pass : {kGroundPass, 4}) {
        const Screenshot shot = Frame(shadow, pass);
        ASSERT_TRUE(shot.taken);
        EXPECT_EQ(Lightness(shot, 100, 100), 255) << pass;
        if (pass == kGroundPass) {
            EXPECT_LT(Lightness(shot, 400, 300), 64);
        } else {
            EXPECT_EQ(Lightness(shot, 400, 300), 255);
        }
    }
    // The quads stay until a fixed step clears them.
    EXPECT_LT(Lightness(Frame(shadow, kGroundPass), 400, 300), 64);
    shadow.Send(dcUpdate{1.0f / 75.0f});
    EXPECT_EQ(Lightness(Frame(shadow, kGroundPass), 400, 300), 255);
}

TEST_F(GroundMarksDrawing, ShadowsBeyondTheWindowAreDroppedAndTheWindowStillDraws)
{
    dcCarShadow shadow(&video, &*variables);
    // The first quad covers the left half of the screen; the rest lie off screen.
    shadow.AddQuad(Quad(-1.0f, -1.0f, 0.0f, 1.0f));
    for (int32_t quad = 1; quad < 3 * dcCarShadow::kWindowQuads; ++quad) {
        shadow.AddQuad(Quad(5.0f, 5.0f, 6.0f, 6.0f));
    }
    EXPECT_EQ(shadow.GetQuadCount(), dcCarShadow::kWindowQuads);
    const Screenshot shot = Frame(shadow, kGroundPass);
    ASSERT_TRUE(shot.taken);
    EXPECT_LT(Lightness(shot, 200, 300), 64);
    EXPECT_EQ(Lightness(shot, 600, 300), 255);
}

TEST_F(GroundMarksDrawing, SkidMarksFadeOverTheLastHalfOfTheirLifeAndThenGo)
{
    LeaveAnotherWorldMatrix();
    dcSkidMarks marks(&video, &*variables);
    // A band along x from -0.5 to 0.5, lying across the whole screen height.
    const Vec3 along{1.0f, 0.0f, 0.0f};
    const Vec3 facing{0.0f, 0.0f, -1.0f};
    marks.AddSegment({-0.5f, 0.0f, 0.5f}, along, facing, 0.0f);
    marks.AddSegment({0.0f, 0.0f, 0.5f}, along, facing, 0.0f);
    marks.AddSegment({0.5f, 0.0f, 0.5f}, along, facing, 0.0f);
    ASSERT_EQ(marks.GetTrail().GetSegments().size(), 1u);

    const Screenshot fresh = Frame(marks, kGroundPass);
    ASSERT_TRUE(fresh.taken);
    EXPECT_EQ(Lightness(fresh, 100, 300), 255);
    const int32_t full = Lightness(fresh, 400, 300);
    EXPECT_LT(full, 200);
    EXPECT_EQ(Lightness(Frame(marks, 4), 400, 300), 255);

    marks.Send(dcUpdate{30.0f});   // life 10: half strength
    const int32_t faded = Lightness(Frame(marks, kGroundPass), 400, 300);
    EXPECT_GT(faded, full + 20);
    EXPECT_LT(faded, 255);

    marks.Send(dcUpdate{10.0f});
    EXPECT_TRUE(marks.GetTrail().GetSegments().empty());
    EXPECT_EQ(Lightness(Frame(marks, kGroundPass), 400, 300), 255);
}
