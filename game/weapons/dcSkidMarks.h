#pragma once
// The dark band a skidding wheel leaves on the ground: each object draws
// the strips of its own small vertex and index storage, which fade out over
// the last half of their 40 seconds. A car takes an object for a wheel when
// the wheel starts to skid, adds points while it skids, and gives it back
// when the skid ends; objects given back keep drawing their fading marks
// and are handed out again, oldest first. A game reset deletes them all.

#include "engine/core/FrameMessages.h"
#include "engine/core/MessageReceiver.h"
#include "engine/math/Vec3.h"
#include "game/weapons/SkidTrail.h"
#include "game/world/GameMessages.h"
#include "render/shaders/ShaderVariableBlock.h"

#include <cstdint>
#include <deque>
#include <memory>

class IndexBuffer;
class ShaderEffect;
class TextureResource;
class VertexBuffer;
class VertexFormat;
class VideoDevice;

class dcSkidMarks : public ShaderVariableBlock, public MessageReceiver, private SkidWriter {
    DC_RECEIVER(dcSkidMarks, MessageReceiver)
public:
    static constexpr float kFadeLife = 20.0f;   // seconds of life below which a segment fades

    // Without a device no point is taken and nothing is drawn. parent: the
    // block the shader reads further variables from (the World).
    dcSkidMarks(VideoDevice* device, ShaderVariableBlock* parent);
    ~dcSkidMarks() override;

    // The oldest object given back, or a new one in the game module's scene;
    // none without a game module.
    static dcSkidMarks* Acquire();
    // Back to the pool, behind the objects given back before; the caller
    // breaks the strip first.
    static void Release(dcSkidMarks* marks);
    static const std::deque<dcSkidMarks*>& GetPool() { return pool_; }

    void BreakStrip() { trail_.Break(); }
    // The next point of the strip: the contact point moved by offset along
    // the direction, the band lying across the direction on the surface of
    // that normal.
    void AddSegment(const Vec3& point, const Vec3& direction, const Vec3& normal, float offset);
    const SkidTrail& GetTrail() const { return trail_; }

    // How opaque a segment of this life is drawn.
    static float AlphaForLife(float life);

protected:
    void OnUpdate(const dcUpdate& message) { trail_.Age(message.step); }
    void OnRender(const dcRender& message);
    void OnGameReset(const dcGameReset& message);

private:
    bool TakesPoints() const;
    void WriteVertices(int32_t first, const TexturedVertex (&vertices)[2]) override;
    void WriteIndices(int32_t first, const uint32_t (&indices)[6]) override;

    static inline std::deque<dcSkidMarks*> pool_;

    VideoDevice* device_;
    std::unique_ptr<VertexBuffer> vertices_;
    std::unique_ptr<IndexBuffer> indices_;
    std::unique_ptr<VertexFormat> format_;
    std::unique_ptr<TextureResource> texture_;
    std::unique_ptr<ShaderEffect> shader_;
    int32_t alphaVariable_;
    SkidTrail trail_;
};
// handlers: dcUpdate -> OnUpdate, dcRender -> OnRender, dcGameReset -> OnGameReset
