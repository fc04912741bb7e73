#include "engine/audio/VoiceStream.h"

#include "engine/audio/Channel.h"
#include "engine/audio/SoundBuffer.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr float kStreamPriority = 0.75f;
constexpr int32_t kRefillsPerPass = 4;
// Less than this many frames free before the play position is left for the next pass.
constexpr int32_t kMinimumRefillFrames = 2048;
constexpr float kPlayingPause = 0.001f;
constexpr float kStoppedPause = 0.1f;

// The ring frame the mixer plays next. The channel's position may stand at
// the end of the ring, where the next frame is its first; refills must
// never reach beyond the ring whatever the position says.
int32_t PlayingFrame(const Channel& channel, int32_t frames)
{
    return std::max(channel.GetPosition(), 0) % frames;
}

// Where writing starts in a fresh ring: after its first quarter, which
// plays as silence while the rest fills.
int32_t FirstWriteFrame(const SoundBuffer* ring)
{
    return ring ? ring->Frames() / 4 : 0;
}

} // namespace

VoiceStream::VoiceStream(Channel& channel, std::unique_ptr<SoundData> data)
    : channel_(channel), data_(std::move(data))
{
    writePosition_ = FirstWriteFrame(channel_.GetBuffer());
    thread_.Start(Run, this, kStreamPriority);
}

VoiceStream::~VoiceStream()
{
    running_ = false;
    thread_.Join();
}

int32_t VoiceStream::Run(ThreadHandle&, void* stream)
{
    VoiceStream& self = *static_cast<VoiceStream*>(stream);
    while (self.running_) {
        self.Fill();
        SleepSeconds(self.channel_.IsInMixer() ? kPlayingPause : kStoppedPause);
    }
    return 0;
}

void VoiceStream::Fill()
{
    CriticalSectionLock lock(lock_);
    SoundBuffer* ring = channel_.GetBuffer();
    const int32_t frames = ring ? ring->Frames() : 0;
    if (frames == 0) {
        return;
    }
    const int32_t bytesPerFrame = ring->BytesPerFrame();
    uint8_t* bytes = reinterpret_cast<uint8_t*>(ring->Samples());
    for (int32_t i = 0; i < kRefillsPerPass; ++i) {
        const int32_t playing = PlayingFrame(channel_, frames);
        int32_t count;
        if (playing < writePosition_) {
            count = frames - writePosition_;   // up to the end of the ring
        } else {
            count = playing - writePosition_;
            if (count <= kMinimumRefillFrames) {
                break;
            }
        }
        const int32_t got = data_->Read(bytes + writePosition_ * bytesPerFrame, count * bytesPerFrame);
        writePosition_ = (writePosition_ + (got > 0 ? got : 0) / bytesPerFrame) % frames;
    }
}

void VoiceStream::Seek(float seconds, bool startOver)
{
    CriticalSectionLock lock(lock_);
    data_->Seek(seconds);
    if (!startOver) {
        return;
    }
    SoundBuffer* ring = channel_.GetBuffer();
    writePosition_ = FirstWriteFrame(ring);
    if (writePosition_ > 0) {
        std::memset(ring->Samples(), 0, static_cast<size_t>(writePosition_) * ring->BytesPerFrame());
    }
    channel_.SetPosition(0);
}
