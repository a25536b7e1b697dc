// The wave-out device as the program uses it: only its volume, which is the output stream's own.
#pragma once

#include <atomic>

#include "platform/services.h"
#include "platform/win32/wave_out_output.h"

namespace platform::win32 {

class StreamVolume : public WaveOutDevice {
  public:
    explicit StreamVolume(WaveOutOutput& output) : output_(output) {}

    // Any device id and format open the one handle; calls on it after Close fail harmlessly.
    MMRESULT Open(HWAVEOUT* handle, UINT deviceId, const WAVEFORMATEX* format) override;
    MMRESULT GetVolume(HWAVEOUT handle, DWORD* volume) override;
    MMRESULT SetVolume(HWAVEOUT handle, DWORD volume) override;
    MMRESULT Reset(HWAVEOUT handle) override;
    MMRESULT Close(HWAVEOUT handle) override;

  private:
    struct Device : HWAVEOUT__ {};
    bool Valid(HWAVEOUT handle) const {
        return handle == &device_ && open_.load(std::memory_order_relaxed);
    }

    WaveOutOutput& output_;
    Device device_;
    std::atomic<bool> open_{false};
};

}  // namespace platform::win32
