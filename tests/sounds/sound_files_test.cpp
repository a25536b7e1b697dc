// The committed samples load in the player and have what a recording analyser relies on: a
// seamless reference tone, clicks that start on their first sample, and accents that stand out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/wave_image.h"
#include "read_file.h"

namespace sounds_test {
namespace {

constexpr double kFullScale = 32767.0;
constexpr std::size_t kSamplesPerMs = 44;  // rounded down from 44.1

const std::vector<std::string> kAccents = {"Metronome1.wav", "Click1.wav", "Hat1.wav", "Rim1.wav"};
const std::vector<std::string> kRegulars = {"Metronome2.wav", "Click2.wav", "Hat2.wav", "Rim2.wav"};

std::vector<std::uint8_t> Bytes(const std::string& name) {
    return ReadFile(std::string(SOURCE_DIR "/sounds/") + name);
}

// The player's own parser reads the samples; an empty result fails the caller's checks.
std::vector<std::int16_t> Load(const std::string& name) {
    const std::vector<std::uint8_t> bytes = Bytes(name);
    const auto image = platform::ParseWaveImage(bytes.data(), bytes.size());
    std::vector<std::int16_t> samples;
    if (!image || image->bitsPerSample != 16 || image->channels != 1) {
        ADD_FAILURE() << name << " is not 16-bit mono PCM";
        return samples;
    }
    for (std::size_t n = 0; n < image->Frames(); ++n)
        samples.push_back(
            static_cast<std::int16_t>(image->data[2 * n] | image->data[2 * n + 1] << 8));
    return samples;
}

std::vector<std::string> AllFiles() {
    std::vector<std::string> all = {"440Hz.wav"};
    all.insert(all.end(), kAccents.begin(), kAccents.end());
    all.insert(all.end(), kRegulars.begin(), kRegulars.end());
    return all;
}

int Peak(const std::vector<std::int16_t>& s, std::size_t from = 0, std::size_t to = SIZE_MAX) {
    int peak = 0;
    for (std::size_t n = from; n < std::min(to, s.size()); ++n)
        peak = std::max(peak, std::abs(s[n]));
    return peak;
}

double Rms(const std::vector<std::int16_t>& s) {
    double sum = 0.0;
    for (int x : s)
        sum += double(x) * x;
    return std::sqrt(sum / s.size());
}

// Sign changes in the first `count` samples: a pitch measure that needs no transform.
int ZeroCrossings(const std::vector<std::int16_t>& s, std::size_t count) {
    int crossings = 0;
    for (std::size_t n = 1; n < std::min(count, s.size()); ++n)
        if ((s[n - 1] < 0) != (s[n] < 0))
            ++crossings;
    return crossings;
}

TEST(SoundFiles, AreCanonical16BitMono44kPcmThatThePlayerLoads) {
    for (const std::string& name : AllFiles()) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> bytes = Bytes(name);
        const auto image = platform::ParseWaveImage(bytes.data(), bytes.size());
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->channels, 1);
        EXPECT_EQ(image->sampleRate, 44100u);
        EXPECT_EQ(image->bitsPerSample, 16);
        // Canonical: fmt then data right after a 44-byte header, sizes that fill the file.
        EXPECT_EQ(image->data - bytes.data(), 44);
        EXPECT_EQ(image->dataBytes, bytes.size() - 44);
        EXPECT_EQ(
            std::size_t{bytes[4]} | bytes[5] << 8 | bytes[6] << 16 | std::size_t{bytes[7]} << 24,
            bytes.size() - 8);
        EXPECT_EQ(bytes[16], 16) << "fmt chunk size";
    }
}

TEST(ReferenceTone, IsASteady440HzAtMinus6dBFSThatLoopsWithoutASeam) {
    const std::vector<std::int16_t> s = Load("440Hz.wav");
    constexpr std::size_t kPeriod = 2205;  // 22 cycles of 440 Hz
    ASSERT_EQ(s.size() % kPeriod, 0u);
    EXPECT_NEAR(s.size() / 44100.0, 1.0, 0.1);

    // Exact repetition makes the seam identical to every 2205th sample step inside the file.
    for (std::size_t n = kPeriod; n < s.size(); ++n) {
        SCOPED_TRACE(testing::Message() << "sample " << n);
        ASSERT_EQ(s[n], s[n - kPeriod]) << "at sample " << n;
    }
    EXPECT_EQ(s[0], 0);
    EXPECT_GT(s[1], 0);
    EXPECT_EQ(s.back(), -s[1]);

    const int risingZeros = [&] {
        int count = 0;
        for (std::size_t n = 0; n < s.size(); ++n)
            if (s[(n + s.size() - 1) % s.size()] < 0 && s[n] >= 0)
                ++count;
        return count;
    }();
    EXPECT_EQ(risingZeros * 44100u, 440u * s.size());

    EXPECT_NEAR(20 * std::log10(Peak(s) / kFullScale), -6.0, 0.5);
    EXPECT_NEAR(Rms(s), Peak(s) / std::sqrt(2.0), 0.01 * Peak(s));
}

TEST(Clicks, StartOnTheFirstSampleAndDieAwayWithoutClipping) {
    std::vector<std::string> clicks = kAccents;
    clicks.insert(clicks.end(), kRegulars.begin(), kRegulars.end());
    for (const std::string& name : clicks) {
        SCOPED_TRACE(name);
        const std::vector<std::int16_t> s = Load(name);
        ASSERT_GE(s.size(), 25 * kSamplesPerMs);
        ASSERT_LE(s.size(), 80 * kSamplesPerMs);
        const int peak = Peak(s);

        EXPECT_GE(std::abs(s[0]), peak / 20) << "the onset must be the very first sample";
        EXPECT_GE(Peak(s, 0, kSamplesPerMs), peak / 2) << "attack slower than 1 ms";
        EXPECT_LT(Peak(s, s.size() - 2 * kSamplesPerMs), 0.01 * kFullScale);
        EXPECT_EQ(s.back(), 0);
        EXPECT_LE(peak, 0.95 * kFullScale);
    }
}

TEST(Clicks, AccentIsLouderAndHigherThanItsRegularBeat) {
    for (std::size_t i = 0; i < kAccents.size(); ++i) {
        SCOPED_TRACE(kAccents[i] + " vs " + kRegulars[i]);
        const std::vector<std::int16_t> accent = Load(kAccents[i]);
        const std::vector<std::int16_t> regular = Load(kRegulars[i]);

        EXPECT_NEAR(Peak(accent) / kFullScale, 0.9, 0.03);
        EXPECT_LE(Peak(regular) / kFullScale, 0.52);
        EXPECT_GT(Rms(accent), 1.4 * Rms(regular));

        const std::size_t window = 20 * kSamplesPerMs;
        EXPECT_GT(ZeroCrossings(accent, window), 1.2 * ZeroCrossings(regular, window));
    }
}

}  // namespace
}  // namespace sounds_test
