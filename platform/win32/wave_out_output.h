// The Windows sound player's output thread: it keeps the waveOut stream going, woken by the
// system whenever a block comes back, by a new volume, and by its own deadlines. Only it touches
// the device; the engine renders on it.
#pragma once

#include <atomic>
#include <thread>

#include "platform/player/player_engine.h"
#include "platform/player/volume_wave_out.h"
#include "platform/win32/wave_out_stream.h"
#include "platform/win32/winmm_wave_device.h"

namespace platform::win32 {

class WaveOutOutput : public player::OutputVolume {
  public:
    // The engine renders at the options' rate and channels and must outlive Close().
    WaveOutOutput(player::PlayerEngine& engine, const WaveStreamOptions& options);
    ~WaveOutOutput();
    WaveOutOutput(const WaveOutOutput&) = delete;
    WaveOutOutput& operator=(const WaveOutOutput&) = delete;

    // Starts the thread: true when the stream plays within waitMs. Without an output it keeps
    // trying, and one that comes later is used.
    bool Start(int waitMs);
    // Stops the thread and closes the device: nothing renders after it returns.
    void Close();

    // Any thread: the stream's volume (low 16 bits left, high 16 bits right), applied at once.
    void SetVolume(std::uint32_t volume) override;
    std::uint32_t Volume() const override { return stream_.Volume(); }
    bool Playing() const { return stream_.Playing(); }
    int Reopens() const { return stream_.Reopens(); }

  private:
    void Run();

    WinmmWaveDevice device_;
    WaveOutStream stream_;
    void* wake_ = nullptr;
    std::atomic<bool> quit_{false};
    std::thread thread_;
};

}  // namespace platform::win32
