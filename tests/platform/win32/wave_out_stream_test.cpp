// The Windows output's block queue against a waveOut device in virtual time: every tempo of the
// scale in both signature families on its frame grid for ten minutes, as the player's own grid
// tests demand of it; the same under a device clock that runs away and an output thread that
// wakes late; a lost, stopped or replaced device; and the volume.
#include <gtest/gtest.h>

#include "tests/platform/win32/wave_rig.h"

namespace {

using fake_wave::Model;
using fake_wave::Onset;
using wave_rig::IsAccent;
using wave_rig::kSecond;
using wave_rig::Rig;

// Quarter-note periods of the tempo scale's rows (60000 / BPM, rounded) and the one-minute one.
const UINT kPeriods[] = {1500, 1429, 1364, 1304, 1250, 1200, 1154, 1111, 1071, 1034,
                         1000, 952,  909,  870,  833,  789,  750,  714,  682,  652,
                         625,  600,  577,  556,  536,  517,  500,  476,  455,  435,
                         417,  395,  375,  357,  341,  326,  313,  300,  288,  60000};

// Tick k of a run lies k periods after tick 0, counted in whole frames at 44.1 kHz.
std::int64_t GridFrame(UINT periodMs, std::size_t k) {
    return (static_cast<std::int64_t>(k) * periodMs * 44100 + 500) / 1000;
}

// The onsets of one run of `runNs` at periodMs, with the beats of a 3/4 measure.
std::vector<Onset> OneRun(Rig& rig, UINT periodMs, std::int64_t runNs) {
    const auto start = rig.device.Onsets().size();
    const UINT id = rig.On(periodMs, 3);
    rig.Advance(runNs);
    rig.Off(id);
    rig.Advance(kSecond / 2);
    const auto& all = rig.device.Onsets();
    return {all.begin() + static_cast<long>(start), all.end()};
}

// The clicks that lie off their grid, as "index:offset" for the failure message.
std::string OffGrid(const std::vector<Onset>& onsets, UINT periodMs) {
    std::string odd;
    for (std::size_t i = 0; i < onsets.size() && odd.size() < 200; ++i) {
        const std::int64_t off = onsets[i].frame - onsets[0].frame - GridFrame(periodMs, i);
        if (off != 0 || IsAccent(onsets[i]) != (i % 3 == 0))
            odd +=
                std::to_string(i) + ":" + std::to_string(off) + (IsAccent(onsets[i]) ? "A " : " ");
    }
    return odd;
}

class WaveGrid : public ::testing::TestWithParam<std::tuple<UINT, bool>> {};

TEST_P(WaveGrid, EveryClickOnTheGridForTenMinutes) {
    const auto [quarterMs, eighths] = GetParam();
    const UINT period = eighths ? quarterMs / 2 : quarterMs;
    Rig rig;
    // Off half a period after the last tick of ten minutes: clear of the ticks, which come a
    // little before their time (the timer asks ahead of the frame), and of the stop's block.
    const std::size_t ticks = 600000 / period;
    const std::vector<Onset> onsets =
        OneRun(rig, period,
               (std::int64_t{period} * static_cast<std::int64_t>(ticks) * 2 + period) * 500'000);
    EXPECT_EQ(onsets.size(), 1 + ticks);
    EXPECT_EQ(OffGrid(onsets, period), "");
    EXPECT_EQ(rig.engine.LateRequests(), 0);
    EXPECT_EQ(rig.device.Underruns(), 0);
}

INSTANTIATE_TEST_SUITE_P(AllTempos, WaveGrid,
                         ::testing::Combine(::testing::ValuesIn(kPeriods), ::testing::Bool()),
                         [](const auto& info) {
                             return std::to_string(std::get<0>(info.param)) +
                                    (std::get<1>(info.param) ? "ms_eighths" : "ms_quarters");
                         });

struct Scenario {
    const char* name;
    double ppm;
    std::int64_t positionStepNs;
    std::int64_t maxWakeLateNs;
    std::int64_t maxTickLateNs;
};

class WavePace : public ::testing::TestWithParam<Scenario> {};

// Three minutes at 100 BPM: the device's clock runs away from the monotonic clock, its position
// moves in steps or smoothly, the output's thread and the timer wake late.
TEST_P(WavePace, EveryIntervalTheSameNumberOfFrames) {
    const Scenario& s = GetParam();
    Model model;
    model.ppm = s.ppm;
    model.positionStepNs = s.positionStepNs;
    Rig rig(model);
    rig.maxWakeLateNs = s.maxWakeLateNs;
    if (s.maxTickLateNs > 0)
        rig.timers.SetWakeDelay([&s](std::uint64_t tick) {
            return static_cast<std::int64_t>(tick * 7919 % s.maxTickLateNs);
        });
    const std::vector<Onset> onsets = OneRun(rig, 600, 180 * kSecond + kSecond / 10);
    EXPECT_EQ(onsets.size(), 301u);
    EXPECT_EQ(OffGrid(onsets, 600), "");
    EXPECT_EQ(rig.engine.LateRequests(), 0);
    EXPECT_EQ(rig.device.Underruns(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, WavePace,
    ::testing::Values(Scenario{"minus300ppm", -300, 10'000'000, 0, 0},
                      Scenario{"plus300ppm", 300, 10'000'000, 0, 0},
                      Scenario{"smoothPosition", 100, 0, 0, 0},
                      Scenario{"coarsePosition", -100, 20'000'000, 0, 0},
                      Scenario{"outputWakesLate", 200, 10'000'000, 15'000'000, 0},
                      Scenario{"timerWakesLate", -200, 10'000'000, 4'000'000, 14'000'000}),
    [](const auto& info) { return std::string(info.param.name); });

// The first click sounds right after what is queued.
TEST(WaveStart, TheFirstClickSoundsAfterTheQueue) {
    Rig rig;
    rig.Advance(1'234'567);
    const std::int64_t pressedNs = rig.now;
    const UINT id = rig.On(500);
    rig.Advance(kSecond);
    rig.Off(id);
    ASSERT_FALSE(rig.device.Onsets().empty());
    // The played frames began at the open, 2 ms after it: frame f is heard at open + 2 ms + f.
    const double onsetMs = static_cast<double>(rig.device.Onsets().front().frame) / 44.1 + 2;
    const double pressedMs = static_cast<double>(pressedNs) / 1e6;
    // The blocks queued less the time since the last refill, plus the position's lag and 3 ms.
    const platform::win32::WaveStreamOptions options;
    const double blockMs = options.blockFrames / 44.1;
    const double queueMs = static_cast<double>(options.blocks) * blockMs;
    EXPECT_GE(onsetMs - pressedMs, queueMs - blockMs);
    EXPECT_LE(onsetMs - pressedMs, queueMs + 10 + 3 + 1);
}

// A device that fails (unplugged), one that stops playing without a word, and a new default
// output: the click comes back within two seconds on a new stream, and keeps its grid there.
TEST(WaveDevice, TheClickComesBackWithinTwoSeconds) {
    for (const char* what : {"fails", "stops", "newDefault"}) {
        SCOPED_TRACE(what);
        Model model;
        const std::int64_t at = 13 * kSecond;
        if (std::string(what) == "fails")
            model.failAtNs = at;
        else if (std::string(what) == "stops")
            model.stopAtNs = at;
        else
            model.newDefaultAtNs = at;
        model.backAtNs = at + kSecond / 2;  // the system has a new default output by then
        Rig rig(model);
        const std::vector<Onset> onsets = OneRun(rig, 600, 30 * kSecond + kSecond / 10);
        EXPECT_GE(rig.stream.Reopens(), 1);
        EXPECT_TRUE(rig.stream.Playing());
        // Before the loss: on the grid of the first stream.
        const std::int64_t reopened = rig.device.OpenedAt().back();
        std::size_t i = 0;
        for (; i < onsets.size() && onsets[i].frame < reopened; ++i)
            EXPECT_EQ(onsets[i].frame - onsets[0].frame, GridFrame(600, i)) << i;
        ASSERT_LT(i, onsets.size());
        // After it: back within two seconds of the loss (the new stream's frames follow the old
        // one's in what was played), then on a grid of its own. The first frames of the new
        // stream may hold a tick that fell while no stream ran; the run counts anew after it.
        const std::int64_t lastBefore = i > 0 ? onsets[i - 1].frame : onsets[0].frame;
        EXPECT_LE(onsets[i].frame - lastBefore, GridFrame(600, 1));
        if (onsets[i].frame == reopened && i + 1 < onsets.size())
            ++i;
        const std::size_t first = i;
        for (; i < onsets.size(); ++i)
            EXPECT_EQ(onsets[i].frame - onsets[first].frame, GridFrame(600, i - first)) << i;
        EXPECT_GE(onsets.size() - first, 25u);
    }
}

// The fake device itself: a block comes back at the very nanosecond its last frame is played,
// never before, whatever the clock's rate, for an hour of blocks of an odd size. A device that
// gave one back a nanosecond early kept the test waiting at that moment forever.
TEST(WaveFake, ABlockComesBackWhenItsLastFrameIsPlayed) {
    for (const double ppm : {0.0, -300.0, 300.0, 123.0}) {
        SCOPED_TRACE(ppm);
        Model model;
        model.ppm = ppm;
        std::int64_t now = 0;
        fake_wave::FakeWaveDevice device(model, now);
        ASSERT_TRUE(device.Open(44100, 1, 2));
        const std::vector<std::int16_t> block(1153);
        ASSERT_TRUE(device.Queue(0, block.data(), 1153));
        for (int n = 0; n < 140'000; ++n) {
            ASSERT_TRUE(device.Queue(1 - n % 2, block.data(), 1153));
            const std::int64_t done = device.NextDoneNs();
            now = done - 1;
            ASSERT_FALSE(device.Played(n % 2)) << n;
            now = done;
            ASSERT_TRUE(device.Played(n % 2)) << n;
        }
        EXPECT_EQ(device.Underruns(), 0);
    }
}

// The slider's volume reaches the device at the next service, 10 ms at most; the device's own
// volume is the one read at the open; a new device gets the volume chosen.
TEST(WaveVolume, TheSliderGovernsTheStream) {
    Model model;
    model.failAtNs = 8 * kSecond;
    model.backAtNs = 8 * kSecond + kSecond / 2;
    Rig rig(model);
    EXPECT_EQ(rig.stream.Volume(), 0xFFFFFFFFu);
    rig.stream.SetVolume(0x40004000u);
    const std::int64_t setAt = rig.now;
    rig.Advance(kSecond);
    ASSERT_FALSE(rig.device.VolumeLog().empty());
    EXPECT_EQ(rig.device.VolumeLog().back().volume, 0x40004000u);
    EXPECT_LE(rig.device.VolumeLog().back().ns - setAt, 10'500'000);
    rig.Advance(10 * kSecond);  // lost and opened again
    EXPECT_GE(rig.stream.Reopens(), 1);
    EXPECT_EQ(rig.device.Volume(), 0x40004000u);
    EXPECT_EQ(rig.stream.Volume(), 0x40004000u);
}

// The slider starts from the right channel of the stream's own volume, read when it opens.
TEST(WaveVolume, TheStartVolumeIsTheDevicesOwn) {
    Model model;
    model.volume = 0x1234ABCDu;
    Rig rig(model);
    EXPECT_EQ(rig.stream.Volume(), 0x1234ABCDu);
}

}  // namespace
