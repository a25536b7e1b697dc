// The waveOut stream on the default output (the wave mapper), through winmm: 16-bit PCM blocks,
// an event that the system signals whenever a block comes back, its position and its volume.
#pragma once

#include <memory>

#include "platform/win32/wave_device.h"

namespace platform::win32 {

class WinmmWaveDevice : public WaveDevice {
  public:
    WinmmWaveDevice();
    ~WinmmWaveDevice() override;
    WinmmWaveDevice(const WinmmWaveDevice&) = delete;
    WinmmWaveDevice& operator=(const WinmmWaveDevice&) = delete;

    bool Open(std::uint32_t rate, unsigned channels, std::size_t blocks) override;
    void Close() override;
    bool Queue(std::size_t index, const std::int16_t* samples, std::uint32_t frames) override;
    bool Played(std::size_t index) const override;
    bool Position(std::uint64_t& frames) override;
    bool GetVolume(std::uint32_t& volume) override;
    bool SetVolume(std::uint32_t volume) override;
    std::uint32_t DefaultOutput() override;

    // The event that the system signals when a block comes back (it outlives every stream).
    void* Event() const;

  private:
    struct State;  // the system's handle and block headers
    std::unique_ptr<State> state_;
};

}  // namespace platform::win32
