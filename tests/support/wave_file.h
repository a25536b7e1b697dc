// Small WAVE images for tests: 16-bit PCM made from given samples.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace test_support {

std::string MakeWave(const std::vector<std::int16_t>& samples, std::uint32_t rate = 44100,
                     std::uint16_t channels = 1);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

}  // namespace test_support
