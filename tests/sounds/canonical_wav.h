// Reads a sample file the strict way the metronome's sounds are written: a 44-byte header for
// 44.1 kHz, 16-bit, mono PCM followed by the data and nothing else.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace sounds_test {

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);

struct CanonicalWav {
    std::string problem;  // empty if the file is canonical
    std::vector<std::int16_t> samples;
};
CanonicalWav ParseCanonicalWav(const std::vector<std::uint8_t>& bytes);

}  // namespace sounds_test
