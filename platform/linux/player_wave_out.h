// The wave-out device as the program uses it: only its volume, which governs the player's gain.
#pragma once

#include <atomic>

#include "platform/player/player_engine.h"
#include "platform/services.h"

namespace platform::linux_backend {

class PlayerWaveOut : public WaveOutDevice {
  public:
    explicit PlayerWaveOut(player::PlayerEngine& engine) : engine_(engine) {}

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

    player::PlayerEngine& engine_;
    Device device_;
    std::atomic<bool> open_{false};
};

}  // namespace platform::linux_backend
