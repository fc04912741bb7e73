#include "game/world/dcAmbientSound.h"

#include "engine/audio/AudioDevice.h"
#include "engine/audio/SoundGroups.h"
#include "engine/audio/Voice.h"
#include "engine/core/dcEngine.h"
#include "engine/files/ArchiveList.h"
#include "engine/files/RandomRange.h"
#include "game/world/GameModule.h"

#include <algorithm>
#include <cstdlib>

namespace {

struct MarkerPrefix {
    const wchar_t* word;
    size_t cut;   // the word and the separator after it
};

// Tested in this order; markers of no time of day lose "SOUND_".
const MarkerPrefix kMarkerPrefixes[] = {
    {L"SOUND_MORNING", 14}, {L"SOUND_AFTERNOON", 16}, {L"SOUND_EVENING", 14}, {L"SOUND_NIGHT", 12}, {L"SOUND", 6},
};

} // namespace

dcAmbientSound::dcAmbientSound(const Vec3& position, float minDistance, float maxDistance)
    : position_(position), minDistance_(minDistance), maxDistance_(maxDistance)
{
    Handles<dcUpdate, &dcAmbientSound::OnUpdate>();
}

dcAmbientSound::~dcAmbientSound()
{
    if (AudioDevice* audio = dcEngine::Instance().GetAudioDevice(); audio && loopVoice_) {
        audio->DestroyVoice(loopVoice_);
    }
}

WideString dcAmbientSound::SoundNameOfMarker(const WideString& markerName)
{
    for (const MarkerPrefix& prefix : kMarkerPrefixes) {
        if (markerName.starts_with(prefix.word)) {
            return markerName.substr(std::min(prefix.cut, markerName.size()));
        }
    }
    return markerName;
}

void dcAmbientSound::SetSound(const WideString& name)
{
    for (const WideString& file : ListFiles(L"Audio\\Ambient\\" + name + L"*.WAV")) {
        files_.push_back(L"Ambient\\" + file);
    }
    countdown_ = 0.0f;
    AudioDevice* audio = dcEngine::Instance().GetAudioDevice();
    if (files_.size() != 1 || !audio) {
        return;
    }
    loopVoice_ = audio->Play(files_.front(), true, false, false);
    loopVoice_->Set3DRange(minDistance_, maxDistance_);
    loopVoice_->Set3DPosition(position_);
    EffectsSoundGroup().Add(*loopVoice_);
    loopVoice_->Play(true);
}

void dcAmbientSound::OnUpdate(const dcUpdate& message)
{
    if (files_.empty() || loopVoice_) {
        return;
    }
    countdown_ -= message.step;
    if (countdown_ >= 0.0f) {
        return;
    }
    AudioDevice* audio = dcEngine::Instance().GetAudioDevice();
    GameModule* game = GameModule::Get();
    if (!audio || !game) {
        return;
    }
    const Vec3 toCamera = game->GetViewCamera().GetPosition() - position_;
    if (Vec3::Dot(toCamera, toCamera) >= maxDistance_ * maxDistance_) {
        return;
    }
    audio->PlayAt(files_[std::rand() % files_.size()], position_, minDistance_, maxDistance_,
                  EffectsSoundGroup().GetVolume(), nullptr);
    countdown_ = RandomRange(kShortestPause, kLongestPause);
}
