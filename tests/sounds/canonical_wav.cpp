// Field-by-field header check, so a failure names the field that is wrong.
#include "canonical_wav.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace sounds_test {
namespace {

std::uint32_t Le(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | b[at + static_cast<std::size_t>(i)];
    return v;
}

bool Tag(const std::vector<std::uint8_t>& b, std::size_t at, const char* tag) {
    return std::memcmp(b.data() + at, tag, 4) == 0;
}

}  // namespace

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

CanonicalWav ParseCanonicalWav(const std::vector<std::uint8_t>& b) {
    CanonicalWav wav;
    if (b.size() < 44)
        wav.problem = "shorter than a header";
    else if (!Tag(b, 0, "RIFF") || !Tag(b, 8, "WAVE"))
        wav.problem = "not RIFF WAVE";
    else if (Le(b, 4, 4) != b.size() - 8)
        wav.problem = "RIFF size does not match the file";
    else if (!Tag(b, 12, "fmt ") || Le(b, 16, 4) != 16)
        wav.problem = "no 16-byte fmt chunk first";
    else if (Le(b, 20, 2) != 1)
        wav.problem = "not PCM";
    else if (Le(b, 22, 2) != 1)
        wav.problem = "not mono";
    else if (Le(b, 24, 4) != 44100)
        wav.problem = "not 44100 Hz";
    else if (Le(b, 28, 4) != 88200 || Le(b, 32, 2) != 2)
        wav.problem = "wrong byte rate or align";
    else if (Le(b, 34, 2) != 16)
        wav.problem = "not 16-bit";
    else if (!Tag(b, 36, "data") || Le(b, 40, 4) != b.size() - 44)
        wav.problem = "data chunk does not fill the rest of the file";
    else if (b.size() % 2 != 0)
        wav.problem = "odd data size";
    if (!wav.problem.empty())
        return wav;
    for (std::size_t at = 44; at < b.size(); at += 2)
        wav.samples.push_back(static_cast<std::int16_t>(Le(b, at, 2)));
    return wav;
}

}  // namespace sounds_test
