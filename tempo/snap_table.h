// Which row of the tempo scale an average tap interval snaps to in the fixed-scale mode. The
// ranges are fixed data, not computed: most lower bounds lie halfway between two rows' tempos, but
// rows 25 and 26 break that pattern.
#pragma once

#include <array>
#include <cstdint>

#include "tempo/tempo_scale.h"

namespace tempo {

struct SnapRange {
    std::int32_t lowestMs;   // inclusive
    std::int32_t highestMs;  // inclusive
};

// Indexed by tempo-scale row: row 0 (40 BPM) takes the slowest averages.
inline constexpr std::array<SnapRange, kToneRow> kSnapTable = {{
    {1464, 2000}, {1396, 1463}, {1334, 1395}, {1278, 1333}, {1225, 1277}, {1177, 1224},
    {1133, 1176}, {1092, 1132}, {1054, 1091}, {1018, 1053}, {977, 1017},  {931, 976},
    {890, 930},   {852, 889},   {812, 851},   {770, 811},   {733, 769},   {699, 732},
    {668, 698},   {639, 667},   {613, 638},   {589, 612},   {567, 588},   {546, 566},
    {527, 545},   {510, 526},   {490, 509},   {466, 489},   {445, 465},   {427, 444},
    {406, 426},   {386, 405},   {367, 385},   {350, 366},   {334, 349},   {320, 333},
    {307, 319},   {295, 306},   {0, 294},
}};

// The longest interval a tap series accepts.
inline constexpr std::int32_t kLongestTapIntervalMs = 2000;

// The ranges tile 0 to the longest tap interval without gaps or overlaps.
static_assert([] {
    if (kSnapTable.front().highestMs != kLongestTapIntervalMs || kSnapTable.back().lowestMs != 0)
        return false;
    for (std::size_t i = 1; i < kSnapTable.size(); ++i)
        if (kSnapTable[i].highestMs + 1 != kSnapTable[i - 1].lowestMs)
            return false;
    return true;
}());

// The row whose range holds `averageMs`; averages outside 0..2000 go to the nearest end.
constexpr int SnapRow(std::int32_t averageMs) {
    for (std::size_t row = 0; row < kSnapTable.size(); ++row)
        if (averageMs >= kSnapTable[row].lowestMs)
            return static_cast<int>(row);
    return static_cast<int>(kSnapTable.size()) - 1;
}

}  // namespace tempo
