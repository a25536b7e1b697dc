// White noise from a fixed-seed xorshift generator, so every build makes the same hi-hat.
#pragma once

#include <cstdint>

namespace tools {

class Noise {
  public:
    explicit Noise(std::uint32_t seed) : state_(seed ? seed : 1u) {}

    // Uniform in [-1, 1).
    double Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<std::int32_t>(state_) / 2147483648.0;
    }

  private:
    std::uint32_t state_;
};

}  // namespace tools
