#pragma once
// Keeps a streamed voice's one-second ring filled from its sound file, on a
// thread of its own, ahead of the position the mixer plays. The first quarter
// second of the ring plays as silence while the rest fills.

#include "engine/audio/SoundData.h"
#include "engine/core/CriticalSection.h"
#include "engine/core/Thread.h"

#include <atomic>
#include <memory>

class Channel;

class VoiceStream {
public:
    // The channel is bound to the ring buffer already.
    VoiceStream(Channel& channel, std::unique_ptr<SoundData> data);
    // Stops the thread and waits for it, so nothing touches the ring after.
    ~VoiceStream();
    VoiceStream(const VoiceStream&) = delete;
    VoiceStream& operator=(const VoiceStream&) = delete;

    SoundData& Data() { return *data_; }
    const SoundData& Data() const { return *data_; }
    // Moves the file to the time, never in the middle of a refill. For a
    // stopped voice the ring also starts over from its beginning, a quarter
    // second of silence first; a playing one plays what the ring holds, then
    // the new part.
    void Seek(float seconds, bool startOver);

private:
    static int32_t Run(ThreadHandle& self, void* stream);
    void Fill();

    Channel& channel_;
    std::unique_ptr<SoundData> data_;
    // Held by each refill and by a restart, so a restart never meets a half-done refill.
    CriticalSection lock_;
    int32_t writePosition_ = 0;   // frames into the ring
    std::atomic<bool> running_{true};
    Thread thread_;
};
