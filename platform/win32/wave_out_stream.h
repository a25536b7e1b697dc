// The Windows sound player's output: one waveOut stream on the default output, opened once and
// fed by the player engine block by block, in plain C++ over a WaveDevice.
//
// The engine counts in the stream's frames; the device's position (frames played since the open)
// is what is heard, and becomes the engine's timing report. Blocks are refilled as the device
// gives them back, so the stream never stops: every frame of the count is played once, and the
// clicks keep their frames. A device that fails, stops playing or stops being the default output
// is closed and the default output opened again; the engine's runs go on from the new stream.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "platform/player/player_engine.h"
#include "platform/win32/wave_device.h"

namespace platform::win32 {

struct WaveStreamOptions {
    std::uint32_t rate = 44100;  // the rate of the program's sounds: nothing to convert
    unsigned channels = 2;
    std::uint32_t blockFrames = 441;  // 10 ms
    std::size_t blocks = 10;          // 100 ms queued
};

class WaveOutStream {
  public:
    // The engine renders at options.rate and options.channels; both must outlive the stream.
    WaveOutStream(player::PlayerEngine& engine, WaveDevice& device,
                  const WaveStreamOptions& options = {});

    // The output's thread: keeps the stream going at nowNs (opens it when a try is due, refills
    // the blocks played, notices a lost, stopped or replaced device, applies the volume). Returns
    // when it wants to be called again at the latest; the device's own signal may come sooner.
    std::int64_t Service(std::int64_t nowNs) noexcept;
    // The output's thread: closes the device; the engine's runs fall back on the monotonic clock.
    void Close() noexcept;

    // Any thread. The volume that governs the stream: the device's own, read when it opens until
    // one is set; a set one is applied at the next Service and to every device opened later.
    void SetVolume(std::uint32_t volume);
    std::uint32_t Volume() const { return volume_.load(std::memory_order_relaxed); }
    bool Playing() const { return open_.load(std::memory_order_relaxed); }
    // How many times a device was opened again after the first.
    int Reopens() const { return reopens_.load(std::memory_order_relaxed); }
    // How many opens have been tried.
    int Tries() const { return tries_.load(std::memory_order_acquire); }

    static constexpr std::int64_t kStallNs = 1'000'000'000;     // a device this long silent is lost
    static constexpr std::int64_t kStandsNs = 200'000'000;      // the stream stands before that
    static constexpr std::int64_t kCheckNs = 500'000'000;       // a new default output is seen
    static constexpr std::int64_t kFirstRetryNs = 100'000'000;  // then backing off to
    static constexpr std::int64_t kLastRetryNs = 1'000'000'000;

  private:
    bool Open(std::int64_t nowNs) noexcept;
    void Lose(std::int64_t nowNs) noexcept;
    bool Fill(std::size_t block, const player::StreamReport& report) noexcept;
    player::StreamReport Report() const noexcept;

    player::PlayerEngine& engine_;
    WaveDevice& device_;
    const WaveStreamOptions options_;
    std::vector<float> scratch_;
    std::vector<std::int16_t> samples_;  // the blocks, one after another

    // The output's thread only.
    bool everOpened_ = false;
    std::size_t next_ = 0;         // the block that comes back next
    std::int64_t base_ = 0;        // the engine's frame at the device's position 0
    std::uint64_t position_ = 0;   // the device's position when last read ...
    std::int64_t positionNs_ = 0;  // ... and when it was first seen
    std::int64_t retryNs_ = 0;     // when to try to open again
    std::int64_t backoffNs_ = 0;
    std::int64_t checkNs_ = 0;      // when to ask for the default output again
    std::uint32_t output_ = 0;      // the default output when the device opened
    std::uint32_t applied_ = 0;     // the volume the device has
    std::uint32_t volumeSets_ = 0;  // the sets applied so far

    std::atomic<bool> open_{false};
    std::atomic<int> tries_{0};
    std::atomic<int> reopens_{0};
    std::atomic<std::uint32_t> volume_{0xFFFFFFFFu};
    std::atomic<std::uint32_t> sets_{0};  // bumped by each SetVolume
};

}  // namespace platform::win32
