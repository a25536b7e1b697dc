// The native PipeWire output's arithmetic: the frames each cycle renders, the frame heard at the
// graph's time, and which output the environment chooses.
#include "platform/linux/graph_cycle.h"

#include <gtest/gtest.h>

#include "platform/linux/output_choice.h"

namespace platform::linux_backend {
namespace {

constexpr std::uint32_t kFrameBytes = 8;  // two channels of float

TEST(GraphCycle, RendersWhatTheGraphAsksForAndNeverMoreThanTheBufferHolds) {
    EXPECT_EQ(FramesToFill(256, 8192 * kFrameBytes, kFrameBytes), 256u);
    EXPECT_EQ(FramesToFill(1024, 8192 * kFrameBytes, kFrameBytes), 1024u);
    // A quantum larger than the buffer: what fits, in whole frames.
    EXPECT_EQ(FramesToFill(4096, 1000 * kFrameBytes + 5, kFrameBytes), 1000u);
    // No request (an older server): the whole buffer.
    EXPECT_EQ(FramesToFill(0, 512 * kFrameBytes, kFrameBytes), 512u);
    EXPECT_EQ(FramesToFill(256, 0, kFrameBytes), 0u);
}

TEST(GraphCycle, TheNextFrameIsHeardAfterTheDelayAndWhatIsStillQueued) {
    GraphTime time;
    time.nowNs = 5'000'000'000;
    time.rateNum = 1;
    time.rateDenom = 48000;
    time.delay = 1024;
    const player::StreamReport report = ReportOf(time, 96000, 48000, kFrameBytes, 7);
    EXPECT_EQ(report.nowNs, 5'000'000'000);
    EXPECT_EQ(report.heardFrame, 96000 - 1024);
    EXPECT_TRUE(report.advancing);
    EXPECT_EQ(report.rewritableFrom, -1);  // what the graph took is never written over

    time.queuedBytes = 256 * kFrameBytes;
    time.bufferedFrames = 30;
    EXPECT_EQ(ReportOf(time, 96000, 48000, kFrameBytes, 7).heardFrame, 96000 - 1024 - 256 - 30);
}

TEST(GraphCycle, AGraphAtAnotherRateIsCountedInOurFrames) {
    GraphTime time;
    time.nowNs = 1;
    time.rateNum = 1;
    time.rateDenom = 44100;
    time.delay = 441;  // 10 ms
    EXPECT_EQ(ReportOf(time, 10000, 48000, kFrameBytes, 0).heardFrame, 10000 - 480);
}

TEST(GraphCycle, WithoutTheServersTimeTheStreamStandsAtWhatIsWritten) {
    GraphTime time;  // nothing published yet
    const player::StreamReport report = ReportOf(time, 4096, 48000, kFrameBytes, 123);
    EXPECT_EQ(report.nowNs, 123);
    EXPECT_EQ(report.heardFrame, 4096);
    EXPECT_FALSE(report.advancing);
    time.nowNs = 9;  // a time without a rate is no time either
    EXPECT_FALSE(ReportOf(time, 4096, 48000, kFrameBytes, 123).advancing);
}

TEST(OutputChoice, TheEnvironmentForcesEitherOutputAndAnythingElseLeavesTheChoice) {
    EXPECT_EQ(ChooseOutput("pipewire", OutputKind::kPulse), OutputKind::kPipeWire);
    EXPECT_EQ(ChooseOutput("pulse", OutputKind::kPipeWire), OutputKind::kPulse);
    EXPECT_EQ(ChooseOutput(nullptr, OutputKind::kPipeWire), OutputKind::kPipeWire);
    EXPECT_EQ(ChooseOutput("", OutputKind::kPulse), OutputKind::kPulse);
    EXPECT_EQ(ChooseOutput("PipeWire ", OutputKind::kPulse), OutputKind::kPulse);
}

}  // namespace
}  // namespace platform::linux_backend
