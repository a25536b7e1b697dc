// Each click is built from damped resonances and filtered noise, shaped to start on its first
// sample and end in silence; the accent of a pair is the same instrument struck higher.
#include "tools/sound_recipes.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <initializer_list>

#include "tools/biquad.h"
#include "tools/noise.h"
#include "tools/portable_math.h"
#include "tools/wav_writer.h"

namespace tools {
namespace {

constexpr double kRate = kSampleRate;
constexpr double kAccentPeak = 0.9;
constexpr double kRegularPeak = 0.5;

using Signal = std::vector<double>;

std::size_t Samples(double ms) {
    return static_cast<std::size_t>(ms * kRate / 1000.0 + 0.5);
}

double Decay(std::size_t n, double decayMs) {
    return Exp(-(n * 1000.0) / (decayMs * kRate));
}

struct Mode {
    double hz;
    double amplitude;
    double decayMs;
};

// Cosine phase, so every resonance is at full swing on the first sample.
void AddModes(Signal& out, std::initializer_list<Mode> modes, double pitch) {
    for (const Mode& m : modes)
        for (std::size_t n = 0; n < out.size(); ++n)
            out[n] += m.amplitude * Decay(n, m.decayMs) * CosineTurns(m.hz * pitch * n / kRate);
}

// The strike itself: filtered noise that dies within a few milliseconds.
void AddStrike(Signal& out, Biquad filter, double amplitude, double decayMs, std::uint32_t seed) {
    Noise noise(seed);
    for (std::size_t n = 0; n < out.size(); ++n)
        out[n] += amplitude * Decay(n, decayMs) * filter.Process(noise.Next());
}

// A quarter-sine rise over a few samples takes the edge off the first sample without delaying
// the onset, and a raised-cosine fade guarantees silence at the end.
void ShapeEnds(Signal& s, double fadeMs) {
    constexpr std::size_t kRise = 6;
    for (std::size_t n = 0; n < kRise && n < s.size(); ++n)
        s[n] *= SineTurns(0.25 * (n + 1) / kRise);
    const std::size_t fade = std::min(Samples(fadeMs), s.size());
    for (std::size_t k = 0; k < fade; ++k)
        s[s.size() - fade + k] *= 0.5 + 0.5 * CosineTurns(0.5 * k / (fade - 1));
}

// Scales the loudest sample to `peak` of full scale. floor(x + 0.5) rounds with exact IEEE
// operations only, so the last bit cannot depend on a library's rounding function.
std::vector<std::int16_t> ToPcm(const Signal& s, double peak) {
    double loudest = 0.0;
    for (double x : s)
        loudest = std::max(loudest, std::fabs(x));
    const double gain = loudest > 0.0 ? peak * 32767.0 / loudest : 0.0;
    std::vector<std::int16_t> pcm;
    pcm.reserve(s.size());
    for (double x : s)
        pcm.push_back(static_cast<std::int16_t>(std::floor(x * gain + 0.5)));
    return pcm;
}

double PeakFor(bool accent) {
    return accent ? kAccentPeak : kRegularPeak;
}

// Accents sit a fifth above the regular beat for the tuned clicks.
double PitchFor(bool accent) {
    return accent ? 1.5 : 1.0;
}

// 440 Hz at -6 dBFS. The phase comes from an integer index, so every 2205 samples (22 cycles)
// repeat exactly and the loop seam is just another sample step.
std::vector<std::int16_t> ReferenceTone() {
    constexpr std::uint32_t kLength = kSampleRate;  // 1 s, 440 whole cycles
    std::vector<std::int16_t> pcm(kLength);
    for (std::uint32_t n = 0; n < kLength; ++n) {
        const double turns = static_cast<double>(n * 440u % kSampleRate) / kRate;
        pcm[n] = static_cast<std::int16_t>(std::floor(16384.0 * SineTurns(turns) + 0.5));
    }
    return pcm;
}

// A dry wooden knock: a short-lived body resonance with two stiffer overtones.
std::vector<std::int16_t> WoodClick(bool accent) {
    const double pitch = PitchFor(accent);
    Signal s(Samples(60));
    AddModes(s, {{1050, 1.0, 10}, {2480, 0.45, 5}, {4130, 0.2, 2.5}}, pitch);
    AddStrike(s, Biquad::BandPass(3000 * pitch, 1.0, kRate), 0.6, 1.0, 0x5eed1);
    ShapeEnds(s, 20);
    return ToPcm(s, PeakFor(accent));
}

// A soft square-ish beep: a sine with a little of the odd harmonics for a "digital" edge.
std::vector<std::int16_t> DigitalBeep(bool accent) {
    const double pitch = PitchFor(accent);
    Signal s(Samples(50));
    AddModes(s, {{1000, 1.0, 30}, {3000, 0.12, 20}, {5000, 0.04, 12}}, pitch);
    ShapeEnds(s, 20);
    return ToPcm(s, PeakFor(accent));
}

// A closed hi-hat: a stick impulse and noise, steeply high-passed, choked within milliseconds.
// The regular beat is a softer stroke, so its top end is rolled off as well.
std::vector<std::int16_t> ClosedHat(bool accent) {
    const double cutoff = accent ? 8000 : 6000;
    const double decayMs = accent ? 11 : 9;
    Biquad first = Biquad::HighPass(cutoff, 0.7, kRate);
    Biquad second = Biquad::HighPass(cutoff, 0.7, kRate);
    Biquad soften = Biquad::LowPass(accent ? 20000 : 10000, 0.7, kRate);
    Noise noise(accent ? 0x4a7c1u : 0x4a7c2u);
    Signal s(Samples(60));
    for (std::size_t n = 0; n < s.size(); ++n) {
        const double input = noise.Next() + (n == 0 ? 2.0 : 0.0);
        s[n] = Decay(n, decayMs) * soften.Process(second.Process(first.Process(input)));
    }
    ShapeEnds(s, 20);
    return ToPcm(s, PeakFor(accent));
}

// A rim click: a hollow low ring and a bright one, both gone almost at once, over a sharp tick.
std::vector<std::int16_t> RimClick(bool accent) {
    const double pitch = PitchFor(accent);
    Signal s(Samples(40));
    AddModes(s, {{520, 1.0, 7}, {1750, 0.8, 4}}, pitch);
    AddStrike(s, Biquad::BandPass(3000 * pitch, 0.7, kRate), 0.5, 0.8, 0x41b1);
    ShapeEnds(s, 15);
    return ToPcm(s, PeakFor(accent));
}

}  // namespace

std::vector<Sound> MakeAllSounds() {
    std::vector<Sound> sounds;
    sounds.push_back({"440Hz.wav", ReferenceTone()});
    for (bool accent : {true, false}) {
        const std::string n = accent ? "1" : "2";
        sounds.push_back({"Metronome" + n + ".wav", WoodClick(accent)});
    }
    for (bool accent : {true, false}) {
        const std::string n = accent ? "1" : "2";
        sounds.push_back({"Click" + n + ".wav", DigitalBeep(accent)});
    }
    for (bool accent : {true, false}) {
        const std::string n = accent ? "1" : "2";
        sounds.push_back({"Hat" + n + ".wav", ClosedHat(accent)});
    }
    for (bool accent : {true, false}) {
        const std::string n = accent ? "1" : "2";
        sounds.push_back({"Rim" + n + ".wav", RimClick(accent)});
    }
    return sounds;
}

}  // namespace tools
