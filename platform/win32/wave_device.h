// The output device under the Windows sound player, in plain types: a waveOut stream of 16-bit
// PCM blocks on the default output. winmm_wave_device.cpp is the real one; the tests drive the
// block queue above it with a device of their own in virtual time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::win32 {

class WaveDevice {
  public:
    virtual ~WaveDevice() = default;

    // Opens the default output (the wave mapper) with `blocks` block headers of its own; false
    // when no output can be opened. Blocks are queued by index and come back in queue order.
    virtual bool Open(std::uint32_t rate, unsigned channels, std::size_t blocks) = 0;
    virtual void Close() = 0;
    // Queues block `index` (the samples stay valid until it is played); false on a device error.
    virtual bool Queue(std::size_t index, const std::int16_t* samples, std::uint32_t frames) = 0;
    // Whether block `index` has been played and may be filled again.
    virtual bool Played(std::size_t index) const = 0;
    // Frames played since the open; false on a device error.
    virtual bool Position(std::uint64_t& frames) = 0;
    // The stream's own volume, low 16 bits left, high 16 bits right; false when it has none.
    virtual bool GetVolume(std::uint32_t& volume) = 0;
    virtual bool SetVolume(std::uint32_t volume) = 0;
    // Which output the system would choose now: a change means the default device changed.
    virtual std::uint32_t DefaultOutput() = 0;
};

}  // namespace platform::win32
