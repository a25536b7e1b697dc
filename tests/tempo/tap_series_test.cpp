// The tap series on its own: the average of its intervals, a pause that starts a new series, the
// 512th interval that starts the average again, and the wrap of the millisecond counter.
#include <gtest/gtest.h>

#include <optional>

#include "tempo/tap_series.h"

namespace {

using namespace tempo;

class TapSeries : public testing::Test {
  protected:
    void SetUp() override { ResetTapTempo(); }
    void TearDown() override { ResetTapTempo(); }
};

TEST_F(TapSeries, ThePeriodIsTheTruncatedAverageOfTheSeriesSoFar) {
    EXPECT_EQ(AddTap(10'000), std::nullopt);  // the first press only starts the series
    EXPECT_EQ(AddTap(10'500), 500);
    EXPECT_EQ(AddTap(11'101), 550);  // (500 + 601) / 2, truncated
    EXPECT_EQ(AddTap(11'501), 500);  // (500 + 601 + 400) / 3
    EXPECT_EQ(g_nTapCount, 3);
}

TEST_F(TapSeries, APauseLongerThanTwoSecondsStartsANewSeries) {
    AddTap(10'000);
    EXPECT_EQ(AddTap(10'300), 300);
    EXPECT_EQ(AddTap(12'301), std::nullopt);  // 2001 ms
    EXPECT_EQ(g_nTapCount, 0);
    EXPECT_EQ(AddTap(14'301), 2000);  // exactly two seconds still counts
}

TEST_F(TapSeries, TheIntervalThatFillsTheLastSlotCountsAlone) {
    DWORD now = 50'000;
    AddTap(now);
    for (int i = 0; i < kTapSlots - 1; ++i)
        AddTap(now += 400);
    EXPECT_EQ(g_nTapCount, kTapSlots - 1);
    EXPECT_EQ(AddTap(now += 1000), 1000);  // not the average of 512 intervals
    EXPECT_EQ(g_nTapCount, 0);
    EXPECT_EQ(AddTap(now += 600), 600);  // the slots are filled again from the first
}

TEST_F(TapSeries, ASeriesContinuesAcrossTheWrapOfTheMillisecondCounter) {
    AddTap(0xFFFF'FF00u);
    EXPECT_EQ(AddTap(0x0000'0100u), 512);
}

}  // namespace
