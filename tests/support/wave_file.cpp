// Writes canonical 44-byte-header WAVE images.
#include "wave_file.h"

#include <fstream>

namespace test_support {
namespace {
void Put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
void Put16(std::string& s, std::uint16_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>(v >> 8));
}
}  // namespace

std::string MakeWave(const std::vector<std::int16_t>& samples, std::uint32_t rate,
                     std::uint16_t channels) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string s = "RIFF";
    Put32(s, 36 + dataBytes);
    s += "WAVEfmt ";
    Put32(s, 16);
    Put16(s, 1);
    Put16(s, channels);
    Put32(s, rate);
    Put32(s, rate * channels * 2);
    Put16(s, static_cast<std::uint16_t>(channels * 2));
    Put16(s, 16);
    s += "data";
    Put32(s, dataBytes);
    for (std::int16_t v : samples)
        Put16(s, static_cast<std::uint16_t>(v));
    return s;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace test_support
