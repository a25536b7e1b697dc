// Builds RIFF WAVE images for tests: a sharp accent click, a weaker regular click and a tone, all
// made here so that the tests need no sample files.
#pragma once

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace test_waves {

struct Format {
    std::uint32_t rate = 48000;
    std::uint16_t channels = 1;
    std::uint16_t bits = 16;
};

// samples: one value in [-1, 1] per channel per frame, interleaved.
inline std::vector<std::uint8_t> MakeWave(const std::vector<float>& samples, Format f = {}) {
    std::vector<std::uint8_t> out;
    const auto put32 = [&out](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    const auto putTag = [&out](const char(&tag)[5]) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(tag[i]));
    };
    const auto put16 = [&out](std::uint16_t v) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    const std::uint32_t bytesPer = f.bits / 8;
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * bytesPer);
    putTag("RIFF");
    put32(36 + dataBytes + (dataBytes & 1));
    putTag("WAVE");
    putTag("fmt ");
    put32(16);
    put16(1);
    put16(f.channels);
    put32(f.rate);
    put32(f.rate * f.channels * bytesPer);
    put16(static_cast<std::uint16_t>(f.channels * bytesPer));
    put16(f.bits);
    putTag("data");
    put32(dataBytes);
    for (float s : samples) {
        if (f.bits == 8)
            out.push_back(static_cast<std::uint8_t>(std::lround(128 + s * 127)));
        else
            put16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(s * 32767))));
    }
    if (dataBytes & 1)
        out.push_back(0);
    return out;
}

// A click: a first sample at `level`, then a decaying burst, `ms` long, never silent inside.
inline std::vector<float> Click(float level, double ms, std::uint32_t rate = 48000) {
    const auto n = static_cast<std::size_t>(ms * rate / 1000);
    std::vector<float> s(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double decay = std::exp(-5.0 * static_cast<double>(i) / static_cast<double>(n));
        const double wave = (i % 8 < 4) ? 1.0 : -1.0;  // 6 kHz square at 48 kHz
        s[i] = static_cast<float>(level * decay * wave);
    }
    return s;
}

inline std::vector<std::uint8_t> AccentWave(std::uint32_t rate = 48000) {
    return MakeWave(Click(0.9f, 30, rate), {rate, 1, 16});
}
inline std::vector<std::uint8_t> RegularWave(std::uint32_t rate = 48000) {
    return MakeWave(Click(0.45f, 20, rate), {rate, 1, 16});
}

// A sine of whole cycles, so that it loops without a seam: `cycles` periods of `hz`.
inline std::vector<float> Tone(double hz, int cycles, std::uint32_t rate = 48000) {
    const auto n = static_cast<std::size_t>(std::lround(cycles * rate / hz));
    std::vector<float> s(n);
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<float>(
            0.5 * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / rate));
    return s;
}

}  // namespace test_waves
