// A stream whose clock runs away from the monotonic clock, bursty and late callbacks, a timer
// that wakes late: within a run the clicks stay evenly spaced to a frame and the latency stays
// in its band.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/platform/player/beat_rig.h"

namespace {

using beat_rig::Rig;
using platform::player::Onset;
using platform::player::PlayerOptions;
using platform::player::StreamModel;

// The largest distance of an onset from the least-squares line through all of them, in frames.
double Jitter(const std::vector<Onset>& onsets) {
    const double n = static_cast<double>(onsets.size());
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < onsets.size(); ++i) {
        const double x = static_cast<double>(i);
        const double y = static_cast<double>(onsets[i].frame - onsets[0].frame);
        sx += x, sy += y, sxx += x * x, sxy += x * y;
    }
    const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    const double icpt = (sy - slope * sx) / n;
    double worst = 0;
    for (std::size_t i = 0; i < onsets.size(); ++i) {
        const double y = static_cast<double>(onsets[i].frame - onsets[0].frame);
        worst = std::max(worst, std::abs(y - (icpt + slope * static_cast<double>(i))));
    }
    return worst;
}

// Clicks at periodMs for runNs once the filter has measured the stream for 20 s: the onsets of
// that run alone.
std::vector<Onset> OnsetsOfOneRun(Rig& rig, UINT periodMs, std::int64_t runNs) {
    rig.renderer.Advance(20'000'000'000);
    const auto start = rig.renderer.Onsets().size();
    const UINT id = rig.On(periodMs);
    rig.renderer.Advance(runNs);
    rig.Off(id);
    rig.renderer.Advance(200'000'000);
    const auto& all = rig.renderer.Onsets();
    return {all.begin() + static_cast<long>(start), all.end()};
}

struct Stream {
    const char* name;
    double ppm;
    double wanderPpm;  // a sound server's clock that wanders
    std::uint32_t bufferFrames;
    std::uint32_t burst;     // buffers requested at once
    std::int64_t maxLateNs;  // lateness of each burst
    double maxJitter;        // frames from the straight line through all onsets
};

class Drift : public ::testing::TestWithParam<Stream> {};

TEST_P(Drift, IntervalsOneFrameApartAndLatencyInBandForTenMinutes) {
    StreamModel stream;
    stream.ppm = GetParam().ppm;
    stream.wanderPpm = GetParam().wanderPpm;
    stream.wanderPeriodS = 1200;
    stream.bufferFrames = GetParam().bufferFrames;
    stream.buffersPerBurst = GetParam().burst;
    stream.maxLateNs = GetParam().maxLateNs;
    PlayerOptions options;
    Rig rig(options, stream);
    rig.renderer.Timers().SetWakeDelay(
        [](std::uint64_t tick) { return static_cast<std::int64_t>(tick * 7919 % 4'000'000); });
    const std::vector<Onset> onsets = OnsetsOfOneRun(rig, 600, 600'100'000'000);
    ASSERT_EQ(onsets.size(), 1001u);
    std::int64_t shortest = INT64_MAX, longest = 0;
    for (std::size_t i = 1; i < onsets.size(); ++i) {
        shortest = std::min(shortest, onsets[i].frame - onsets[i - 1].frame);
        longest = std::max(longest, onsets[i].frame - onsets[i - 1].frame);
    }
    EXPECT_LE(longest - shortest, 1);
    const auto& stats = rig.renderer.Player().Stats();
    EXPECT_EQ(stats.jumps.load(), 0);
    // Out of the band by a fraction of a frame per tick before a correction can be made.
    EXPECT_GE(stats.minMarginMs.load(), options.latencyMs - options.bandMs - 0.25);
    EXPECT_LE(stats.maxMarginMs.load(), options.latencyMs + options.bandMs + 0.25);
    if (GetParam().wanderPpm == 0) {
        // A run counts at the rate measured when it started; any error in it shows as a drift
        // within the band, held at its edge by single frames.
        EXPECT_LE(Jitter(onsets), GetParam().maxJitter);
        // The tempo follows the monotonic clock as the stream counts it, to within the band.
        const double expected = 28800 * (1 + stream.ppm * 1e-6);
        EXPECT_NEAR(static_cast<double>(onsets.back().frame - onsets[0].frame) / 1000, expected,
                    0.1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    StreamClocks, Drift,
    ::testing::Values(Stream{"minus250ppm", -250, 0, 240, 4, 3'000'000, 2},
                      Stream{"minus60ppm", -60, 0, 240, 4, 3'000'000, 2},
                      Stream{"plus0ppm", 0, 0, 240, 4, 3'000'000, 2},
                      Stream{"plus120ppm", 120, 0, 240, 4, 3'000'000, 2},
                      Stream{"plus250ppm", 250, 0, 240, 4, 3'000'000, 2},
                      // 40 ms at a time, as a server with a longer buffer asks for it: the
                      // rate is measured less exactly.
                      Stream{"plus80ppmLongBursts", 80, 0, 480, 4, 4'000'000, 20},
                      // A rate that swings by 12 ppm, within what a run's two lengths can hold.
                      Stream{"plus120ppmWandering", 120, 12, 240, 4, 3'000'000, 2}),
    [](const auto& info) { return std::string(info.param.name); });

// A run that starts before the filter knows the stream's rate still keeps its latency in band.
TEST(DriftEarly, RunStartedOnAYoungClockStaysInBand) {
    StreamModel stream;
    stream.ppm = 200;
    PlayerOptions options;
    Rig rig(options, stream);
    const UINT id = rig.On(500);
    rig.renderer.Advance(300'000'000'000);
    rig.Off(id);
    const auto& stats = rig.renderer.Player().Stats();
    EXPECT_LE(stats.maxMarginMs.load(), options.latencyMs + options.bandMs + 0.5);
    EXPECT_GE(stats.minMarginMs.load(), options.latencyMs - options.bandMs - 0.5);
}

// The server stalls for 30 ms (an underrun): every later frame sounds 30 ms late. Once the
// filter believes the drop (it could have been a spell of late callbacks), the run takes the
// difference back in one interval and keeps its grid, its rate and its band.
TEST(DriftStall, ARunRecoversItsLatencyAfterTheServerStalls) {
    StreamModel stream;
    stream.stallAtNs = 60'000'000'000;
    stream.stallNs = 30'000'000;
    PlayerOptions options;
    Rig rig(options, stream);
    const std::vector<Onset> onsets = OnsetsOfOneRun(rig, 600, 180'050'000'000);
    ASSERT_EQ(onsets.size(), 301u);
    const auto& stats = rig.renderer.Player().Stats();
    EXPECT_EQ(stats.jumps.load(), 1);
    EXPECT_LE(std::abs(stats.marginMs.load() - options.latencyMs), options.bandMs);
    // One interval takes the 30 ms back; all the others keep the run's grid, the stall as well,
    // since the frames are counted (the server's pause itself is not in them).
    int steps = 0;
    for (std::size_t i = 1; i < onsets.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "interval " << i);
        const std::int64_t interval = onsets[i].frame - onsets[i - 1].frame;
        if (interval == 28800)
            continue;
        ++steps;
        EXPECT_NEAR(interval, 28800 - 30 * 48, 1) << i;
    }
    EXPECT_EQ(steps, 1);
}

}  // namespace
