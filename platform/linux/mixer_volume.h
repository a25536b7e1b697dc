// The slider's volume (0 to 65535, proportional to the sound's amplitude, as the samples were
// scaled) and the sound server's volume of a stream (0 to 65536 for full, a cube law: what the
// desktop's mixer shows as a percentage), or PipeWire's channel volume of it (linear). One slider
// step is finer than the server's near full volume, so a value that goes there and back may come
// back a step or two apart.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace platform::linux_backend {

inline constexpr std::uint32_t kMixerFull = 0x10000;  // the server's 100 %

inline std::uint32_t ToMixer(std::uint16_t slider) {
    if (slider == 0)
        return 0;
    return static_cast<std::uint32_t>(std::lround(std::cbrt(slider / 65535.0) * kMixerFull));
}

// Above full (a mixer allows 150 %) counts as full.
inline std::uint16_t FromMixer(std::uint32_t mixer) {
    const double ratio = std::min(1.0, static_cast<double>(mixer) / kMixerFull);
    return static_cast<std::uint16_t>(std::lround(ratio * ratio * ratio * 65535.0));
}

// PipeWire's channel volumes scale the amplitude, as the slider does (pipewire-pulse shows the
// mixers their cube root): the same server volume as ToMixer(), in PipeWire's terms.
inline float ToChannel(std::uint16_t slider) {
    return static_cast<float>(slider) / 65535.0f;
}

// Above full counts as full; anything not a volume (below zero, not a number) as silence.
inline std::uint16_t FromChannel(float value) {
    const double ratio = value > 0 ? std::min(1.0, static_cast<double>(value)) : 0.0;
    return static_cast<std::uint16_t>(std::lround(ratio * 65535.0));
}

// Whether two channel volumes are the same slider value within the two steps that a round
// through the server's terms may move it.
inline bool SameChannel(float a, float b) {
    const int u = FromChannel(a), v = FromChannel(b);
    return u - v <= 2 && v - u <= 2;
}

}  // namespace platform::linux_backend
