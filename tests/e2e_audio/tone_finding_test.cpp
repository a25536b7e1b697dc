// The analyser's tone finder, on waves made here: the pitch it reads, where a click cuts a tone,
// and that clicks and faint sounds are no tones.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "onset_analysis.h"
#include "support/test_waves.h"

namespace {

using onset_analysis::FindTones;
using onset_analysis::Recording;

constexpr std::uint32_t kRate = 48000;

std::vector<float> Sine(double hz, double seconds, float level = 0.5f) {
    std::vector<float> s(static_cast<std::size_t>(seconds * kRate));
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = level * static_cast<float>(std::sin(
                           2 * std::numbers::pi * hz * static_cast<double>(i) / kRate + 0.3));
    return s;
}

void Append(std::vector<float>& to, const std::vector<float>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

TEST(ToneFinding, ReadsThePitchOfASteadyToneToAHundredthOfAHertz) {
    for (double hz : {440.0, 441.0, 1234.5}) {
        SCOPED_TRACE(testing::Message() << hz << " Hz");
        Recording rec{kRate, std::vector<float>(kRate / 10)};  // silence first
        Append(rec.samples, Sine(hz, 1.0));
        const auto tones = FindTones(rec);
        ASSERT_EQ(tones.size(), 1u) << hz;
        EXPECT_NEAR(tones[0].frequency, hz, 0.01);
        EXPECT_NEAR(tones[0].start, kRate / 10, kRate / hz);
        EXPECT_NEAR(tones[0].end, kRate * 1.1, kRate / hz);
    }
}

TEST(ToneFinding, AClickEndsAToneAndIsHeardAfterIt) {
    Recording rec{kRate, Sine(440, 0.5)};
    Append(rec.samples, test_waves::Click(0.9f, 30, kRate));
    Append(rec.samples, std::vector<float>(kRate / 2));
    Append(rec.samples, Sine(440, 0.5));
    Append(rec.samples, std::vector<float>(kRate / 10));
    const auto tones = FindTones(rec);
    ASSERT_EQ(tones.size(), 2u);
    EXPECT_NEAR(tones[0].end, kRate * 0.5, kRate / 440.0);
    EXPECT_NEAR(tones[1].start, kRate * 1.03, kRate / 440.0);
    EXPECT_NEAR(tones[0].peak, 0.5f, 0.01f);
    EXPECT_GT(tones[0].after, 0.5f);  // the click, decaying
    EXPECT_EQ(tones[1].after, 0.0f);  // silence
}

TEST(ToneFinding, ClicksAndFaintOrShortTonesAreNoTones) {
    Recording rec{kRate, {}};
    for (int i = 0; i < 10; ++i) {
        Append(rec.samples, test_waves::Click(i % 2 ? 0.45f : 0.9f, 30, kRate));
        Append(rec.samples, std::vector<float>(kRate / 5));
    }
    Append(rec.samples, Sine(440, 1.0, 0.01f));  // below the threshold
    Append(rec.samples, std::vector<float>(100));
    Append(rec.samples, Sine(440, 0.05));
    EXPECT_TRUE(FindTones(rec).empty());
}

}  // namespace
