#include "game/weapons/ParticleRenderer.h"

#include "render/models/Camera.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <vector>

namespace {

TextureResource* const kTexture = reinterpret_cast<TextureResource*>(0x1000);
TextureResource* const kOtherTexture = reinterpret_cast<TextureResource*>(0x2000);
constexpr ParticleLayer kWholeSprite{0, 0, 1, 1, -0.5f, -0.5f, 1, 1};

// Particles drawn without a device: the renderer marks them and makes batches.
class ParticleBatching : public testing::Test {
protected:
    Particle& Add(TextureResource* texture, int16_t drawFlags, int32_t layerCount = 1)
    {
        owned.push_back(std::make_unique<Particle>());
        Particle& particle = *owned.back();
        particle.Reset();
        particle.texture = texture;
        particle.drawFlags = drawFlags;
        particle.layers.assign(static_cast<size_t>(layerCount), kWholeSprite);
        list.push_back(&particle);
        return particle;
    }

    std::vector<std::unique_ptr<Particle>> owned;
    std::vector<Particle*> list;
    ParticleRenderer renderer{nullptr, nullptr};
    Camera camera;
};

struct WrittenVertex {
    Vec3 position;
    uint32_t colour;
    float u;
    float v;
};

std::vector<WrittenVertex> WriteQuads(const Particle& particle, const Matrix44& orientation)
{
    std::vector<uint8_t> bytes(particle.layers.size() * 4 * kEffectPackedColourStride);
    EffectVertexWriter writer(bytes.data(), false);
    ParticleRenderer::WriteQuads(particle, orientation, writer);
    std::vector<WrittenVertex> vertices(particle.layers.size() * 4);
    for (size_t i = 0; i < vertices.size(); ++i) {
        const uint8_t* at = bytes.data() + i * kEffectPackedColourStride;
        std::memcpy(&vertices[i].position, at, 12);
        std::memcpy(&vertices[i].colour, at + 12, 4);
        std::memcpy(&vertices[i].u, at + 16, 4);
        std::memcpy(&vertices[i].v, at + 20, 4);
    }
    return vertices;
}

} // namespace

TEST_F(ParticleBatching, BatchesAreRunsOfEqualTextureAndBlendInListOrder)
{
    Add(kTexture, kParticleModulate);
    Add(kTexture, kParticleAdditive, 2);
    Add(kTexture, kParticleModulate);
    Add(kTexture, kParticleModulate).Set(kParticleVisible, false);
    Add(kOtherTexture, kParticleModulate);
    Add(kOtherTexture, kParticleModulate, 0);   // visible, but nothing to draw
    renderer.BuildVertices(camera, list);
    const std::vector<ParticleBatch>& batches = renderer.GetBatches();
    ASSERT_EQ(batches.size(), 4u);
    struct Expected {
        TextureResource* texture;
        int32_t drawFlags;
        int32_t quads;
    };
    const Expected expected[] = {{kTexture, 0, 1}, {kTexture, 1, 2}, {kTexture, 0, 1}, {kOtherTexture, 0, 1}};
    for (size_t i = 0; i < batches.size(); ++i) {
        EXPECT_EQ(batches[i].texture, expected[i].texture) << i;
        EXPECT_EQ(batches[i].drawFlags, expected[i].drawFlags) << i;
        EXPECT_EQ(batches[i].quadCount, expected[i].quads) << i;
    }
    EXPECT_FALSE(list[3]->Has(kParticleDrawn));
    EXPECT_TRUE(list[5]->Has(kParticleDrawn));
}

TEST_F(ParticleBatching, ADrawOnceParticleShowsInOneFrameUnlessMadeVisibleAgain)
{
    Particle& halo = Add(kTexture, kParticleAdditive);
    halo.Set(kParticleDrawOnce, true);
    renderer.BuildVertices(camera, list);
    EXPECT_TRUE(halo.Has(kParticleDrawn));
    EXPECT_FALSE(halo.Has(kParticleVisible));
    renderer.BuildVertices(camera, list);
    EXPECT_FALSE(halo.Has(kParticleDrawn));
    EXPECT_TRUE(renderer.GetBatches().empty());
    halo.Set(kParticleVisible, true);
    renderer.BuildVertices(camera, list);
    EXPECT_TRUE(halo.Has(kParticleDrawn));
}

// Past the ring's capacity a particle is left out of the frame whole, and
// stays visible for the next; smaller ones after it still fit.
TEST_F(ParticleBatching, QuadsPastTheCapacityAreDroppedForTheFrame)
{
    Add(kTexture, kParticleModulate, ParticleRenderer::kQuadCapacity - 1);
    Particle& tooLarge = Add(kTexture, kParticleModulate, 2);
    tooLarge.Set(kParticleDrawOnce, true);
    Particle& last = Add(kTexture, kParticleModulate, 1);
    Particle& none = Add(kTexture, kParticleModulate, 1);
    renderer.BuildVertices(camera, list);
    ASSERT_EQ(renderer.GetBatches().size(), 1u);
    EXPECT_EQ(renderer.GetBatches()[0].quadCount, ParticleRenderer::kQuadCapacity);
    EXPECT_FALSE(tooLarge.Has(kParticleDrawn));
    EXPECT_TRUE(tooLarge.Has(kParticleVisible));
    EXPECT_TRUE(last.Has(kParticleDrawn));
    EXPECT_FALSE(none.Has(kParticleDrawn));
}

TEST(ParticleQuads, ALayerBecomesACameraFacingQuadAroundTheParticle)
{
    Particle drop;
    drop.Reset();
    drop.position = {100, 50, 10};
    drop.colour = {1.0f, 0.5f, 0.0f, 1.0f};
    drop.layers.push_back({0.0f, 0.25f, 0.5f, 1.0f, -0.625f, -0.625f, 1.25f, 1.25f});
    // For a camera of no rotation the half turn lays the sprite's x along the world's -x.
    const Matrix44 orientation = ParticleRenderer::SpriteOrientation(Quaternion{});
    const std::vector<WrittenVertex> quad = WriteQuads(drop, orientation);
    ASSERT_EQ(quad.size(), 4u);
    struct Corner {
        float x, y, u, v;
    };
    const Corner expected[] = {{101.25f, 48.75f, 0.0f, 1.0f},
                               {101.25f, 51.25f, 0.0f, 0.25f},
                               {98.75f, 48.75f, 0.5f, 1.0f},
                               {98.75f, 51.25f, 0.5f, 0.25f}};
    for (size_t i = 0; i < quad.size(); ++i) {
        EXPECT_NEAR(quad[i].position.x, expected[i].x, 1e-4f) << i;
        EXPECT_NEAR(quad[i].position.y, expected[i].y, 1e-4f) << i;
        EXPECT_NEAR(quad[i].position.z, 10.0f, 1e-4f) << i;
        EXPECT_EQ(quad[i].u, expected[i].u) << i;
        EXPECT_EQ(quad[i].v, expected[i].v) << i;
        EXPECT_EQ(quad[i].colour, 0xFFFF7F00u) << i;   // bytes blue, green, red, alpha
    }

    // A quarter turn about the viewing axis moves corner 0 to where corner 1 was.
    drop.rotation = 1.5707964f;
    const std::vector<WrittenVertex> turned = WriteQuads(drop, orientation);
    EXPECT_NEAR(turned[0].position.x, expected[1].x, 1e-4f);
    EXPECT_NEAR(turned[0].position.y, expected[1].y, 1e-4f);
}
