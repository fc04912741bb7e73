#include "game/world/HitSoundSet.h"

#include "engine/audio/AudioDevice.h"
#include "engine/audio/SoundGroups.h"
#include "engine/audio/Voice.h"
#include "engine/core/LogHub.h"
#include "engine/core/dcEngine.h"
#include "engine/files/ArchiveList.h"

#include <cstdlib>

HitSoundSet::HitSoundSet(const WideString& name)
    : WorldObjectExtension(false), audio_(dcEngine::Instance().GetAudioDevice())
{
    const std::vector<WideString> files = ListFiles(L"Audio\\" + name + L"*.WAV");
    if (files.empty()) {
        LogHub::PrintWarning("%s not found", name.c_str());
        return;
    }
    if (!audio_) {
        return;
    }
    for (int32_t i = 0; i < kVoiceCount; ++i) {
        Voice* voice = audio_->Play(files[std::rand() % files.size()], true, false, false);
        voice->Set3DRange(kMinDistance, kMaxDistance);
        EffectsSoundGroup().Add(*voice);
        voices_.push_back(voice);
    }
}

HitSoundSet::~HitSoundSet()
{
    for (Voice* voice : voices_) {
        audio_->DestroyVoice(voice);
    }
}

void HitSoundSet::OnHit(const Vec3& position)
{
    const int32_t frame = dcEngine::Instance().GetFrameCounter();
    if (voices_.empty() || frame == lastFrame_) {
        return;
    }
    lastFrame_ = frame;
    Voice* voice = voices_[nextVoice_];
    voice->StopAndRewind();
    voice->Set3DPosition(position);
    voice->Play(false);
    nextVoice_ = (nextVoice_ + 1) % kVoiceCount;
}
