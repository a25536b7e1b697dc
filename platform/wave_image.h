// Reads the format and PCM data of an in-memory RIFF WAVE image without ever looking past its
// bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace platform {

struct WaveImage {
    std::uint16_t channels = 0;       // 1 or 2
    std::uint32_t sampleRate = 0;     // frames per second
    std::uint16_t bitsPerSample = 0;  // 8 (unsigned) or 16 (signed, little-endian)
    const std::uint8_t* data = nullptr;
    std::size_t dataBytes = 0;  // whole frames only

    std::size_t BytesPerFrame() const { return std::size_t{channels} * bitsPerSample / 8; }
    std::size_t Frames() const { return BytesPerFrame() ? dataBytes / BytesPerFrame() : 0; }
    // One channel of one frame as a value in [-1, 1).
    float Sample(std::size_t frame, unsigned channel) const;
};

// Accepts uncompressed PCM, 8 or 16 bits, mono or stereo, any rate up to 384 kHz. Chunks that are
// not "fmt " or "data" are skipped. A data chunk that runs past the image is refused.
std::optional<WaveImage> ParseWaveImage(const void* bytes, std::size_t size);

}  // namespace platform
