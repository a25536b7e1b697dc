// One sounding WAVE image: reads its PCM frames straight from the image, converting rate (linear
// interpolation) and channels on the fly, so nothing is converted or allocated ahead of playing.
#pragma once

#include <cstdint>

#include "platform/wave_image.h"

namespace platform::player {

class Voice {
  public:
    Voice() = default;
    Voice(const WaveImage& image, bool loop, std::uint32_t outputRate);

    bool Active() const { return active_; }
    void Stop() { active_ = false; }
    // Goes on by `frames` output frames without sounding them (they were lost).
    void Skip(std::uint64_t frames);
    // Adds up to `frames` frames into `out` (interleaved, `channels` per frame) scaled by the
    // gains; stops itself at the end of a sound that does not loop.
    void Mix(float* out, std::uint32_t frames, unsigned channels, float gainLeft, float gainRight);

  private:
    float SourceSample(std::uint64_t frame, unsigned channel) const;

    WaveImage image_;
    bool active_ = false;
    bool loop_ = false;
    std::uint64_t frames_ = 0;
    std::uint64_t pos_ = 0;   // source position, 32.32 fixed point
    std::uint64_t step_ = 0;  // source frames per output frame, 32.32 fixed point
};

}  // namespace platform::player
