// Reading one client out of a stereo mix: the parts of a recording that the churn benchmark and
// test judge, each in the sink's own frames.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "onset_analysis.h"
#include "support/test_waves.h"

namespace {

using onset_analysis::Part;
using onset_analysis::ReadWav;

std::string WriteTemp(const std::vector<std::uint8_t>& image, const char* name) {
    const std::string path = testing::TempDir() + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
    return path;
}

// To a step of 16 bits.
void ExpectNear(const std::vector<float>& got, const std::vector<float>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], 1.0 / 16384) << "sample " << i;
}

TEST(StereoParts, TheLeftLessTheRightIsTheLeftOnlyClientAndTheRightTheOther) {
    // The left-only client clicks at frame 2, the other at frames 1 and 2; a gap in the mix (a
    // period the sink lost) takes the same frames out of both parts.
    const std::vector<float> mix{0.0f, 0.25f, 0.25f, 0.5f, 0.75f, 0.25f, 0.0f, 0.0f};
    const auto path = WriteTemp(test_waves::MakeWave(mix, {48000, 2, 16}), "mix.wav");
    const auto left = ReadWav(path);
    const auto right = ReadWav(path, Part::kSecond);
    const auto leftOnly = ReadWav(path, Part::kFirstLessSecond);
    ASSERT_TRUE(left && right && leftOnly);
    ExpectNear(left->samples, {0.0f, 0.25f, 0.75f, 0.0f});
    ExpectNear(right->samples, {0.25f, 0.5f, 0.25f, 0.0f});
    ExpectNear(leftOnly->samples, {-0.25f, -0.25f, 0.5f, 0.0f});
    std::remove(path.c_str());
}

TEST(StereoParts, AMonoFileHasNoSecondChannelToRead) {
    const auto path = WriteTemp(test_waves::MakeWave({0.5f, 0.25f}), "mono.wav");
    EXPECT_TRUE(ReadWav(path));
    EXPECT_FALSE(ReadWav(path, Part::kSecond));
    EXPECT_FALSE(ReadWav(path, Part::kFirstLessSecond));
    std::remove(path.c_str());
}

TEST(StereoParts, EachClientOfAManyChannelSinkIsReadFromItsOwnChannel) {
    // Three clients, one a channel: frames of (a, b, c).
    const std::vector<float> mix{0.5f, 0.0f, 0.25f, 0.0f, 0.75f, -0.25f};
    const auto path = WriteTemp(test_waves::MakeWave(mix, {48000, 3, 16}), "three.wav");
    const auto first = onset_analysis::ReadWavChannel(path, 0);
    const auto third = onset_analysis::ReadWavChannel(path, 2);
    ASSERT_TRUE(first && third);
    ExpectNear(first->samples, {0.5f, 0.0f});
    ExpectNear(third->samples, {0.25f, -0.25f});
    EXPECT_FALSE(onset_analysis::ReadWavChannel(path, 3));
    std::remove(path.c_str());
}

}  // namespace
