// The server changes its pace under a run: another client joins and leaves, the graph changes its
// quantum, the sink is suspended, the server's latency jumps, its clock runs away from the
// monotonic clock, callbacks and the timer come late. Every interval of a run stays the same
// number of stream frames, and no request comes too late for its frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "tests/platform/player/beat_rig.h"

namespace {

using beat_rig::Rig;
using platform::player::Onset;
using platform::player::PlayerOptions;
using platform::player::StreamModel;
using platform::player::StreamPace;

constexpr std::int64_t kSecond = 1'000'000'000;

// Clicks at periodMs for runNs after the program has been up a while: the onsets of that run.
std::vector<Onset> OnsetsOfOneRun(Rig& rig, UINT periodMs, std::int64_t runNs) {
    rig.renderer.Advance(2 * kSecond);
    const auto start = rig.renderer.Onsets().size();
    const UINT id = rig.On(periodMs);
    rig.renderer.Advance(runNs);
    rig.Off(id);
    rig.renderer.Advance(kSecond);
    const auto& all = rig.renderer.Onsets();
    return {all.begin() + static_cast<long>(start), all.end()};
}

// The intervals that differ from `frames`, as "index:length" for the failure message.
std::string OddIntervals(const std::vector<Onset>& onsets, std::int64_t frames) {
    std::string odd;
    for (std::size_t i = 1; i < onsets.size(); ++i) {
        const std::int64_t interval = onsets[i].frame - onsets[i - 1].frame;
        if (interval != frames && odd.size() < 200)
            odd += std::to_string(i) + ":" + std::to_string(interval) + " ";
    }
    return odd;
}

struct Scenario {
    const char* name;
    StreamModel stream;
    std::int64_t maxWakeDelayNs;  // the timer thread wakes up to this late
    std::size_t clicks;           // in 180 s at 600 ms, the accent included
};

// Listings and failures name the scenario instead of showing its bytes.
void PrintTo(const Scenario& scenario, std::ostream* os) {
    *os << scenario.name << " (" << scenario.stream.ppm << " ppm, "
        << scenario.stream.changes.size() << " changes of pace, timer up to "
        << scenario.maxWakeDelayNs / 1'000'000 << " ms late, " << scenario.clicks << " clicks)";
}

StreamModel Steady(double ppm, double wanderPpm = 0, std::int64_t maxLateNs = 3'000'000) {
    StreamModel s;
    s.ppm = ppm;
    s.wanderPpm = wanderPpm;
    s.wanderPeriodS = 120;
    s.maxLateNs = maxLateNs;
    return s;
}

// Another client with a 5 ms latency plays for 1.5 s every 3 s: the server asks for small
// buffers one at a time while it plays, and keeps less queued.
StreamModel ClientComingAndGoing() {
    StreamModel s = Steady(120);
    for (std::int64_t t = 10 * kSecond; t < 180 * kSecond; t += 3 * kSecond) {
        s.changes.push_back(StreamPace{t, 240, 1, 1440});
        s.changes.push_back(StreamPace{t + 3 * kSecond / 2, 240, 4, 7200});
    }
    return s;
}

// The graph's quantum changes: 1024 frames at a time, then 256, then 2048, each with its phase.
StreamModel QuantumChanges() {
    StreamModel s = Steady(-80);
    s.changes = {StreamPace{40 * kSecond, 1024, 1, 2048}, StreamPace{80 * kSecond, 256, 2, 1536},
                 StreamPace{120 * kSecond, 2048, 1, 6144}};
    return s;
}

// The sink is suspended for 5 s and resumed: the stream stands and goes on where it was.
StreamModel Suspended() {
    StreamModel s = Steady(60);
    s.stallAtNs = 70 * kSecond;
    s.stallNs = 5 * kSecond;
    return s;
}

// A recorder joins: the server's latency jumps from 150 ms to 400 ms, and back when it leaves.
StreamModel LatencyJumps() {
    StreamModel s = Steady(250);
    s.changes = {StreamPace{50 * kSecond, 480, 4, 19200}, StreamPace{110 * kSecond, 240, 4, 7200}};
    return s;
}

class Pace : public ::testing::TestWithParam<Scenario> {};

TEST_P(Pace, EveryIntervalTheSameNumberOfFrames) {
    const Scenario& scenario = GetParam();
    Rig rig({}, scenario.stream);
    if (scenario.maxWakeDelayNs > 0)
        rig.renderer.Timers().SetWakeDelay([&scenario](std::uint64_t tick) {
            return static_cast<std::int64_t>(tick * 7919 % scenario.maxWakeDelayNs);
        });
    const std::vector<Onset> onsets = OnsetsOfOneRun(rig, 600, 180 * kSecond + kSecond / 10);
    EXPECT_EQ(onsets.size(), scenario.clicks);
    EXPECT_EQ(OddIntervals(onsets, 28800), "");
    EXPECT_EQ(rig.renderer.Player().LateRequests(), 0);
    EXPECT_EQ(rig.renderer.Player().Reanchors(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Servers, Pace,
    ::testing::Values(Scenario{"minus250ppm", Steady(-250), 4'000'000, 301},
                      Scenario{"plus250ppm", Steady(250), 4'000'000, 301},
                      Scenario{"plus120ppmWandering", Steady(120, 40), 4'000'000, 301},
                      Scenario{"clientComingAndGoing", ClientComingAndGoing(), 4'000'000, 301},
                      Scenario{"quantumChanges", QuantumChanges(), 4'000'000, 301},
                      Scenario{"suspendedFor5s", Suspended(), 4'000'000, 301 - 9},
                      Scenario{"latencyJumps", LatencyJumps(), 4'000'000, 301},
                      Scenario{"timerWakesLate", Steady(0, 0, 8'000'000), 14'000'000, 301}),
    [](const auto& info) { return std::string(info.param.name); });

// The first click of a run sounds as soon as the server can take it: right after the queued
// frames, in the next buffer that it asks for, whatever the server keeps queued.
TEST(PaceStart, TheFirstClickSoundsRightAfterWhatIsQueued) {
    for (const std::uint32_t fill : {960u, 1440u, 7200u}) {
        StreamModel stream;
        stream.bufferFrames = 480;
        stream.buffersPerBurst = 1;
        stream.fillFrames = fill;
        PlayerOptions options;
        Rig rig(options, stream);
        rig.renderer.Advance(kSecond + 1'234'567);
        const double pressed = rig.renderer.HeardAt(rig.renderer.NowNs());
        const UINT id = rig.On(500);
        rig.renderer.Advance(kSecond);
        rig.Off(id);
        ASSERT_FALSE(rig.renderer.Onsets().empty());
        const double delayMs =
            (static_cast<double>(rig.renderer.Onsets().front().frame) - pressed) / 48;
        EXPECT_GE(delayMs, (fill - stream.bufferFrames) / 48.0) << fill;
        EXPECT_LE(delayMs, fill / 48.0 + 0.05) << fill;
    }
}

// A tick that can reach its frame only late is not held back: an x/8 run at the shortest period
// still lands every click on its frame while the server keeps 400 ms queued.
TEST(PaceStart, ShortPeriodsUnderALongQueue) {
    StreamModel stream;
    stream.bufferFrames = 960;
    stream.fillFrames = 19200;
    Rig rig({}, stream);
    const std::vector<Onset> onsets = OnsetsOfOneRun(rig, 100, 20 * kSecond + kSecond / 20);
    EXPECT_EQ(onsets.size(), 201u);
    EXPECT_EQ(OddIntervals(onsets, 4800), "");
    EXPECT_EQ(rig.renderer.Player().LateRequests(), 0);
}

}  // namespace
