// The timer callback on its own, ticked by hand against the recording sound player: which sample
// each tick plays, the folding of x/8 signatures and the wrap of the beat counter.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "audio/beat_clock.h"
#include "audio/sample_store.h"
#include "platform/doubles/fake_platform.h"
#include "support/test_waves.h"

namespace {

struct NamedSlot {
    SampleSlot* slot;
    const char* name;
};
const NamedSlot kSlots[] = {
    {&g_pMetronome1, "Metronome1"},
    {&g_pMetronome2, "Metronome2"},
    {&g_pClick1, "Click1"},
    {&g_pClick2, "Click2"},
    {&g_pHat1, "Hat1"},
    {&g_pHat2, "Hat2"},
    {&g_pRim1, "Rim1"},
    {&g_pRim2, "Rim2"},
};

class BeatTimerProcTest : public testing::Test {
  protected:
    void SetUp() override {
        ResetBeatClock();
        const std::vector<std::uint8_t> wave = test_waves::AccentWave();
        for (const NamedSlot& s : kSlots) {
            auto image = std::make_unique<char[]>(wave.size());
            std::memcpy(image.get(), wave.data(), wave.size());
            s.slot->reset(std::move(image), wave.size());
        }
        fake.player.SetNamer([](const char* image) -> std::string {
            for (const NamedSlot& s : kSlots)
                if (s.slot->get() == image)
                    return s.name;
            return "unknown";
        });
    }
    void TearDown() override {
        ClearSampleStore();
        ResetBeatClock();
    }

    // The names of the samples that `ticks` ticks play.
    std::vector<std::string> Tick(int ticks) {
        fake.player.Clear();
        for (int i = 0; i < ticks; ++i)
            BeatTimerProc(1, 0, 0, 0, 0);
        std::vector<std::string> names;
        for (const auto& request : fake.player.Requests())
            names.push_back(request.name);
        return names;
    }

    platform::doubles::FakePlatform fake;
};

using Names = std::vector<std::string>;

TEST_F(BeatTimerProcTest, EachSoundKindPlaysItsAccentOnBeatZeroAndItsRegularClickAfter) {
    const Names expected[] = {
        {"Metronome1", "Metronome2", "Metronome2", "Metronome1"},
        {"Click1", "Click2", "Click2", "Click1"},
        {"Hat1", "Hat2", "Hat2", "Hat1"},
        {"Rim1", "Rim2", "Rim2", "Rim1"},
    };
    for (int kind = 0; kind < kSoundKinds; ++kind) {
        SCOPED_TRACE("sound kind " + std::to_string(kind));
        g_nSoundKind = kind;
        g_nSignature = 2;  // 3/4
        g_nBeatIndex = 0;
        EXPECT_EQ(Tick(4), expected[kind]);
    }
}

TEST_F(BeatTimerProcTest, FoldsAnEighthsSignatureInPlaceAndWrapsTheCounterAtTheMeasureEnd) {
    g_nSignature = 7;  // 2/8
    g_nBeatIndex = 1;  // as On/Off leaves it after the accent
    EXPECT_EQ(Tick(3), (Names{"Metronome2", "Metronome1", "Metronome2"}));
    EXPECT_EQ(g_nSignature.load(), 1);
    EXPECT_EQ(g_nBeatIndex.load(), 2);
}

TEST_F(BeatTimerProcTest, OneBeatMeasuresAreAllAccentsEvenWithACounterBeyondTheMeasure) {
    for (int signature : {0, 6}) {
        SCOPED_TRACE("signature index " + std::to_string(signature));
        g_nSignature = signature;
        g_nBeatIndex = 5;
        EXPECT_EQ(Tick(3), (Names{"Metronome1", "Metronome1", "Metronome1"}));
    }
}

TEST_F(BeatTimerProcTest, AnUnknownSoundKindPlaysNothingAndLeavesTheCounter) {
    for (int kind : {-1, kSoundKinds}) {
        SCOPED_TRACE("sound kind " + std::to_string(kind));
        g_nSoundKind = kind;
        g_nSignature = 3;  // 4/4
        g_nBeatIndex = 2;
        EXPECT_TRUE(Tick(2).empty());
        EXPECT_EQ(g_nBeatIndex.load(), 2);
    }
}

TEST_F(BeatTimerProcTest, AnEmptySlotTicksSilentlyAndStillCounts) {
    g_pMetronome2.reset();
    g_nSignature = 3;
    g_nBeatIndex = 1;
    fake.player.Clear();
    BeatTimerProc(1, 0, 0, 0, 0);
    ASSERT_EQ(fake.player.Requests().size(), 1u);
    EXPECT_EQ(fake.player.Requests()[0].image, nullptr);
    EXPECT_EQ(g_nBeatIndex.load(), 2);
}

}  // namespace
