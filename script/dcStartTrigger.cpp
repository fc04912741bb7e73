#include "script/dcStartTrigger.h"

#include "engine/core/LogHub.h"
#include "engine/core/dcEngine.h"
#include "engine/video/VideoDevice.h"
#include "render/sprites/SpriteBatch.h"
#include "script/DumpReader.h"
#include "script/DumpWriter.h"
#include "script/ScriptGameHooks.h"

namespace {

// The images a start screen shows; the world holds for them alone.
constexpr int32_t kScreenImageClassId = HashClassName("dcScreenImage");
constexpr float kHoldDarkness = 0.5f;
// The smallest side entry: index, name key and vehicle count.
constexpr int32_t kSideBytes = 12;

} // namespace

dcStartTrigger::dcStartTrigger()
{
    Handles<dcTriggerMessage, &dcStartTrigger::OnTrigger>();
    Handles<dcRender, &dcStartTrigger::OnRender>();
}

void dcStartTrigger::Save(DumpWriter& out)
{
    out.WriteByte(PauseOnStart);
    out.WriteByte(AllowStart);
    out.WriteInt32(Name);
    out.WriteInt32(Description);
    out.WriteString(InternalName);
    out.WriteString(ImageName);
    out.WriteByte(Multiplay);
    out.WriteInt32(static_cast<int32_t>(Sides.size()));
    for (const StartSide& side : Sides) {
        side.Save(out);
    }
    dcTrigger::Save(out);
}

void dcStartTrigger::Load(DumpReader& in)
{
    const int32_t revision = in.GetRevision();
    if (revision >= kPauseRevision) {
        PauseOnStart = in.ReadByte();
    }
    if (revision >= kDescriptionRevision) {
        AllowStart = in.ReadByte();
        Name = in.ReadInt32();
        Description = in.ReadInt32();
        in.ReadString(InternalName);
        in.ReadString(ImageName);
    }
    if (revision >= kSidesRevision) {
        Multiplay = in.ReadByte();
        Sides.assign(in.ReadCount(kSideBytes), StartSide());
        for (StartSide& side : Sides) {
            side.Load(in);
        }
    }
    if (in.IsFullLoad()) {
        dcTrigger::Load(in);
    }
}

void dcStartTrigger::OnTrigger(const dcTriggerMessage& message)
{
    LogHub::PrintVerbose("dcStartTrigger: mission %s starts", InternalName.c_str());
    FireOwnTargetsAs(message.sender);
    if (PauseOnStart) {
        HoldBehindImages();
    }
}

void dcStartTrigger::HoldBehindImages()
{
    ScriptGameHooks* hooks = GetScriptGameHooks();
    Scene* scene = GetScene();
    if (!hooks || !scene) {
        return;
    }
    std::vector<int32_t> images;
    for (int32_t id : GetTargetIds()) {
        MessageReceiver* target = scene->FindReceiver(id);
        if (target && target->GetClassID() == kScreenImageClassId) {
            images.push_back(id);
        }
    }
    hooks->Hold(images);
}

void dcStartTrigger::OnRender(const dcRender& message)
{
    ScriptGameHooks* hooks = GetScriptGameHooks();
    const float hold = hooks ? hooks->GetHoldValue() : 0.0f;
    if (message.pass != kHoldPass || hold == 0.0f) {
        return;
    }
    dcEngine& engine = dcEngine::Instance();
    SpriteDrawer* batch = engine.GetSpriteBatch();
    VideoDevice* video = engine.GetVideoDevice();
    if (!batch || !video) {
        return;
    }
    const SpriteRect screen{0.0f, 0.0f, static_cast<float>(video->GetBackBufferWidth()),
                            static_cast<float>(video->GetBackBufferHeight())};
    batch->DrawFilledRect(screen, {0.0f, 0.0f, 0.0f, kHoldDarkness * hold}, AlphaSpriteShader);
}
