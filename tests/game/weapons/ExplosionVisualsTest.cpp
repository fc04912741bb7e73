// First: it includes the Win32 headers ahead of the engine's.
#include "tests/game/GameTestSupport.h"

#include "game/weapons/ExplosionKind.h"
#include "game/weapons/dcExplosionMaker.h"

#include <algorithm>
#include <initializer_list>

namespace {

// A book of the frame count; frames hold no texture, as without a device.
std::unique_ptr<ExplosionFlipBook> Book(int32_t frames)
{
    return std::make_unique<ExplosionFlipBook>(std::vector<std::unique_ptr<TextureResource>>(frames));
}

class ExplosionKindsTest : public GameTest {};

} // namespace

TEST(ExplosionFlipBook, SixteenFramesShowTheLastFrameOneFrameTimeLongerThenFinish)
{
    struct Case {
        float advance;
        int32_t frame;
        bool finished;
    };
    std::unique_ptr<ExplosionFlipBook> book = Book(16);
    for (const Case& c : std::initializer_list<Case>{
             {0.0f, 0, false}, {0.04f, 0, false}, {0.72f, 15, false}, {0.05f, 15, false}, {0.05f, 15, true}}) {
        book->Advance(c.advance);
        EXPECT_EQ(book->GetCurrentFrame(), c.frame) << c.advance;
        EXPECT_EQ(book->IsFinished(), c.finished) << c.advance;
    }
}

TEST(ExplosionFlipBook, AClonePlaysTheSameFramesFromTheStart)
{
    std::unique_ptr<ExplosionFlipBook> book = Book(4);
    book->Advance(0.1f);
    book->SetAnchor({0.5f, 0.25f});
    std::unique_ptr<ExplosionFlipBook> clone = book->Clone();
    EXPECT_EQ(clone->GetFrameCount(), 4);
    EXPECT_EQ(clone->GetCurrentFrame(), 0);
    EXPECT_FALSE(clone->IsFinished());
    EXPECT_EQ(clone->GetAnchor().x, 0.5f);
    book.reset();   // the frames stay with the clone
    clone->Advance(0.3f);
    EXPECT_EQ(clone->GetCurrentFrame(), 3);
}

TEST(ExplosionFlipBook, ABookWithoutFramesIsDoneAtOnceOnFrameZero)
{
    std::unique_ptr<ExplosionFlipBook> book = Book(0);
    book->Advance(0.01f);
    EXPECT_TRUE(book->IsFinished());
    EXPECT_EQ(book->GetCurrentFrame(), 0);
    EXPECT_EQ(book->GetCurrent(), nullptr);
}

TEST(ExplosionParticle, ASpriteOfSizeHundredCoversTwoHundredUnitsShiftedByTheAnchor)
{
    ExplosionParticle sprite;
    sprite.Reset();
    EXPECT_EQ(sprite.drawFlags, kParticleAdditive);
    sprite.SetFlipBook(Book(2));
    sprite.SetSize(100.0f);
    ASSERT_EQ(sprite.layers.size(), 1u);
    const ParticleLayer& layer = sprite.layers.front();
    // Sprite coordinates are twice the layer's.
    EXPECT_FLOAT_EQ(2.0f * layer.w, 200.0f);
    EXPECT_FLOAT_EQ(2.0f * layer.x + layer.w, 15.625f);
    EXPECT_FLOAT_EQ(2.0f * layer.y + layer.h, -35.9375f);
    EXPECT_EQ(sprite.texture, sprite.GetFlipBook());
}

TEST(ExplosionMaker, ASpriteGoesOnceItsAnimationHasPlayed)
{
    dcExplosionMaker maker;
    auto* sprite = static_cast<ExplosionParticle*>(maker.Emit(kEmitAlways));
    sprite->SetFlipBook(Book(2));
    auto* longer = static_cast<ExplosionParticle*>(maker.Emit(kEmitAlways));
    longer->SetFlipBook(Book(10));
    maker.Update(0.1f);
    EXPECT_EQ(maker.GetParticles().size(), 2u);
    maker.Update(0.06f);
    EXPECT_EQ(maker.GetParticles(), (std::vector<Particle*>{longer}));
    // A fresh life starts with the book it is given.
    EXPECT_EQ(maker.Emit(kEmitAlways), sprite);
}

TEST_F(ExplosionKindsTest, EveryKindLoadsEveryFolderWithFramesAndItsOwnSounds)
{
    for (const char* frame : {"Textures/FX/Explosion1/A.DCT", "Textures/FX/Explosion1/B.DCT",
                              "Textures/FX/Explosion1/C.DCT", "Textures/FX/Explosion2/A.DCT",
                              "Textures/FX/Explosion2/B.DCT", "Audio/Airstrike_Explosion1.WAV",
                              "Audio/Airstrike_Explosion2.WAV"}) {
        WriteFile(frame, "x");
    }
    std::filesystem::create_directories("Textures/FX/Explosion3");
    const std::vector<ExplosionKind> kinds = BuildExplosionKinds(nullptr);
    ASSERT_EQ(kinds.size(), 5u);
    for (int32_t kind = 0; kind < 5; ++kind) {
        const ExplosionKind& record = kinds[static_cast<size_t>(kind)];
        EXPECT_EQ(record.kind, kind);
        EXPECT_EQ(record.spriteSize, 100.0f);
        std::vector<int32_t> frames;
        for (const std::unique_ptr<ExplosionFlipBook>& book : record.flipBooks) {
            frames.push_back(book->GetFrameCount());
            EXPECT_EQ(book->GetAnchor().y, -0.1796875f);
        }
        std::sort(frames.begin(), frames.end());
        EXPECT_EQ(frames, (std::vector<int32_t>{2, 3})) << kind;
    }
    EXPECT_EQ(kinds[kExplosionAirstrike].sounds,
              (std::vector<WideString>{L"Airstrike_Explosion1.WAV", L"Airstrike_Explosion2.WAV"}));
    EXPECT_EQ(kinds[kExplosionGeneric].sounds, (std::vector<WideString>{L"Audio\\Explosion*.WAV"}));
}
