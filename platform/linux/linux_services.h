// The real services for the program on Linux, in one object that main() keeps for the whole run:
// the timer thread, the player with its output device, the wave-out volume and the shell.
// Destroying it stops the timers, silences the player and closes the device, so no sample buffer
// is read after it is gone.
//  [x] Timers on a thread of their own (real-time where allowed), paced by the stream's frames
//  [x] PlaySoundA through the player engine on one stream of the sound server: libpulse
//      (pulse_output.h), or PipeWire's own client where forced (pipewire_output.h, output_choice.h)
//  [x] waveOut volume as the stream's own in the server's mixer (the samples scaled where the
//      server refuses it), and the mixer's changes told to the GUI loop (VolumeNoticeFd)
//  [x] ShellExecuteW through xdg-open
//  [ ] ALSA or JACK without a sound server: the program then runs silently
#pragma once

#include <memory>
#include <string>

#include "platform/linux/monotonic_clock.h"
#include "platform/linux/sound_output.h"
#include "platform/linux/thread_timer_service.h"
#include "platform/linux/xdg_shell.h"
#include "platform/player/player_engine.h"
#include "platform/player/volume_wave_out.h"
#include "platform/services.h"

namespace platform::linux_backend {

struct LinuxOptions {
    player::PlayerOptions player;  // the rate and channels are the output's
    bool openAudio = true;         // false: run silently without looking for a server
    int connectWaitMs = 1000;      // how long start-up waits for the first stream
};

class LinuxServices {
  public:
    explicit LinuxServices(const LinuxOptions& options = {});
    ~LinuxServices();
    LinuxServices(const LinuxServices&) = delete;
    LinuxServices& operator=(const LinuxServices&) = delete;

    // The services to hand to platform::Install.
    Services Get();

    bool HasOutput() const { return hasOutput_; }
    const SoundOutput& Output() const { return *output_; }
    player::PlayerEngine& Player() { return *player_; }
    ThreadTimerService& Timers() { return *timers_; }

    // For the GUI loop to watch: readable when the desktop's mixer changed the volume; -1 when
    // it cannot change. Then DeliverVolumeNotice(), on the GUI thread, tells the volume's watcher.
    int VolumeNoticeFd() const { return output_->VolumeNoticeFd(); }
    void DeliverVolumeNotice();

  private:
    SystemMonotonicClock clock_;
    bool hasOutput_ = false;
    std::unique_ptr<player::PlayerEngine> player_;
    std::unique_ptr<SoundOutput> output_;
    std::unique_ptr<player::VolumeWaveOut> waveOut_;
    std::unique_ptr<ThreadTimerService> timers_;
    XdgShell shell_;
};

}  // namespace platform::linux_backend
