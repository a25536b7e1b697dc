// All platform doubles in one place, sharing one call log and one virtual clock.
#pragma once

#include <string>
#include <vector>

#include "platform/doubles/call_log.h"
#include "platform/doubles/fake_timer_service.h"
#include "platform/doubles/fake_wave_out.h"
#include "platform/doubles/recording_sound_player.h"

namespace platform::doubles {

class RecordingShell : public Shell {
  public:
    HINSTANCE Execute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                      int show) override;
    std::vector<std::u16string> opened;
    bool fail = false;
};

struct FakePlatform {
    CallLog log;
    FakeTimerService timers{log};
    RecordingSoundPlayer player{log, timers};
    FakeWaveOut waveOut{log, timers};
    RecordingShell shell;

    FakePlatform() { Install(); }
    ~FakePlatform() { platform::Install({}); }
    FakePlatform(const FakePlatform&) = delete;
    FakePlatform& operator=(const FakePlatform&) = delete;

    void Install() { platform::Install({&timers, &player, &waveOut, &shell}); }
};

}  // namespace platform::doubles
