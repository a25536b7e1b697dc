// RIFF WAVE parsing: every read is checked against the image's size first.
#include "platform/wave_image.h"

#include <cstring>

namespace platform {
namespace {

std::uint32_t Le32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}
std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

}  // namespace

float WaveImage::Sample(std::size_t frame, unsigned channel) const {
    const std::uint8_t* p = data + frame * BytesPerFrame() + channel * (bitsPerSample / 8);
    if (bitsPerSample == 8)
        return (static_cast<int>(p[0]) - 128) / 128.0f;
    return static_cast<std::int16_t>(Le16(p)) / 32768.0f;
}

std::optional<WaveImage> ParseWaveImage(const void* bytes, std::size_t size) {
    const auto* b = static_cast<const std::uint8_t*>(bytes);
    if (!b || size < 12 || std::memcmp(b, "RIFF", 4) != 0 || std::memcmp(b + 8, "WAVE", 4) != 0)
        return std::nullopt;
    // The RIFF size may claim less than the file holds (trailing bytes) but never more.
    // It holds at least the form type "WAVE".
    const std::uint64_t riffEnd = std::uint64_t{Le32(b + 4)} + 8;
    if (riffEnd > size || riffEnd < 12)
        return std::nullopt;
    const std::size_t end = static_cast<std::size_t>(riffEnd);

    WaveImage image;
    bool haveFormat = false;
    std::size_t pos = 12;
    while (end - pos >= 8) {
        const std::uint8_t* chunk = b + pos;
        const std::size_t chunkSize = Le32(chunk + 4);
        const std::size_t body = pos + 8;
        if (chunkSize > end - body)
            return std::nullopt;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (chunkSize < 16)
                return std::nullopt;
            const std::uint8_t* f = b + body;
            const std::uint16_t tag = Le16(f);
            image.channels = Le16(f + 2);
            image.sampleRate = Le32(f + 4);
            const std::uint16_t blockAlign = Le16(f + 12);
            image.bitsPerSample = Le16(f + 14);
            if (tag != 1 || image.channels < 1 || image.channels > 2 ||
                (image.bitsPerSample != 8 && image.bitsPerSample != 16) || image.sampleRate < 1 ||
                image.sampleRate > 384000 || blockAlign != image.BytesPerFrame())
                return std::nullopt;
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat)
                return std::nullopt;
            image.data = b + body;
            image.dataBytes = chunkSize - chunkSize % image.BytesPerFrame();
            return image;
        }
        pos = body + chunkSize + (chunkSize & 1);
        if (pos > end)
            break;
    }
    return std::nullopt;
}

}  // namespace platform
