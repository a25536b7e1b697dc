// Finds the clicks in a recording and measures them: onset frames, accent or regular, intervals,
// and how far the onsets stray from a straight line. Shared by the end-to-end tests, the
// benchmark and the onset-analyse tool.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace onset_analysis {

struct Recording {
    std::uint32_t sampleRate = 0;
    std::vector<float> samples;  // the first channel
};

// Reads a 16-bit PCM WAV file. A header whose sizes were never filled in (a recorder that was
// stopped) is fine: the data then runs to the end of the file.
std::optional<Recording> ReadWav(const std::string& path);

struct Onset {
    std::int64_t frame;
    float peak;  // the largest magnitude in its first millisecond
    bool accent;
};

// An onset is the first sample above `threshold` after at least `gapMs` below it. Accents are
// the onsets whose peak reaches three quarters of the loudest one.
std::vector<Onset> FindOnsets(const Recording& recording, float threshold = 0.02f,
                              double gapMs = 40);

struct Grid {
    std::size_t count = 0;
    double meanInterval = 0;  // frames
    std::int64_t shortest = 0, longest = 0;
    double slope = 0, intercept = 0;  // least-squares line: frame = intercept + slope * index
    double meanDeviation = 0, sdDeviation = 0;
    double jitter = 0;  // largest distance of an onset from the line, frames
};
// Fits the line through the onsets (at least two).
Grid FitGrid(const std::vector<Onset>& onsets);

// Deviations from a fixed ideal grid: onset i at first + i * idealInterval.
struct Deviation {
    double mean = 0, sd = 0, maxAbs = 0;  // frames
};
Deviation FromIdeal(const std::vector<Onset>& onsets, double idealInterval);

}  // namespace onset_analysis
