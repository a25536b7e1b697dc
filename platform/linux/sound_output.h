// What the Linux services need of a sound server output, whichever client library it speaks.
#pragma once

#include <cstdint>
#include <string>

#include "platform/player/volume_wave_out.h"

namespace platform::linux_backend {

// Who plays, as the desktop's mixer shows it: as the desktop entry names the program.
struct StreamIdentity {
    static constexpr const char* kName = "Vorla Metronome";
    static constexpr const char* kId = "example.vorla.Metronome";  // the desktop entry's file name
    static constexpr const char* kIcon = "vorla-metronome";
    // A tool that makes music, not music to listen to: no server corks or ducks it for a call.
    static constexpr const char* kRole = "production";
    static constexpr const char* kStreamName = "Click";
};

// One stream of the player engine at kRate and kChannels, with the stream's own volume.
class SoundOutput : public player::OutputVolume {
  public:
    static constexpr std::uint32_t kRate = 48000;
    static constexpr unsigned kChannels = 2;

    // Starts the client thread and connects: true when a stream plays within waitMs. Without a
    // server it keeps trying in the background, and a server that comes later is used.
    virtual bool Start(int waitMs) = 0;
    // Stops the client thread: no callback runs after it returns.
    virtual void Close() = 0;

    virtual bool Playing() const = 0;
    // Which client library plays: "pulse" or "pipewire".
    virtual std::string ApiName() const = 0;
    // How many times a lost server was connected to again.
    virtual int Reconnects() const = 0;
    // Readable when the volume was changed outside the program; -1 without a running output.
    virtual int VolumeNoticeFd() const = 0;
    // Empties VolumeNoticeFd(): true when it told of a change.
    virtual bool TakeVolumeNotice() = 0;
    // Whether the server took the stream's volume (else the samples are scaled).
    virtual bool ServerVolume() const = 0;
};

}  // namespace platform::linux_backend
