// A wave-out device that only keeps a volume, and records what was asked of it.
#pragma once

#include "platform/doubles/call_log.h"
#include "platform/doubles/fake_timer_service.h"
#include "platform/services.h"

namespace platform::doubles {

class FakeWaveOut : public WaveOutDevice {
  public:
    FakeWaveOut(CallLog& log, const FakeTimerService& clock) : log_(log), clock_(clock) {}

    MMRESULT Open(HWAVEOUT* handle, UINT deviceId, const WAVEFORMATEX* format) override;
    MMRESULT GetVolume(HWAVEOUT handle, DWORD* volume) override;
    MMRESULT SetVolume(HWAVEOUT handle, DWORD volume) override;
    MMRESULT Reset(HWAVEOUT handle) override;
    MMRESULT Close(HWAVEOUT handle) override;
    MMRESULT WatchVolume(HWAVEOUT handle, VolumeNotice notice, void* context) override;

    void SetVolumeDirectly(DWORD volume) { volume_ = volume; }
    // The desktop's mixer sets the volume: the watcher hears of it as the GUI loop would tell it.
    void SetVolumeFromMixer(DWORD volume);
    DWORD Volume() const { return volume_; }
    void FailOpen(bool fail) { failOpen_ = fail; }
    bool IsOpen() const { return open_; }
    const WAVEFORMATEX& LastFormat() const { return format_; }

  private:
    bool Valid(HWAVEOUT handle) const { return open_ && handle == &device_; }
    CallLog& log_;
    const FakeTimerService& clock_;
    HWAVEOUT__ device_;
    WAVEFORMATEX format_{};
    DWORD volume_ = 0xFFFFFFFF;
    bool open_ = false;
    VolumeNotice notice_ = nullptr;
    void* noticeContext_ = nullptr;
    bool failOpen_ = false;
};

}  // namespace platform::doubles
