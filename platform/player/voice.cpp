// Playing one image: fixed-point stepping through its frames, wrapping when it loops.
#include "platform/player/voice.h"

namespace platform::player {

Voice::Voice(const WaveImage& image, bool loop, std::uint32_t outputRate)
    : image_(image), loop_(loop), frames_(image.Frames()) {
    active_ = frames_ > 0 && outputRate > 0;
    if (active_)
        step_ = (std::uint64_t{image.sampleRate} << 32) / outputRate;
}

float Voice::SourceSample(std::uint64_t frame, unsigned channel) const {
    if (frame >= frames_) {
        if (!loop_)
            return 0.0f;
        frame %= frames_;
    }
    return image_.Sample(frame, image_.channels == 2 ? channel : 0);
}

void Voice::Skip(std::uint64_t frames) {
    if (!active_)
        return;
    // 32.32 fixed point in parts, so that a long skip cannot overflow.
    constexpr std::uint64_t kLow = 0xFFFFFFFFu;
    const std::uint64_t low = (step_ & kLow) * frames;
    std::uint64_t fraction = (pos_ & kLow) + (low & kLow);
    const std::uint64_t index =
        (pos_ >> 32) + (step_ >> 32) * frames + (low >> 32) + (fraction >> 32);
    fraction &= kLow;
    if (index >= frames_ && !loop_) {
        active_ = false;
        return;
    }
    pos_ = ((index % frames_) << 32) + fraction;
}

void Voice::Mix(float* out, std::uint32_t frames, unsigned channels, float gainLeft,
                float gainRight) {
    for (std::uint32_t i = 0; i < frames && active_; ++i) {
        std::uint64_t index = pos_ >> 32;
        if (index >= frames_) {
            if (!loop_) {
                active_ = false;
                break;
            }
            pos_ -= frames_ << 32;
            index -= frames_;
        }
        const float frac = static_cast<float>(pos_ & 0xFFFFFFFFu) * (1.0f / 4294967296.0f);
        float left = SourceSample(index, 0);
        left += (SourceSample(index + 1, 0) - left) * frac;
        float right = left;
        if (image_.channels == 2) {
            right = SourceSample(index, 1);
            right += (SourceSample(index + 1, 1) - right) * frac;
        }
        if (channels == 1) {
            out[i] += 0.5f * (left * gainLeft + right * gainRight);
        } else {
            out[i * channels] += left * gainLeft;
            out[i * channels + 1] += right * gainRight;
        }
        pos_ += step_;
    }
}

}  // namespace platform::player
