// The real services of the Windows program, in one object that main() keeps for the whole run:
// the player engine on one waveOut stream, the timer thread that it paces, the stream's volume
// and the shell. Destroying it stops the timers, silences the player and closes the stream, so no
// sample buffer is read after it is gone.
//  [x] Timers (timeSetEvent and friends), paced by the stream's frames; PlaySoundA through the
//      player engine; the stream's own waveOut volume; ShellExecuteW
//  [x] The file layer (platform/win32/file.cpp): exclusive open, safe replace
//  [x] A lost or changed default output: the stream is opened again
//  [ ] WASAPI: waveOut only
#pragma once

#include <memory>

#include "platform/player/player_engine.h"
#include "platform/player/volume_wave_out.h"
#include "platform/services.h"

namespace platform::win32 {

class ThreadTimerService;
class WaveOutOutput;

class SystemServices {
  public:
    SystemServices();
    ~SystemServices();
    SystemServices(const SystemServices&) = delete;
    SystemServices& operator=(const SystemServices&) = delete;

    // The services to hand to platform::Install.
    Services Get();

  private:
    class Clock : public player::MonotonicClock {
      public:
        std::int64_t NowNs() const override;
    };
    class ShellCalls : public Shell {
      public:
        HINSTANCE Execute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                          LPCWSTR directory, int show) override;
    };

    Clock clock_;
    std::unique_ptr<player::PlayerEngine> player_;
    std::unique_ptr<WaveOutOutput> output_;
    std::unique_ptr<player::VolumeWaveOut> volume_;
    std::unique_ptr<ThreadTimerService> timers_;
    ShellCalls shell_;
};

}  // namespace platform::win32
