// The output device through RtAudio: the sound server (PulseAudio, which PipeWire desktops also
// serve), ALSA or JACK, whichever opens first, with a short buffer. Its callback hands every
// buffer to the player engine with the time it came at.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/player/player_engine.h"

class RtAudio;

namespace platform::linux_backend {

class RtAudioOutput {
  public:
    RtAudioOutput();
    ~RtAudioOutput();
    RtAudioOutput(const RtAudioOutput&) = delete;
    RtAudioOutput& operator=(const RtAudioOutput&) = delete;

    // Opens a float stream at the rate and channel count asked for (or what the device gives);
    // false when no API has a device. Keeps the libraries' own messages off the console.
    bool Open(std::uint32_t sampleRate, unsigned channels, unsigned bufferFrames);
    std::uint32_t SampleRate() const { return sampleRate_; }
    unsigned Channels() const { return channels_; }
    unsigned BufferFrames() const { return bufferFrames_; }
    const std::string& ApiName() const { return apiName_; }

    // Starts rendering through the engine, which must outlive Close().
    bool Start(player::PlayerEngine& engine);
    // Stops the stream and joins its thread: no callback runs after it returns.
    void Close();

  private:
    // The audio callback, on RtAudio's thread.
    static int Callback(void* out, void* in, unsigned frames, double streamTime, unsigned status,
                        void* self) noexcept;

    std::unique_ptr<RtAudio> audio_;
    player::PlayerEngine* engine_ = nullptr;
    std::uint32_t sampleRate_ = 0;
    unsigned channels_ = 0;
    unsigned bufferFrames_ = 0;
    std::string apiName_;
    std::int64_t lastReturnNs_ = 0;  // callback thread only
};

}  // namespace platform::linux_backend
