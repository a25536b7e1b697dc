// The real services for the program on Linux, in one object that main() keeps for the whole run:
// the timer thread, the player with its output device, the wave-out volume and the shell.
// Destroying it stops the timers, silences the player and closes the device, so no sample buffer
// is read after it is gone.
#pragma once

#include <memory>
#include <string>

#include "platform/linux/monotonic_clock.h"
#include "platform/linux/player_wave_out.h"
#include "platform/linux/pulse_output.h"
#include "platform/linux/thread_timer_service.h"
#include "platform/linux/xdg_shell.h"
#include "platform/player/player_engine.h"
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
    const PulseOutput& Output() const { return *output_; }
    player::PlayerEngine& Player() { return *player_; }
    ThreadTimerService& Timers() { return *timers_; }

  private:
    SystemMonotonicClock clock_;
    bool hasOutput_ = false;
    std::unique_ptr<player::PlayerEngine> player_;
    std::unique_ptr<PulseOutput> output_;
    std::unique_ptr<PlayerWaveOut> waveOut_;
    std::unique_ptr<ThreadTimerService> timers_;
    XdgShell shell_;
};

}  // namespace platform::linux_backend
