// The nine samples the metronome loads from sounds/: a reference tone and four click pairs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tools {

struct Sound {
    std::string fileName;
    std::vector<std::int16_t> samples;  // mono, 44.1 kHz
};

// In the order: tone, then each click as accent ("1") followed by its regular beat ("2").
std::vector<Sound> MakeAllSounds();

}  // namespace tools
