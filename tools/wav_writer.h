// Writes 16-bit mono PCM as a RIFF WAVE file with the plain 44-byte header.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace tools {

constexpr std::uint32_t kSampleRate = 44100;

// The whole file image, header included.
std::vector<std::uint8_t> EncodeWav(const std::vector<std::int16_t>& samples);
// Returns false if the file could not be written completely.
bool WriteWav(const std::filesystem::path& path, const std::vector<std::int16_t>& samples);

}  // namespace tools
