// Every tempo of the scale, in both signature families, clicks exactly on its frame grid for ten
// virtual minutes, with the accent where the measure starts.
#include <gtest/gtest.h>

#include "tests/platform/player/beat_rig.h"

namespace {

using beat_rig::IsAccent;
using beat_rig::Rig;

// Quarter-note periods of the tempo scale's rows (60000 / BPM, rounded) and the one-minute one.
const UINT kPeriods[] = {1500, 1429, 1364, 1304, 1250, 1200, 1154, 1111, 1071, 1034,
                         1000, 952,  909,  870,  833,  789,  750,  714,  682,  652,
                         625,  600,  577,  556,  536,  517,  500,  476,  455,  435,
                         417,  395,  375,  357,  341,  326,  313,  300,  288,  60000};

class ClickGrid : public ::testing::TestWithParam<std::tuple<UINT, bool>> {};

TEST_P(ClickGrid, EveryClickOnTheGridForTenMinutes) {
    const auto [quarterMs, eighths] = GetParam();
    const UINT period = eighths ? quarterMs / 2 : quarterMs;
    Rig rig;
    const auto start = rig.renderer.Onsets().size();
    const UINT id = rig.On(period, 3);
    const std::int64_t tenMinutes = 600'000'000'000;
    // Off half a period after the last tick: clear of the buffer in which the stop lands.
    rig.renderer.Advance(tenMinutes + std::int64_t{period} * 500'000);
    rig.Off(id);
    rig.renderer.Advance(100'000'000);

    const auto& all = rig.renderer.Onsets();
    std::vector<platform::player::Onset> onsets(all.begin() + static_cast<long>(start), all.end());
    const std::size_t expected = 1 + static_cast<std::size_t>((600000 + period / 2) / period);
    ASSERT_EQ(onsets.size(), expected);
    const std::int64_t frames = std::int64_t{period} * 48;
    for (std::size_t i = 0; i < onsets.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "click " << i);
        ASSERT_EQ(onsets[i].frame - onsets[0].frame, static_cast<std::int64_t>(i) * frames)
            << "click " << i;
        ASSERT_EQ(IsAccent(onsets[i]), i % 3 == 0) << "click " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(AllTempos, ClickGrid,
                         ::testing::Combine(::testing::ValuesIn(kPeriods), ::testing::Bool()),
                         [](const auto& info) {
                             return std::to_string(std::get<0>(info.param)) +
                                    (std::get<1>(info.param) ? "ms_eighths" : "ms_quarters");
                         });

}  // namespace
