// Finds the clicks in a recording and measures them: onset frames, accent or regular, intervals,
// and how far the onsets stray from a straight line; also finds steady tones and their pitch.
// Shared by the end-to-end tests, the benchmark and the onset-analyse tool.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace onset_analysis {

struct Recording {
    std::uint32_t sampleRate = 0;
    std::vector<float> samples;  // one channel, or the difference of two
};

// Which part of a stereo recording to read. Two clients mixed into one sink, one of them on the
// left channel only, are told apart: the right channel holds the other alone, and the left less
// the right the first alone, each in the sink's own frames.
enum class Part { kFirst, kSecond, kFirstLessSecond };

// Reads a 16-bit PCM WAV file. A header whose sizes were never filled in (a recorder that was
// stopped) is fine: the data then runs to the end of the file. A part that needs a second
// channel reads nothing from a mono file.
std::optional<Recording> ReadWav(const std::string& path, Part part = Part::kFirst);
// One channel (0 is the first) of a recording with any number of channels: clients that share a
// sink of many channels, each on its own.
std::optional<Recording> ReadWavChannel(const std::string& path, unsigned channel);

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

struct Tone {
    double start = 0, end = 0;  // frames of its first and last rising zero crossing, interpolated
    std::size_t cycles = 0;
    double frequency = 0;  // Hz
    float peak = 0;        // its largest magnitude
    float after = 0;       // the largest magnitude in the 10 ms from one period past its end
};
// Steady tones: runs of rising zero crossings, at least `minMs` long and 20 periods, whose periods
// each stay within `tolerance` (a fraction) of the run's mean and swing past `threshold`. A click
// is no tone, even one made of a few dozen even periods, and it breaks a tone it falls on.
std::vector<Tone> FindTones(const Recording& recording, double minMs = 100, double tolerance = 0.02,
                            float threshold = 0.02f);

}  // namespace onset_analysis
